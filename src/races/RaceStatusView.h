#pragma once

#include "RaceLogic.h"

#include <QWidget>
#include <memory>

class RowSetModel;
class TdmZAVR;

namespace Ui {
class RaceStatusView;
}

// The Status view of the Races page (pnlLoftRaceStat): per member and clock, the pigeons marked and
// arrived in the chosen race, and its print.
class RaceStatusView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    RaceStatusView(TdmZAVR& dm, QString* sortText, QWidget* parent = nullptr);
    ~RaceStatusView() override;

    RowSetModel* adoqLoftRaceStat() const { return adoqLoftRaceStat_; }

    void open(const ListedRace& race);

    // Handlers.
    void butPrtRaceStatClick();

signals:
    // "OK": back to the race view.
    void closed();

private:
    TdmZAVR& dm_;
    std::unique_ptr<Ui::RaceStatusView> ui_;
    RowSetModel* adoqLoftRaceStat_;
    ListedRace race_;
};
