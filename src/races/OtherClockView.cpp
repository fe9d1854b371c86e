#include "OtherClockView.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FlightTime.h"
#include "Formats.h"
#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "ui_OtherClockView.h"

namespace {

// The moment a date picker and a time picker show together, to the second; CorvelError when the
// date typed is no date.
QDateTime momentOf(DatePicker* date, const QTimeEdit* time)
{
    return Formats::toWholeSecond(Formats::moment(date->enteredDate(), time->time()));
}

void showMoment(QDateEdit* date, QTimeEdit* time, const QDateTime& moment)
{
    if (!moment.isValid())
        return;
    date->setDate(moment.date());
    time->setTime(moment.time());
}

int findRing(const QComboBox* rings, const QString& ringNo)
{
    return rings->findText(ringNo, Qt::MatchFixedString | Qt::MatchCaseSensitive);
}

}  // namespace

OtherClockView::OtherClockView(TdmZAVR& dm, QString* sortText, QString* chosenLoftNo, QWidget* parent)
    : QWidget(parent), dm_(dm), chosenLoftNo_(chosenLoftNo), ui_(std::make_unique<Ui::OtherClockView>()),
      adoqOtherClock_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqOtherClock_->setObjectName(QStringLiteral("adoqOtherClock"));
    adoqOtherClock_->setColumns(OtherClock::arrivalColumns());
    setUpReadOnlyGrid(ui_->dbgrdOtherClock, adoqOtherClock_);
    enableTitleSort(ui_->dbgrdOtherClock, adoqOtherClock_, sortText);

    connectGuarded(ui_->cbbLoftNo_OtherClock, &QComboBox::activated, this, &OtherClockView::cbbLoftNo_OtherClockChange);
    connectGuarded(ui_->edtSearch, &QLineEdit::editingFinished, this, &OtherClockView::edtSearchExit);
    connectGuarded(ui_->cbbSelPigNo, &QComboBox::activated, this, &OtherClockView::cbbSelPigNoChange);
    connectGuarded(ui_->dbgrdOtherClock, &QTableView::clicked, this, &OtherClockView::dbgrdOtherClockCellClick);
    connectGuarded(ui_->btnOtherClock_New, &QPushButton::clicked, this, &OtherClockView::btnOtherClock_NewClick);
    connectGuarded(ui_->btnOtherClock_Save, &QPushButton::clicked, this, &OtherClockView::btnOtherClock_SaveClick);
}

OtherClockView::~OtherClockView() = default;

void OtherClockView::open(const ListedRace& race)
{
    const std::optional<StoredRace> stored = findStoredRace(dm_, race.key);
    if (!stored)
        throw CorvelError(QStringLiteral("The race is no longer stored. Choose it again from the race list."));
    OtherClock::Race chosen;
    chosen.clubId = stored->clubId;
    chosen.liberCode = stored->liberCode;
    chosen.liberDate = stored->liberDate;
    chosen.liberation = FlightTime::liberationMoment(Formats::toDbDate(stored->liberDate), stored->liberTime);
    chosen.raceCode = stored->raceCode.isEmpty() ? RaceCode(stored->liberCode, stored->liberDate) : stored->raceCode;
    race_ = chosen;

    ui_->lblAddOtherClockTitle->setText(QStringLiteral("Add/Edit Other Clock     ") + race.key.liberCode
                                        + QStringLiteral("    ") + race.liberSiteAbbr + QStringLiteral("    ")
                                        + Formats::shortDate(race.key.liberDate));
    ui_->cbbLoftNo_OtherClock->clear();
    for (const OtherClock::Member& member : OtherClock::members(dm_))
        ui_->cbbLoftNo_OtherClock->addItem(member.loftName, member.loftNo);
    ui_->cbbLoftNo_OtherClock->setCurrentIndex(-1);
    ui_->cbbSelPigNo->clear();
    adoqOtherClock_->clear();

    // The member chosen last time stays chosen, so what is shown is what "Save" writes for.
    const int remembered = ui_->cbbLoftNo_OtherClock->findData(*chosenLoftNo_);
    if (!chosenLoftNo_->isEmpty() && remembered >= 0) {
        ui_->cbbLoftNo_OtherClock->setCurrentIndex(remembered);
        loadMember(*chosenLoftNo_);
    } else {
        chosenLoftNo_->clear();
    }
}

