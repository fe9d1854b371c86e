// The Races page's views over one race: the arrivals typed in from other clocks, the status and
// the ranked result, with their prints and the result export; and the prints of the race list and
// the Distance view.

#include "TfrmRace.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FlightTime.h"
#include "Formats.h"
#include "ListReports.h"
#include "LoftDistModel.h"
#include "RacePageWidgets.h"
#include "RaceResults.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

using RacePageWidgets::button;

namespace {

QDateEdit* datePicker(QWidget* parent, const char* name)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::ShortDatePattern)));
    edit->setCalendarPopup(true);
    edit->setDate(QDate::currentDate());
    return edit;
}

QTimeEdit* timePicker(QWidget* parent, const char* name)
{
    auto* edit = new QTimeEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::LongTimePattern)));
    edit->setTime(QTime(0, 0));
    return edit;
}

QLabel* label(QWidget* parent, const char* name, bool bold = false)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    if (bold) {
        QFont font = l->font();
        font.setBold(true);
        l->setFont(font);
    }
    return l;
}

// The moment a date picker and a time picker show together, to the second.
QDateTime momentOf(const QDateEdit* date, const QTimeEdit* time)
{
    return Formats::toWholeSecond(Formats::moment(date->date(), time->time()));
}

void showMoment(QDateEdit* date, QTimeEdit* time, const QDateTime& moment)
{
    if (!moment.isValid())
        return;
    date->setDate(moment.date());
    time->setTime(moment.time());
}

}  // namespace

// ---- Other-clock view ----

