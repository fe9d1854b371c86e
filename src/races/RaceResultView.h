#pragma once

#include "GridColumns.h"
#include "RaceLogic.h"

#include <QWidget>
#include <memory>

class RowSetModel;
class TdmZAVR;

namespace Ui {
class RaceResultView;
}

// The Result view of the Races page (pnlRaceResult): the chosen race's arrivals ranked by speed,
// its summary line, the print and the export of the result rows.
class RaceResultView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    RaceResultView(TdmZAVR& dm, QString* sortText, QWidget* parent = nullptr);
    ~RaceResultView() override;

    RowSetModel* adoqRaceReslt() const { return adoqRaceReslt_; }

    void open(const ListedRace& race);

    // Handlers.
    void butPrtRaceResultClick();
    void butResultExportClick();

signals:
    // "OK": back to the race view.
    void closed();

private:
    TdmZAVR& dm_;
    std::unique_ptr<Ui::RaceResultView> ui_;
    RowSetModel* adoqRaceReslt_;
    ListedRace race_;
    GridColumns columns_;  // the grid's, printed by the report
};
