#pragma once

#include "OtherClock.h"
#include "RaceLogic.h"

#include <QModelIndex>
#include <QPointer>
#include <QWidget>
#include <optional>

class DataFolder;
class LoftDistModel;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTableView;
class QTableWidget;
class QTimeEdit;
class RowSetModel;
class TdmZAVR;

// The Races page: the club's liberation points, clubs and races with their sunrise and sunset
// rows, and the Distance view of the members' lofts to a race's point.
class TfrmRace : public QWidget {
    Q_OBJECT
public:
    TfrmRace(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);

    // The sort text of the page's grids, one for the whole run of the program.
    static QString& sortOrder();
    // The member chosen in the other-clock view, kept for the whole run of the program.
    static QString& otherClockLoftNo();

    // Rows the reports print: the race list and the Distance view's rows.
    RowSetModel* adoqRacePoint() const { return adoqRacePoint_; }
    RowSetModel* adotLoftRaceDist() const;
    // Rows of the other-clock, Status and Result views.
    RowSetModel* adoqOtherClock() const { return adoqOtherClock_; }
    RowSetModel* adoqLoftRaceStat() const { return adoqLoftRaceStat_; }
    RowSetModel* adoqRaceReslt() const { return adoqRaceReslt_; }

    // The race of the race list's current row (club, code, abbreviation, site, date).
    struct SelectedRace {
        RaceKey key;
        QString liberSiteAbbr;
        QString liberSite;
    };
    std::optional<SelectedRace> selectedRace() const;

    // Handlers.
    void FormShow();
    void dbgrd1CellClick(const QModelIndex& index);
    void rgRacePointClick(int index);
    void btn1Click();
    void btnCancelClick();
    void chkLibPointClick();
    void combLibSiteChange(const QString& site);
    void btnOKClick();
    void btnSetSunDataClick();
    void btnOK_SunClick();
    void btnCan_SunClick();
    void DDelete1Click();
    void AAdd1Click();
    void btnClubSaveClick();
    void btnClubCancelClick();
    void DDelete2Click();
    void btnLoftDistUpdateClick();
    void btnLoftLibDistClick();
    void dbgrd1TitleClick(int column);
    void dbgrdLoftLibDistTitleClick(int column);
    void dbgrd1DblClick();
    void butPrtRacePointClick();
    void butPrtLoftRaceDistClick();

    // Other-clock view.
    void openOtherClockView();
    void cbbLoftNo_OtherClockChange();
    void edtSearchExit();
    void cbbSelPigNoChange();
    void dbgrdOtherClockCellClick(const QModelIndex& index);
    void btnOtherClock_NewClick();
    void btnOtherClock_SaveClick();

    // Status and Result views.
    void openStatusView();
    void openResultView();
    void btnLoftRaceStatClick();
    void btnRaceRecClick();
    void butPrtRaceStatClick();
    void butPrtRaceResultClick();
    void butResultExportClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRaceView(QWidget* panel);
    void buildDistanceView(QWidget* panel);
    void buildOtherClockView(QWidget* panel);
    void buildStatusView(QWidget* panel);
    void buildResultView(QWidget* panel);
    SelectedRace requireSelectedRace() const;
    QVariant currentRaceValue(const QString& field) const;
    void loadOtherClockMember(const QString& loftNo);
    void fillRingChoice(const QString& ending);
    void showArrivalOf(const QString& ringNo);
    void reloadOtherClockGrid();
    void loadRaceList();
    void fillClubs();
    void fillLiberationSites();
    void fillFromSelectedRace();
    void showOnly(QWidget* view);
    void openDistanceView();
    void loadDistanceRows();
    void deleteSelectedRace();
    void setPointFieldsEnabled(bool enabled);
    QString raceCodeOfDetail() const;
    bool postLoftDistance(const QString& loftNo, int miles, int yards);

    TdmZAVR& dm_;
    bool shown_ = false;
    QString distanceCode_;  // the point whose rows the Distance view shows

    QWidget* pnlRacePoint_;
    QWidget* pnlLoftLibPointDist_;
    QWidget* pnlOtherClosk_;
    QWidget* pnlLoftRaceStat_;
    QWidget* pnlRaceResult_;

    RowSetModel* adoqRacePoint_;
    QTableView* dbgrd1_ = nullptr;
    QListWidget* rgRacePoint_ = nullptr;

    QGroupBox* grpLibDetail_ = nullptr;
    QComboBox* combClub_ = nullptr;
    QLineEdit* edtlibSiteAbbriv_ = nullptr;
    QComboBox* combLibSite_ = nullptr;
    QLineEdit* medtRaceLon_ = nullptr;
    QLineEdit* medtRaceLat_ = nullptr;
    QDateEdit* dtpLibDate_ = nullptr;
    QTimeEdit* dtpLibTime_ = nullptr;
    QLineEdit* edtLibCode_ = nullptr;
    QCheckBox* chkLibPoint_ = nullptr;
    QMenu* pmClubCode_ = nullptr;
    QMenu* pmLiberSite_ = nullptr;

    QWidget* pnlSunData_ = nullptr;
    QTableWidget* StrGridSunSet_ = nullptr;

    QGroupBox* grpClubMap_ = nullptr;
    QLineEdit* edtClubCode_ = nullptr;
    QLineEdit* edtClubNmae_ = nullptr;

    QLabel* lblLoftPointDistTitle_ = nullptr;
    LoftDistModel* adotLoftRaceDist_ = nullptr;
    QTableView* dbgrdLoftLibDist_ = nullptr;

    // Other-clock view: the race it was opened for.
    std::optional<OtherClock::Race> otherClockRace_;
    QLabel* lblAddOtherClockTitle_ = nullptr;
    QComboBox* cbbLoftNo_OtherClock_ = nullptr;
    QDateEdit* dtpMarkedDate_ = nullptr;
    QTimeEdit* dtpMarkedTime_ = nullptr;
    QDateEdit* dtpMasterDate_ = nullptr;
    QTimeEdit* dtpMasterTime_ = nullptr;
    QDateEdit* dtpMemberDate_ = nullptr;
    QTimeEdit* dtpMemberTime_ = nullptr;
    QLineEdit* edtSearch_ = nullptr;
    QComboBox* cbbSelPigNo_ = nullptr;
    QDateEdit* dtpSelPigDate_ = nullptr;
    QTimeEdit* dtpSelPigTime_ = nullptr;
    RowSetModel* adoqOtherClock_ = nullptr;
    QTableView* dbgrdOtherClock_ = nullptr;

    // Status view.
    QLabel* lblLoftRaceStatTiTle_ = nullptr;
    RowSetModel* adoqLoftRaceStat_ = nullptr;
    QTableView* dbgrdLoftRaceStat_ = nullptr;

    // Result view.
    QLabel* lbl1RaceResultTitle_ = nullptr;
    QLabel* lblRaceResultSum_ = nullptr;
    RowSetModel* adoqRaceReslt_ = nullptr;
    QTableView* dbgrdRaceRec_ = nullptr;
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmRace> frmRace;
