#pragma once

#include "RaceLogic.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

class DataFolder;
class DistanceView;
class OtherClockView;
class RaceListView;
class RaceResultView;
class RaceStatusView;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class TfrmRace;
}

// The Races page: the race view (race list and detail, sun table, club list) and the views over
// the chosen race (distances, arrivals from other clocks, status, result), one shown at a time,
// chosen from the race list's operations menu.
class TfrmRace : public QWidget {
    Q_OBJECT
public:
    TfrmRace(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmRace() override;

    // The sort text of the page's grids, one for the whole run of the program.
    static QString& sortOrder();
    // The member chosen in the other-clock view, kept for the whole run of the program.
    static QString& otherClockLoftNo();

    // The rows the views hold, for the reports.
    RowSetModel* adoqRacePoint() const;
    RowSetModel* adotLoftRaceDist() const;
    RowSetModel* adoqOtherClock() const;
    RowSetModel* adoqLoftRaceStat() const;
    RowSetModel* adoqRaceReslt() const;

    // The race of the race list's current row.
    std::optional<ListedRace> selectedRace() const;

    // Handlers.
    void FormShow();
    void rgRacePointClick(int index);
    void dbgrd1DblClick();

private:
    void showView(QWidget* view);
    void showRaceList();

    std::unique_ptr<Ui::TfrmRace> ui_;
    RaceListView* raceList_;
    DistanceView* distance_;
    OtherClockView* otherClock_;
    RaceStatusView* status_;
    RaceResultView* result_;
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmRace> frmRace;
