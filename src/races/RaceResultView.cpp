#include "RaceResultView.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "RaceResults.h"
#include "ReadOnlyGrid.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"
#include "ui_RaceResultView.h"

RaceResultView::RaceResultView(TdmZAVR& dm, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), ui_(std::make_unique<Ui::RaceResultView>()), adoqRaceReslt_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqRaceReslt_->setObjectName(QStringLiteral("adoqRaceReslt"));
    setUpReadOnlyGrid(ui_->dbgrdRaceRec, adoqRaceReslt_);
    enableTitleSort(ui_->dbgrdRaceRec, adoqRaceReslt_, sortText);
    connectGuarded(ui_->butPrtRaceResult, &QPushButton::clicked, this, &RaceResultView::butPrtRaceResultClick);
    connectGuarded(ui_->butResultExport, &QPushButton::clicked, this, &RaceResultView::butResultExportClick);
    connect(ui_->btnRaceRec, &QPushButton::clicked, this, &RaceResultView::closed);
}

RaceResultView::~RaceResultView() = default;

void RaceResultView::open(const ListedRace& race)
{
    race_ = race;
    adoqRaceReslt_->applySort(QString());  // a re-run query comes in the statement's own order
    const RaceResults::LoadedResult read =
        RaceResults::loadResultRows(dm_, race.key.liberCode, race.key.liberDate, *adoqRaceReslt_);
    columns_ = ListColumns::raceResult(dm_.clubSettings(), read.memberName, read.ringParts);
    adoqRaceReslt_->setColumns(columns_);
    showColumns(ui_->dbgrdRaceRec, columns_);
    ui_->dbgrdRaceRec->resizeColumnsToContents();
    ui_->lblRaceResultSum->setText(RaceResults::summaryLine(read.counts));
    ui_->lbl1RaceResultTitle->setText(race.key.clubId + QStringLiteral(" Result for ") + race.liberSite);
}

void RaceResultView::butPrtRaceResultClick()
{
    produceReport(this, ListReports::raceResult(dm_.clubSettings(), columns_, ui_->lbl1RaceResultTitle->text(), race_.liberDate,
                                                race_.liberTime, ui_->lblRaceResultSum->text(), *adoqRaceReslt_));
}

void RaceResultView::butResultExportClick()
{
    const QString chosen = Dialogs::getSaveFileName(this, QStringLiteral("ResultExport"), RaceResults::resultExportFilter());
    if (chosen.isEmpty())
        return;
    RaceResults::exportResultRows(*adoqRaceReslt_, RaceResults::workbookFileName(chosen));
    if (const QString notice = RaceResults::workbookFileNameNotice(chosen); !notice.isEmpty())
        Dialogs::information(this, notice);
}
