#include "CreateRaceTab.h"

#include "ui_CreateRaceTab.h"

CreateRaceTab::CreateRaceTab(QWidget* parent) : ClockOpTab(parent), ui_(std::make_unique<Ui::CreateRaceTab>()) { ui_->setupUi(this); }

CreateRaceTab::~CreateRaceTab() = default;

void CreateRaceTab::fillList()
{
    fillChoices(ui_->cbbRaceCode_DLR, ClockOp::raceList(dm()));
}