void TfrmRace::buildOtherClockView(QWidget* view)
{
    auto* layout = new QVBoxLayout(view);
    lblAddOtherClockTitle_ = label(view, "lblAddOtherClockTitle", true);
    layout->addWidget(lblAddOtherClockTitle_);

    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);

    auto* memberRow = new QFormLayout;
    cbbLoftNo_OtherClock_ = new QComboBox(view);
    cbbLoftNo_OtherClock_->setObjectName(QStringLiteral("cbbLoftNo_OtherClock"));
    cbbLoftNo_OtherClock_->setMinimumContentsLength(20);
    memberRow->addRow(QStringLiteral("Member :"), cbbLoftNo_OtherClock_);
    left->addLayout(memberRow);

    auto* clockSetting = new QGroupBox(QStringLiteral("Clock Setting"), view);
    clockSetting->setObjectName(QStringLiteral("grpClockSetting"));
    auto* clockGrid = new QGridLayout(clockSetting);
    dtpMarkedDate_ = datePicker(clockSetting, "dtpMarkedDate");
    dtpMarkedTime_ = timePicker(clockSetting, "dtpMarkedTime");
    dtpMasterDate_ = datePicker(clockSetting, "dtpMasterDate");
    dtpMasterTime_ = timePicker(clockSetting, "dtpMasterTime");
    dtpMemberDate_ = datePicker(clockSetting, "dtpMemberDate");
    dtpMemberTime_ = timePicker(clockSetting, "dtpMemberTime");
    const QList<std::tuple<QString, QDateEdit*, QTimeEdit*>> clockRows = {
        {QStringLiteral("Marked set :"), dtpMarkedDate_, dtpMarkedTime_},
        {QStringLiteral("Master check :"), dtpMasterDate_, dtpMasterTime_},
        {QStringLiteral("Member check :"), dtpMemberDate_, dtpMemberTime_}};
    for (int r = 0; r < clockRows.size(); ++r) {
        const auto& [caption, date, time] = clockRows.at(r);
        clockGrid->addWidget(new QLabel(caption, clockSetting), r, 0);
        clockGrid->addWidget(date, r, 1);
        clockGrid->addWidget(time, r, 2);
    }
    left->addWidget(clockSetting);

    auto* arrival = new QGroupBox(QStringLiteral("Arrival"), view);
    arrival->setObjectName(QStringLiteral("grpArrival"));
    auto* arrivalGrid = new QGridLayout(arrival);
    edtSearch_ = new QLineEdit(arrival);
    edtSearch_->setObjectName(QStringLiteral("edtSearch"));
    edtSearch_->setMaxLength(20);
    cbbSelPigNo_ = new QComboBox(arrival);
    cbbSelPigNo_->setObjectName(QStringLiteral("cbbSelPigNo"));
    cbbSelPigNo_->setMinimumContentsLength(16);
    dtpSelPigDate_ = datePicker(arrival, "dtpSelPigDate");
    dtpSelPigTime_ = timePicker(arrival, "dtpSelPigTime");
    arrivalGrid->addWidget(new QLabel(QStringLiteral("Search"), arrival), 0, 0);
    arrivalGrid->addWidget(edtSearch_, 0, 1);
    arrivalGrid->addWidget(new QLabel(QStringLiteral("Select"), arrival), 1, 0);
    arrivalGrid->addWidget(cbbSelPigNo_, 1, 1);
    arrivalGrid->addWidget(new QLabel(QStringLiteral("Date"), arrival), 2, 0);
    arrivalGrid->addWidget(dtpSelPigDate_, 2, 1);
    arrivalGrid->addWidget(new QLabel(QStringLiteral("Time"), arrival), 3, 0);
    arrivalGrid->addWidget(dtpSelPigTime_, 3, 1);
    left->addWidget(arrival);

    auto* buttons = new QHBoxLayout;
    QPushButton* btnNew = button(view, "btnOtherClock_New", QStringLiteral("AddNew"));
    QPushButton* btnSave = button(view, "btnOtherClock_Save", QStringLiteral("Save"));
    buttons->addWidget(btnNew);
    buttons->addWidget(btnSave);
    buttons->addStretch(1);
    left->addLayout(buttons);
    left->addStretch(1);

    adoqOtherClock_ = new RowSetModel(this);
    adoqOtherClock_->setObjectName(QStringLiteral("adoqOtherClock"));
    adoqOtherClock_->setTitle(QStringLiteral("PRingNo"), QStringLiteral("Ring "));
    adoqOtherClock_->setTitle(QStringLiteral("BackTime"), QStringLiteral("Time"));
    dbgrdOtherClock_ = makeReadOnlyGrid(view, QStringLiteral("dbgrdOtherClock"), adoqOtherClock_);
    enableTitleSort(dbgrdOtherClock_, adoqOtherClock_, &sortOrder());
    columns->addWidget(dbgrdOtherClock_, 1);

    connect(cbbLoftNo_OtherClock_, &QComboBox::activated, this, &TfrmRace::cbbLoftNo_OtherClockChange);
    connect(edtSearch_, &QLineEdit::editingFinished, this, &TfrmRace::edtSearchExit);
    connect(cbbSelPigNo_, &QComboBox::activated, this, &TfrmRace::cbbSelPigNoChange);
    connect(dbgrdOtherClock_, &QTableView::clicked, this, &TfrmRace::dbgrdOtherClockCellClick);
    connect(btnNew, &QPushButton::clicked, this, &TfrmRace::btnOtherClock_NewClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmRace::btnOtherClock_SaveClick);
}

