#pragma once

#include "RaceLogic.h"

#include <QWidget>
#include <memory>
#include <optional>

class QTableView;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class RaceListView;
}

// The race view of the Races page (pnlRacePoint): the race list, the detail group that creates and
// edits races, the club list panel and the sun table of a race.
class RaceListView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    RaceListView(TdmZAVR& dm, QString* sortText, QWidget* parent = nullptr);
    ~RaceListView() override;

    RowSetModel* adoqRacePoint() const { return adoqRacePoint_; }
    QTableView* dbgrd1() const;
    // The race of the list's current row.
    std::optional<ListedRace> selectedRace() const;
    // The same; CorvelError when no race is chosen.
    ListedRace requireSelectedRace() const;

    // Handlers.
    void FormShow();
    void dbgrd1CellClick();
    void dbgrd1TitleClick(int column);
    void EditPoint();
    void DeletePoint();
    void btn1Click();
    void btnCancelClick();
    void chkLibPointClick();
    void combLibSiteChange(const QString& site);
    void btnOKClick();
    void btnSetSunDataClick();
    void btnOK_SunClick();
    void DDelete1Click();
    void AAdd1Click();
    void btnClubSaveClick();
    void btnClubCancelClick();
    void DDelete2Click();
    void butPrtRacePointClick();

signals:
    // A double click on the race list.
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadRaceList();
    void fillClubs();
    void fillLiberationSites();
    void setPointFieldsEnabled(bool enabled);
    QString raceCodeOfDetail() const;
    // Refuses, naming the field, a coordinate typed into the detail group that is no place.
    void checkTypedCoordinates() const;

    TdmZAVR& dm_;
    QString* sortText_;
    std::unique_ptr<Ui::RaceListView> ui_;
    RowSetModel* adoqRacePoint_;
};