void OtherClockView::cbbLoftNo_OtherClockChange()
{
    const QString loftNo = ui_->cbbLoftNo_OtherClock->currentData().toString();
    if (loftNo.isEmpty())
        return;
    *chosenLoftNo_ = loftNo;
    loadMember(loftNo);
    ui_->dtpMarkedDate->setFocus();
}

void OtherClockView::loadMember(const QString& loftNo)
{
    if (!race_)
        return;
    fillRingChoice(QString());
    if (const auto times = OtherClock::storedClockTimes(dm_, *race_, loftNo)) {
        showMoment(ui_->dtpMarkedDate, ui_->dtpMarkedTime, times->marked);
        showMoment(ui_->dtpMasterDate, ui_->dtpMasterTime, times->master);
        showMoment(ui_->dtpMemberDate, ui_->dtpMemberTime, times->member);
    }
    reloadGrid();
}

void OtherClockView::fillRingChoice(const QString& ending)
{
    ui_->cbbSelPigNo->clear();
    if (chosenLoftNo_->isEmpty())
        return;
    ui_->cbbSelPigNo->addItems(OtherClock::memberRings(dm_, *chosenLoftNo_, ending));
    ui_->cbbSelPigNo->setCurrentIndex(-1);
}

void OtherClockView::reloadGrid()
{
    if (!race_ || chosenLoftNo_->isEmpty()) {
        adoqOtherClock_->clear();
        return;
    }
    adoqOtherClock_->applySort(QString());  // a re-run query comes in the statement's own order
    OtherClock::loadMemberArrivals(dm_, *race_, *chosenLoftNo_, *adoqOtherClock_);
    ui_->dbgrdOtherClock->resizeColumnsToContents();
}

void OtherClockView::edtSearchExit()
{
    fillRingChoice(ui_->edtSearch->text());
}

void OtherClockView::showArrivalOf(const QString& ringNo)
{
    if (!race_ || ringNo.isEmpty())
        return;
    const std::optional<QDateTime> arrival = OtherClock::storedArrival(dm_, *race_, ringNo);
    if (arrival) {
        showMoment(ui_->dtpSelPigDate, ui_->dtpSelPigTime, *arrival);
    } else {
        ui_->dtpSelPigDate->setDate(QDate::currentDate());
        ui_->dtpSelPigTime->setTime(QTime(0, 0));
    }
}

void OtherClockView::cbbSelPigNoChange()
{
    showArrivalOf(ui_->cbbSelPigNo->currentText());
}

void OtherClockView::dbgrdOtherClockCellClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const QString ringNo = adoqOtherClock_->value(index.row(), QStringLiteral("PRingNo")).toString();
    // The ring may be outside the list a search left behind.
    if (findRing(ui_->cbbSelPigNo, ringNo) < 0)
        fillRingChoice(QString());
    ui_->cbbSelPigNo->setCurrentIndex(findRing(ui_->cbbSelPigNo, ringNo));
    showArrivalOf(ringNo);
}

void OtherClockView::btnOtherClock_NewClick()
{
    ui_->edtSearch->setFocus();
}

void OtherClockView::btnOtherClock_SaveClick()
{
    if (!race_)
        throw CorvelError(QStringLiteral("Choose a race in the race list first."));
    const OtherClock::ClockTimes times{momentOf(ui_->dtpMarkedDate, ui_->dtpMarkedTime),
                                       momentOf(ui_->dtpMasterDate, ui_->dtpMasterTime),
                                       momentOf(ui_->dtpMemberDate, ui_->dtpMemberTime)};
    const QString ringNo = ui_->cbbSelPigNo->currentText();
    const QDateTime arrival = momentOf(ui_->dtpSelPigDate, ui_->dtpSelPigTime);
    // An arrival before the liberation is a mistyped day or time as a rule: saved only when meant.
    if (!chosenLoftNo_->isEmpty() && !ringNo.isEmpty() && OtherClock::arrivesBeforeLiberation(arrival, race_->liberation)
        && Dialogs::question(this, OtherClock::arrivalBeforeLiberationQuestion(arrival, race_->liberation)) != QMessageBox::Yes)
        return;
    OtherClock::saveArrival(dm_, *race_, *chosenLoftNo_, ringNo, times, arrival);
    reloadGrid();
    selectRow(ui_->dbgrdOtherClock, adoqOtherClock_->findRow(QStringLiteral("PRingNo"), ringNo));
}