void TfrmRace::openOtherClockView()
{
    guarded(this, [this] {
        const SelectedRace race = requireSelectedRace();
        const std::optional<StoredRace> stored = findStoredRace(dm_, race.key);
        if (!stored)
            throw CorvelError(QStringLiteral("The race is no longer stored. Choose it again from the race list."));
        OtherClock::Race chosen;
        chosen.clubId = stored->clubId;
        chosen.liberCode = stored->liberCode;
        chosen.liberDate = stored->liberDate;
        chosen.liberation = FlightTime::liberationMoment(Formats::toDbDate(stored->liberDate), stored->liberTime);
        chosen.raceCode = stored->raceCode.isEmpty() ? RaceCode(stored->liberCode, stored->liberDate) : stored->raceCode;
        otherClockRace_ = chosen;

        lblAddOtherClockTitle_->setText(QStringLiteral("Add/Edit Other Clock     ") + race.key.liberCode
                                        + QStringLiteral("    ") + race.liberSiteAbbr + QStringLiteral("    ")
                                        + Formats::shortDate(race.key.liberDate));
        cbbLoftNo_OtherClock_->clear();
        for (const OtherClock::Member& member : OtherClock::members(dm_))
            cbbLoftNo_OtherClock_->addItem(member.loftName, member.loftNo);
        cbbLoftNo_OtherClock_->setCurrentIndex(-1);
        cbbSelPigNo_->clear();
        adoqOtherClock_->clear();
        showOnly(pnlOtherClosk_);

        // The member chosen last time stays chosen, so what is shown is what "Save" writes for.
        const int remembered = cbbLoftNo_OtherClock_->findData(otherClockLoftNo());
        if (!otherClockLoftNo().isEmpty() && remembered >= 0) {
            cbbLoftNo_OtherClock_->setCurrentIndex(remembered);
            loadOtherClockMember(otherClockLoftNo());
        } else {
            otherClockLoftNo().clear();
        }
    });
}

void TfrmRace::cbbLoftNo_OtherClockChange()
{
    guarded(this, [this] {
        const QString loftNo = cbbLoftNo_OtherClock_->currentData().toString();
        if (loftNo.isEmpty())
            return;
        otherClockLoftNo() = loftNo;
        loadOtherClockMember(loftNo);
        dtpMarkedDate_->setFocus();
    });
}

void TfrmRace::loadOtherClockMember(const QString& loftNo)
{
    if (!otherClockRace_)
        return;
    fillRingChoice(QString());
    if (const auto times = OtherClock::storedClockTimes(dm_, *otherClockRace_, loftNo)) {
        showMoment(dtpMarkedDate_, dtpMarkedTime_, times->marked);
        showMoment(dtpMasterDate_, dtpMasterTime_, times->master);
        showMoment(dtpMemberDate_, dtpMemberTime_, times->member);
    }
    reloadOtherClockGrid();
}

void TfrmRace::fillRingChoice(const QString& ending)
{
    cbbSelPigNo_->clear();
    if (otherClockLoftNo().isEmpty())
        return;
    cbbSelPigNo_->addItems(OtherClock::memberRings(dm_, otherClockLoftNo(), ending));
    cbbSelPigNo_->setCurrentIndex(-1);
}

void TfrmRace::reloadOtherClockGrid()
{
    if (!otherClockRace_ || otherClockLoftNo().isEmpty()) {
        adoqOtherClock_->clear();
        return;
    }
    OtherClock::loadMemberArrivals(dm_, *otherClockRace_, otherClockLoftNo(), *adoqOtherClock_);
    dbgrdOtherClock_->resizeColumnsToContents();
}

void TfrmRace::edtSearchExit()
{
    guarded(this, [this] { fillRingChoice(edtSearch_->text()); });
}

void TfrmRace::showArrivalOf(const QString& ringNo)
{
    if (!otherClockRace_ || ringNo.isEmpty())
        return;
    const std::optional<QDateTime> arrival = OtherClock::storedArrival(dm_, *otherClockRace_, ringNo);
    if (arrival) {
        showMoment(dtpSelPigDate_, dtpSelPigTime_, *arrival);
    } else {
        dtpSelPigDate_->setDate(QDate::currentDate());
        dtpSelPigTime_->setTime(QTime(0, 0));
    }
}

void TfrmRace::cbbSelPigNoChange()
{
    guarded(this, [this] { showArrivalOf(cbbSelPigNo_->currentText()); });
}

void TfrmRace::dbgrdOtherClockCellClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    guarded(this, [&] {
        const QString ringNo = adoqOtherClock_->value(index.row(), QStringLiteral("PRingNo")).toString();
        // The ring may be outside the list a search left behind.
        if (cbbSelPigNo_->findText(ringNo, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
            fillRingChoice(QString());
        cbbSelPigNo_->setCurrentIndex(cbbSelPigNo_->findText(ringNo, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        showArrivalOf(ringNo);
    });
}

void TfrmRace::btnOtherClock_NewClick()
{
    edtSearch_->setFocus();
}

void TfrmRace::btnOtherClock_SaveClick()
{
    guarded(this, [this] {
        if (!otherClockRace_)
            throw CorvelError(QStringLiteral("Choose a race in the race list first."));
        const OtherClock::ClockTimes times{momentOf(dtpMarkedDate_, dtpMarkedTime_), momentOf(dtpMasterDate_, dtpMasterTime_),
                                           momentOf(dtpMemberDate_, dtpMemberTime_)};
        const QString ringNo = cbbSelPigNo_->currentText();
        OtherClock::saveArrival(dm_, *otherClockRace_, otherClockLoftNo(), ringNo, times,
                                momentOf(dtpSelPigDate_, dtpSelPigTime_));
        reloadOtherClockGrid();
        if (const int row = adoqOtherClock_->findRow(QStringLiteral("PRingNo"), ringNo); row >= 0)
            dbgrdOtherClock_->setCurrentIndex(adoqOtherClock_->index(row, 0));
    });
}

// ---- Status and Result views ----

void TfrmRace::buildStatusView(QWidget* view)
{
    auto* layout = new QVBoxLayout(view);
    lblLoftRaceStatTiTle_ = label(view, "lblLoftRaceStatTiTle", true);
    layout->addWidget(lblLoftRaceStatTiTle_);

    adoqLoftRaceStat_ = new RowSetModel(this);
    adoqLoftRaceStat_->setObjectName(QStringLiteral("adoqLoftRaceStat"));
    dbgrdLoftRaceStat_ = makeReadOnlyGrid(view, QStringLiteral("dbgrdLoftRaceStat"), adoqLoftRaceStat_);
    enableTitleSort(dbgrdLoftRaceStat_, adoqLoftRaceStat_, &sortOrder());
    layout->addWidget(dbgrdLoftRaceStat_, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* print = button(view, "butPrtRaceStat", QStringLiteral("Print"));
    QPushButton* ok = button(view, "btnLoftRaceStat", QStringLiteral("OK"));
    buttons->addWidget(print);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, &TfrmRace::butPrtRaceStatClick);
    connect(ok, &QPushButton::clicked, this, &TfrmRace::btnLoftRaceStatClick);
}

void TfrmRace::buildResultView(QWidget* view)
{
    auto* layout = new QVBoxLayout(view);
    lbl1RaceResultTitle_ = label(view, "lbl1RaceResultTitle", true);
    layout->addWidget(lbl1RaceResultTitle_);
    lblRaceResultSum_ = label(view, "lblRaceResultSum");
    layout->addWidget(lblRaceResultSum_);

    adoqRaceReslt_ = new RowSetModel(this);
    adoqRaceReslt_->setObjectName(QStringLiteral("adoqRaceReslt"));
    dbgrdRaceRec_ = makeReadOnlyGrid(view, QStringLiteral("dbgrdRaceRec"), adoqRaceReslt_);
    enableTitleSort(dbgrdRaceRec_, adoqRaceReslt_, &sortOrder());
    layout->addWidget(dbgrdRaceRec_, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* print = button(view, "butPrtRaceResult", QStringLiteral("Print"));
    QPushButton* exportButton = button(view, "butResultExport", QStringLiteral("ResultExport"));
    QPushButton* ok = button(view, "btnRaceRec", QStringLiteral("OK"));
    buttons->addWidget(print);
    buttons->addWidget(exportButton);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, &TfrmRace::butPrtRaceResultClick);
    connect(exportButton, &QPushButton::clicked, this, &TfrmRace::butResultExportClick);
    connect(ok, &QPushButton::clicked, this, &TfrmRace::btnRaceRecClick);
}

void TfrmRace::openStatusView()
{
    guarded(this, [this] {
        const SelectedRace race = requireSelectedRace();
        RaceResults::loadStatusRows(dm_, race.key.liberCode, race.key.liberDate, *adoqLoftRaceStat_);
        RaceResults::applyStatusDisplay(dm_, *adoqLoftRaceStat_);
        dbgrdLoftRaceStat_->resizeColumnsToContents();
        lblLoftRaceStatTiTle_->setText(QStringLiteral(" Status for ") + race.liberSite);
        showOnly(pnlLoftRaceStat_);
    });
}

void TfrmRace::dbgrd1DblClick()
{
    openResultView();
}

void TfrmRace::openResultView()
{
    guarded(this, [this] {
        const SelectedRace race = requireSelectedRace();
        const ClubSettings settings = dm_.clubSettings();
        const RaceResults::Counts counts = RaceResults::loadResultRows(dm_, race.key.liberCode, race.key.liberDate, *adoqRaceReslt_);
        RaceResults::applyResultDisplay(settings, *adoqRaceReslt_);
        RaceResults::arrangeResultGrid(dbgrdRaceRec_);
        dbgrdRaceRec_->resizeColumnsToContents();
        lblRaceResultSum_->setText(RaceResults::summaryLine(counts));
        lbl1RaceResultTitle_->setText(race.key.clubId + QStringLiteral(" Result for ") + race.liberSite);
        showOnly(pnlRaceResult_);
    });
}

void TfrmRace::btnLoftRaceStatClick()
{
    showOnly(pnlRacePoint_);
}

void TfrmRace::btnRaceRecClick()
{
    showOnly(pnlRacePoint_);
}

void TfrmRace::butPrtRaceStatClick()
{
    guarded(this, [this] {
        produceReport(this, ListReports::raceStatus(dm_, dm_.clubSettings(), lblLoftRaceStatTiTle_->text(),
                                                    currentRaceValue(QStringLiteral("LiberDate")),
                                                    currentRaceValue(QStringLiteral("LiberTime")), *adoqLoftRaceStat_));
    });
}

void TfrmRace::butPrtRaceResultClick()
{
    guarded(this, [this] {
        produceReport(this, ListReports::raceResult(dm_, dm_.clubSettings(), lbl1RaceResultTitle_->text(),
                                                    currentRaceValue(QStringLiteral("LiberDate")),
                                                    currentRaceValue(QStringLiteral("LiberTime")), lblRaceResultSum_->text(),
                                                    *adoqRaceReslt_));
    });
}

void TfrmRace::butResultExportClick()
{
    guarded(this, [this] {
        const QString chosen = Dialogs::getSaveFileName(this, QStringLiteral("ResultExport"), QStringLiteral("Excel File|*.xlsx"));
        if (chosen.isEmpty())
            return;
        RaceResults::exportResultRows(*adoqRaceReslt_, RaceResults::workbookFileName(chosen));
    });
}

// ---- Prints of the race list and the Distance view ----

void TfrmRace::butPrtRacePointClick()
{
    guarded(this, [this] { produceReport(this, ListReports::raceList(dm_.clubSettings(), *adoqRacePoint_)); });
}

void TfrmRace::butPrtLoftRaceDistClick()
{
    guarded(this, [this] {
        // A distance being edited is stored first, so the sheet shows what the database holds.
        if (!adotLoftRaceDist_->submit())
            return;
        produceReport(this, ListReports::memberDistances(dm_, dm_.clubSettings(), lblLoftPointDistTitle_->text(),
                                                         *adotLoftRaceDist_));
    });
}
