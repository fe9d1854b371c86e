#include "RaceStatusView.h"

#include "ErrorHandler.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "RaceResults.h"
#include "ReadOnlyGrid.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"
#include "ui_RaceStatusView.h"

RaceStatusView::RaceStatusView(TdmZAVR& dm, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), ui_(std::make_unique<Ui::RaceStatusView>()), adoqLoftRaceStat_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqLoftRaceStat_->setObjectName(QStringLiteral("adoqLoftRaceStat"));
    setUpReadOnlyGrid(ui_->dbgrdLoftRaceStat, adoqLoftRaceStat_);
    enableTitleSort(ui_->dbgrdLoftRaceStat, adoqLoftRaceStat_, sortText);
    connectGuarded(ui_->butPrtRaceStat, &QPushButton::clicked, this, &RaceStatusView::butPrtRaceStatClick);
    connect(ui_->btnLoftRaceStat, &QPushButton::clicked, this, &RaceStatusView::closed);
}

RaceStatusView::~RaceStatusView() = default;

void RaceStatusView::open(const ListedRace& race)
{
    race_ = race;
    adoqLoftRaceStat_->applySort(QString());  // a re-run query comes in the statement's own order
    RaceResults::loadStatusRows(dm_, race.key.liberCode, race.key.liberDate, *adoqLoftRaceStat_);
    adoqLoftRaceStat_->setColumns(ListColumns::raceStatus(dm_));
    ui_->dbgrdLoftRaceStat->resizeColumnsToContents();
    ui_->lblLoftRaceStatTiTle->setText(QStringLiteral(" Status for ") + race.liberSite);
}

void RaceStatusView::butPrtRaceStatClick()
{
    produceReport(this, ListReports::raceStatus(dm_, dm_.clubSettings(), ui_->lblLoftRaceStatTiTle->text(), race_.liberDate,
                                                race_.liberTime, *adoqLoftRaceStat_));
}
