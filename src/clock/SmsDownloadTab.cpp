#include "SmsDownloadTab.h"

#include "ui_SmsDownloadTab.h"

SmsDownloadTab::SmsDownloadTab(QWidget* parent) : ClockOpTab(parent), ui_(std::make_unique<Ui::SmsDownloadTab>()) { ui_->setupUi(this); }

SmsDownloadTab::~SmsDownloadTab() = default;

void SmsDownloadTab::fillList()
{
    fillChoices(ui_->cbbRaceCodeSMSV6, ClockOp::raceList(dm()));
}
