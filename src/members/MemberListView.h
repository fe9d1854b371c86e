#pragma once

#include <QWidget>
#include <memory>

class QTableView;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class MemberListView;
}

// The member list of the Member page (pnlMem): every member with its number of clocks, the
// finding of a member by name, the deletion of a member and the print of the list.
class MemberListView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    MemberListView(TdmZAVR& dm, QString* sortText, QWidget* parent = nullptr);
    ~MemberListView() override;

    RowSetModel* adoqDBGridLoft() const { return adoqDBGridLoft_; }
    QTableView* dbgrdMem() const;
    // The selected member: the list's current row (empty texts when none).
    QString selectedLoftNo() const;
    QString selectedLoftName() const;

    // Reads the list again and selects the member `selectLoftNo` (the one selected before when
    // empty, else the first).
    void refresh(const QString& selectLoftNo);
    // Fills the name choice with every member's name, in table order. The view's focus goes to
    // the name choice.
    void fillMemberNames();

    // Handlers.
    void combLoftNameClick();
    void DeleteMember();
    void butPrtMemListClick();

signals:
    void btnMemNewClicked();
    void dbgrdMemDblClicked();

private:
    QString selected(const QString& field) const;

    TdmZAVR& dm_;
    std::unique_ptr<Ui::MemberListView> ui_;
    RowSetModel* adoqDBGridLoft_;
};
