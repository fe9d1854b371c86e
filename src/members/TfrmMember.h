#pragma once

#include "CountryEntryAids.h"
#include "DisplayRules.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <optional>

class ActionMenuBox;
class DataFolder;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class RowSetModel;
class TdmZAVR;

// The Member page: the member list and form, the selected member's ring register and its clock
// list. One panel is shown at a time. The logic lives in MemberLogic and RingLogic; the page
// gathers input, calls it and shows the results.
class TfrmMember : public QWidget {
    Q_OBJECT
public:
    TfrmMember(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmMember() override;

    // The last sort applied to any grid of the page, kept for the whole run of the program.
    static QString& gridSortOrder();

    // The page's queries as they stand (rows, sort), for the list reports.
    RowSetModel* adoqDBGridLoft() const { return adoqDBGridLoft_; }
    RowSetModel* adoqDBGridMRing() const { return adoqDBGridMRing_; }
    RowSetModel* adoqClockList() const { return adoqClockList_; }
    // The selected member: the current row of the member list (empty texts when none).
    QString selectedLoftNo() const;
    QString selectedLoftName() const;

    // Handlers.
    void FormShow();
    void btnMemNewClick();
    void btnOKClick();
    void btnCancelClick();
    void dbgrdMemDblClick();
    void rgMemClick(int index);
    void combLoftNameClick();
    void EditMember();
    void DeleteMember();
    void OpenRingList();
    void btnNewClick();
    void btnNew2Click();
    void btnOK_RingClick();
    void btnCan_RingClick();
    void dbgrdMemRingCellClick(const QModelIndex& index);
    void rgMemRingClick(int index);
    void cbbCountryRingCodeChange();
    void edtRegLetterExit();
    void butPrtMemListClick();
    void butPrtRingListClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMemberList(QWidget* panel);
    void buildMemberForm(QWidget* panel);
    void buildRingPanel(QWidget* panel);
    void buildClockPanel(QWidget* panel);
    QTableView* makeGrid(const QString& name, RowSetModel* model, QWidget* parent);

    void refreshMemberList(const QString& selectLoftNo);
    void refreshRingList(const QString& selectRingNo);
    void prepareRingInsert(bool range);
    void loadPigeon(const QString& ringNo);
    void setRingKeyFieldsEnabled(bool enabled);
    void applyCountryEntryAid();
    QString selectedRingNo() const;

    TdmZAVR& dm_;
    const DataFolder& folder_;
    bool shownOnce_ = false;

    QLabel* lblTitle_ = nullptr;
    QWidget* pnlMem_ = nullptr;
    QWidget* pnlNewMember_ = nullptr;
    QWidget* pnlMemRing_ = nullptr;
    QWidget* pnlClockList_ = nullptr;

    // Member list.
    RowSetModel* adoqDBGridLoft_ = nullptr;
    QTableView* dbgrdMem_ = nullptr;
    QComboBox* combLoftName_ = nullptr;
    QLabel* lblMemCnt_ = nullptr;
    ActionMenuBox* rgMem_ = nullptr;

    // Member form.
    QLineEdit* edtSeriesNo_ = nullptr;
    QLineEdit* edtName_ = nullptr;
    QLineEdit* edtStreet_ = nullptr;
    QLineEdit* edtToneCity_ = nullptr;
    QLineEdit* edtPostCode_ = nullptr;
    QLineEdit* edtPhone_ = nullptr;
    QLineEdit* medtLoftLon_ = nullptr;
    QLineEdit* medtLoftLat_ = nullptr;
    QPlainTextEdit* mmoNote_ = nullptr;
    QLineEdit* edtUnionCode_ = nullptr;

    // Ring list and form.
    RowSetModel* adoqDBGridMRing_ = nullptr;
    QTableView* dbgrdMemRing_ = nullptr;
    QLabel* lblRingCnt_ = nullptr;
    ActionMenuBox* rgMemRing_ = nullptr;
    QComboBox* cbbCountryRingCode_ = nullptr;
    QComboBox* combBYear_ = nullptr;
    QLineEdit* edtRegLetter_ = nullptr;
    QLineEdit* edtRegNum_ = nullptr;
    QLineEdit* edtUpRegNum_ = nullptr;
    QLabel* lblUpRegNum_ = nullptr;
    QComboBox* cbbSex_ = nullptr;
    QComboBox* cbbBColour_ = nullptr;
    QPlainTextEdit* mmoComment_ = nullptr;
    CountryEntryAid countryAid_;
    std::optional<ColourNameLookup> colourNames_;  // read with the ring list

    // Clock list (filled by the loft clocks feature).
    RowSetModel* adoqClockList_ = nullptr;
    QTableView* dbgrdClockList_ = nullptr;
    ActionMenuBox* rgClockList_ = nullptr;
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmMember> frmMember;
