#pragma once

#include "RaceLogic.h"

#include <QWidget>
#include <memory>

class LoftDistModel;
class TdmZAVR;

namespace Ui {
class DistanceView;
}

// The Distance view of the Races page (pnlLoftLibPointDist): every member's distance to the point
// of the chosen race, computed by "LoftDistUpdate" or typed into the grid, and its print.
class DistanceView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    DistanceView(TdmZAVR& dm, QString* sortText, QWidget* parent = nullptr);
    ~DistanceView() override;

    LoftDistModel* adotLoftRaceDist() const { return adotLoftRaceDist_; }

    // Shows the distance rows of the race's point.
    void open(const ListedRace& race);

    // Handlers.
    void btnLoftDistUpdateClick();
    void btnLoftLibDistClick();
    void dbgrdLoftLibDistTitleClick(int column);
    void butPrtLoftRaceDistClick();

signals:
    // "OK": back to the race view.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the point's distance rows again, in the statement's own order or sorted by `sortText`
    // (a sort set on another grid of the page is not applied here).
    void loadRows(const QString& sortText = {});
    bool postLoftDistance(const QString& loftNo, int miles, int yards);
    void cancelEditing();

    TdmZAVR& dm_;
    QString* sortText_;
    std::unique_ptr<Ui::DistanceView> ui_;
    LoftDistModel* adotLoftRaceDist_;
    ListedRace race_;  // the race whose point the rows belong to
};
