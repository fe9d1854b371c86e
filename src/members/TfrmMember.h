#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class ClockListView;
class DataFolder;
class MemberFormView;
class MemberListView;
class RingListView;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class TfrmMember;
}

// The Member page: the member list and form, the selected member's ring register and its clock
// list, one shown at a time, with the right-click menus of the three lists. The logic lives in
// MemberLogic, RingLogic and LoftClockLogic; the views gather input, call it and show the results.
class TfrmMember : public QWidget {
    Q_OBJECT
public:
    TfrmMember(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmMember() override;

    // The last sort applied to any grid of the page, kept for the whole run of the program.
    static QString& gridSortOrder();

    // The page's queries as they stand (rows, sort), for the list reports.
    RowSetModel* adoqDBGridLoft() const;
    RowSetModel* adoqDBGridMRing() const;
    RowSetModel* adoqClockList() const;
    // The selected member: the current row of the member list (empty texts when none).
    QString selectedLoftNo() const;
    QString selectedLoftName() const;

    // Handlers.
    void FormShow();
    void btnMemNewClick();
    void memberSaved(const QString& loftNo);
    void btnCancelClick();
    void dbgrdMemDblClick();
    void rgMemClick(int index);
    void EditMember();
    void OpenRingList();
    void OpenClockList();

private:
    void showView(QWidget* view, const QString& title);

    TdmZAVR& dm_;
    const DataFolder& folder_;
    std::unique_ptr<Ui::TfrmMember> ui_;
    MemberListView* memberList_;
    MemberFormView* memberForm_;
    RingListView* rings_;
    ClockListView* clocks_;
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmMember> frmMember;
