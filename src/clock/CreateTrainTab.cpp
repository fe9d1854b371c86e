#include "CreateTrainTab.h"

#include "ClockOpState.h"
#include "ClockProgramming.h"
#include "ErrorHandler.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "ui_CreateTrainTab.h"

#include <QApplication>

CreateTrainTab::CreateTrainTab(QWidget* parent)
    : ClockOpTab(parent), ui_(std::make_unique<Ui::CreateTrainTab>()), adoqCrtTrain_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqCrtTrain_->setObjectName(QStringLiteral("adoqCrtTrain"));
    connect(ui_->cbbLoftNo_DLT, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbLoftNo_DLTClick(); }); });
    onEnter(ui_->cbbLoftNo_DLT, [this] { cbbLoftNo_DLTClick(); });
}

CreateTrainTab::~CreateTrainTab() = default;

void CreateTrainTab::attached() { prepareGrid(ui_->dbgrdCrtTrain, adoqCrtTrain_); }

void CreateTrainTab::fillList()
{
    fillChoices(ui_->cbbLoftNo_DLT, ClockOp::memberNames(dm()));
}

void CreateTrainTab::cbbLoftNo_DLTClick()
{
    const std::optional<QString> loftNo = ClockOp::loftNoOfName(dm(), ui_->cbbLoftNo_DLT->currentText());
    if (!loftNo)
        return;
    ClockOpState& s = state();
    s.currentLoftNo = *loftNo;
    showPigeons(true);

    const ClockOnLink clock = clockOnLink(s);
    const QDateTime now = Formats::asMoment(QDateTime::currentDateTime());
    const ClockProgramming::ProgrammedClock programmed = ClockProgramming::ProgramTraining(
        clock.library, clock.link, dm(), s.currentLoftNo, *adoqCrtTrain_, now, messageBoxes());
    keepClockValues(programmed.identity, programmed.raceAuth, programmed.clockNo);
    QApplication::beep();
    ClockProgramming::RecordClockSync(dm(), s.currentLoftNo, programmed.clockNo, now);
    showPigeons(false);
}

void CreateTrainTab::showPigeons(bool ordered)
{
    QSqlQuery query = ClockProgramming::trainingPigeons(dm(), state().currentLoftNo, ordered);
    showRows(ui_->dbgrdCrtTrain, adoqCrtTrain_, query, ClockProgramming::trainingGridColumns(), false);
}
