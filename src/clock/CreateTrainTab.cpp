#include "CreateTrainTab.h"

#include "ui_CreateTrainTab.h"

CreateTrainTab::CreateTrainTab(QWidget* parent) : ClockOpTab(parent), ui_(std::make_unique<Ui::CreateTrainTab>()) { ui_->setupUi(this); }

CreateTrainTab::~CreateTrainTab() = default;

void CreateTrainTab::fillList()
{
    fillChoices(ui_->cbbLoftNo_DLT, ClockOp::memberNames(dm()));
}
