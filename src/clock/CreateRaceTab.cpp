#include "CreateRaceTab.h"

#include "ClockOpState.h"
#include "ClockProgramming.h"
#include "ErrorHandler.h"
#include "Formats.h"
#include "RaceReports.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "ui_CreateRaceTab.h"

#include <QApplication>

CreateRaceTab::CreateRaceTab(QWidget* parent)
    : ClockOpTab(parent), ui_(std::make_unique<Ui::CreateRaceTab>()), adoqCrtRace_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqCrtRace_->setObjectName(QStringLiteral("adoqCrtRace"));
    connect(ui_->cbbRaceCode_DLR, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbRaceCode_DLRClick(); }); });
    onEnter(ui_->cbbRaceCode_DLR, [this] { cbbRaceCode_DLRClick(); });
    connect(ui_->CbbLoftNo_DLR, &QComboBox::activated, this, [this] { guarded(this, [this] { CbbLoftNo_DLRClick(); }); });
    onEnter(ui_->CbbLoftNo_DLR, [this] { CbbLoftNo_DLRClick(); });
}

CreateRaceTab::~CreateRaceTab() = default;

void CreateRaceTab::attached() { prepareGrid(ui_->dbgrdCrtRace, adoqCrtRace_); }

void CreateRaceTab::fillList()
{
    fillChoices(ui_->cbbRaceCode_DLR, ClockOp::raceList(dm()));
}

void CreateRaceTab::cbbRaceCode_DLRClick()
{
    const ClockRace race = chooseClockRace(dm(), state(), ui_->cbbRaceCode_DLR->currentText());
    fillChoices(ui_->CbbLoftNo_DLR, ClockProgramming::raceMemberNames(dm(), race));
}

void CreateRaceTab::CbbLoftNo_DLRClick()
{
    // A name that no member has programs nobody's clock (not the member chosen before).
    const std::optional<QString> loftNo = ClockOp::loftNoOfName(dm(), ui_->CbbLoftNo_DLR->currentText());
    if (!loftNo)
        return;
    ClockOpState& s = state();
    s.currentLoftNo = *loftNo;
    const ClockRace race = chosenClockRace(dm(), s);
    showPigeons(race, true);

    const ClockOnLink clock = clockOnLink(s);
    const ClockProgramming::ProgrammedClock programmed =
        ClockProgramming::ProgramRace(clock.library, clock.link, dm(), race, s.currentLoftNo, *adoqCrtRace_,
                                      Formats::asMoment(QDateTime::currentDateTime()), messageBoxes());
    keepClockValues(programmed.identity, programmed.raceAuth, programmed.clockNo);
    clockIdText() = programmed.clockNo;
    QApplication::beep();
    ClockProgramming::RecordClockSync(dm(), s.currentLoftNo, programmed.clockNo, programmed.confirmedAt);
    showPigeons(race, false);

    produceReport(this, RaceReports::raceEntry(dm(), ClockOp::raceCodeOfChoice(ui_->cbbRaceCode_DLR->currentText()),
                                               ui_->CbbLoftNo_DLR->currentText(), clockIdText(), *adoqCrtRace_));
}

void CreateRaceTab::showPigeons(const ClockRace& race, bool ordered)
{
    QSqlQuery query = ClockProgramming::racePigeons(dm(), race, state().currentLoftNo, ordered);
    showRows(ui_->dbgrdCrtRace, adoqCrtRace_, query, ClockProgramming::raceGridColumns(), false);
}
