#include "TfrmRace.h"

#include "ActionMenu.h"
#include "DistanceView.h"
#include "ErrorHandler.h"
#include "LoftDistModel.h"
#include "OtherClockView.h"
#include "RaceListView.h"
#include "RaceResultView.h"
#include "RaceStatusView.h"
#include "ui_TfrmRace.h"

#include <QTableView>

QPointer<TfrmRace> frmRace;

TfrmRace::TfrmRace(TdmZAVR& dm, const DataFolder& /*folder*/, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TfrmRace>()),
      raceList_(new RaceListView(dm, &sortOrder(), this)),
      distance_(new DistanceView(dm, &sortOrder(), this)),
      otherClock_(new OtherClockView(dm, &sortOrder(), &otherClockLoftNo(), this)),
      status_(new RaceStatusView(dm, &sortOrder(), this)),
      result_(new RaceResultView(dm, &sortOrder(), this))
{
    ui_->setupUi(this);
    for (QWidget* view : std::initializer_list<QWidget*>{raceList_, distance_, otherClock_, status_, result_})
        ui_->stkViews->addWidget(view);
    ui_->rgRacePoint->attachTo(raceList_->dbgrd1());

    connectGuarded(ui_->rgRacePoint, &ActionMenu::itemChosen, this, &TfrmRace::rgRacePointClick);
    connectGuarded(raceList_, &RaceListView::doubleClicked, this, &TfrmRace::dbgrd1DblClick);
    connect(distance_, &DistanceView::closed, this, &TfrmRace::showRaceList);
    connect(status_, &RaceStatusView::closed, this, &TfrmRace::showRaceList);
    connect(result_, &RaceResultView::closed, this, &TfrmRace::showRaceList);
    callOnFirstShow(this, [this] { FormShow(); });
}

TfrmRace::~TfrmRace() = default;

QString& TfrmRace::sortOrder()
{
    static QString text;
    return text;
}

QString& TfrmRace::otherClockLoftNo()
{
    static QString loftNo;
    return loftNo;
}

RowSetModel* TfrmRace::adoqRacePoint() const
{
    return raceList_->adoqRacePoint();
}

RowSetModel* TfrmRace::adotLoftRaceDist() const
{
    return distance_->adotLoftRaceDist();
}

RowSetModel* TfrmRace::adoqOtherClock() const
{
    return otherClock_->adoqOtherClock();
}

RowSetModel* TfrmRace::adoqLoftRaceStat() const
{
    return status_->adoqLoftRaceStat();
}

RowSetModel* TfrmRace::adoqRaceReslt() const
{
    return result_->adoqRaceReslt();
}

std::optional<ListedRace> TfrmRace::selectedRace() const
{
    return raceList_->selectedRace();
}

void TfrmRace::FormShow()
{
    showRaceList();
    ui_->rgRacePoint->hide();
    raceList_->FormShow();
}

void TfrmRace::showView(QWidget* view)
{
    ui_->stkViews->setCurrentWidget(view);
}

void TfrmRace::showRaceList()
{
    showView(raceList_);
}

void TfrmRace::rgRacePointClick(int index)
{
    switch (index) {
    case 0:
        raceList_->EditPoint();
        break;
    case 1:
        raceList_->DeletePoint();
        break;
    case 3:
        distance_->open(raceList_->requireSelectedRace());
        showView(distance_);
        break;
    case 4:
        status_->open(raceList_->requireSelectedRace());
        showView(status_);
        break;
    case 5:
        dbgrd1DblClick();
        break;
    case 7:
        otherClock_->open(raceList_->requireSelectedRace());
        showView(otherClock_);
        break;
    default:  // the separators do nothing
        break;
    }
}

void TfrmRace::dbgrd1DblClick()
{
    result_->open(raceList_->requireSelectedRace());
    showView(result_);
}
