#include "UploadResultTab.h"

#include "ClockOpState.h"
#include "ClockUpload.h"
#include "ErrorHandler.h"
#include "Formats.h"
#include "RaceReports.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "ui_UploadResultTab.h"

#include <QApplication>
#include <QTimer>

UploadResultTab::UploadResultTab(QWidget* parent)
    : ClockOpTab(parent), ui_(std::make_unique<Ui::UploadResultTab>()), adoqTimerResult_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqTimerResult_->setObjectName(QStringLiteral("adoqTimerResult"));
    makePollTimer("ClockUPLTimer1", [this] { return ClockUPLTimer1Timer(); });
    connect(ui_->cbbTimer_UPL, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbTimer_UPLClick(); }); });
    onEnter(ui_->cbbTimer_UPL, [this] { cbbTimer_UPLClick(); });
    connect(ui_->btnPrint, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnPrintClick(); }); });
}

UploadResultTab::~UploadResultTab() = default;

void UploadResultTab::attached() { prepareGrid(ui_->dbgrdTimerUPL, adoqTimerResult_); }

void UploadResultTab::fillList()
{
    fillChoices(ui_->cbbTimer_UPL, ClockOp::raceList(dm()));
}

void UploadResultTab::cbbTimer_UPLClick()
{
    showResults(chooseClockRace(dm(), state(), ui_->cbbTimer_UPL->currentText()), true);
    pollTimer()->start();
}

bool UploadResultTab::ClockUPLTimer1Timer()
{
    ClockOpState& s = state();
    const ClockOnLink clock = clockOnLink(s);
    ClockUpload::ClockOnPort onPort;
    ClockUpload::PollResult found = ClockUpload::PollResult::AlreadyRead;
    try {
        found = ClockUpload::pollClock(clock.library, clock.link, s.raceCode, s.currentLoftNo, s.lastClockLoft, clockSiteText(),
                                       onPort, messageBoxes());
    } catch (const ClockUpload::CurrentRaceError& e) {
        // The clock counts as read; the next one may be put on the port.
        showError(this, e.text());
        return true;
    }
    if (found == ClockUpload::PollResult::AlreadyRead)
        return true;
    if (found == ClockUpload::PollResult::OtherRace)
        return false;

    // The timer is stopped while the clock is read; it stays stopped until the race is chosen again.
    keepClockValues(onPort.identity, onPort.raceAuth, onPort.clockNo);
    s.clockRaceNo.fill('\0');
    std::copy_n(onPort.raceNo.cbegin(), std::min<qsizetype>(onPort.raceNo.size(), 8), s.clockRaceNo.begin());
    const ClockRace race = chosenClockRace(dm(), s);
    ClockUpload::ClockReading reading;
    const bool read = ClockUpload::ReadClockRecords(clock.library, clock.link, onPort,
                                                    Formats::asMoment(QDateTime::currentDateTime()), reading, messageBoxes());
    if (!reading.clockNo.isEmpty())
        clockIdText() = reading.clockNo;
    if (read)
        ClockUpload::ApplyClockRecords(dm(), race, s.currentLoftNo, reading, messageBoxes());
    showResults(race, false);
    QApplication::beep();

    RowSetModel arrivals;
    ClockUpload::loadRaceListRows(dm(), race, s.currentLoftNo, arrivals);
    produceReport(this, RaceReports::raceList(dm(), ClockOp::raceCodeOfChoice(ui_->cbbTimer_UPL->currentText()), clockSiteText(),
                                              clockIdText(), arrivals));
    ui_->lblTimerRseultSum->setText(ClockUpload::uploadSummary(dm(), race));
    return false;
}

void UploadResultTab::btnPrintClick()
{
    stopPollTimer();
    const ClockRace race = chosenClockRace(dm(), state());
    RowSetModel ranks;
    QSqlQuery query = ClockUpload::rankRows(dm(), race);
    ranks.setQueryResult(query);
    produceReport(this, RaceReports::rankReport(dm(), ui_->cbbTimer_UPL->currentText(), race.liberCode, ranks, *adoqTimerResult_));
}

void UploadResultTab::showResults(const ClockRace& race, bool byArrival)
{
    QSqlQuery query = ClockUpload::timerResult(dm(), race, byArrival);
    showRows(ui_->dbgrdTimerUPL, adoqTimerResult_, query, ClockUpload::resultGridColumns(), false);
}
