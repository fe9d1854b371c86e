#include "UploadResultTab.h"

#include "ui_UploadResultTab.h"

UploadResultTab::UploadResultTab(QWidget* parent) : ClockOpTab(parent), ui_(std::make_unique<Ui::UploadResultTab>()) { ui_->setupUi(this); }

UploadResultTab::~UploadResultTab() = default;

void UploadResultTab::fillList()
{
    fillChoices(ui_->cbbTimer_UPL, ClockOp::raceList(dm()));
}
