#include "TfrmMember.h"

#include "ActionMenu.h"
#include "ClockListView.h"
#include "DataFolder.h"
#include "ErrorHandler.h"
#include "MemberFormView.h"
#include "MemberListView.h"
#include "PagePicture.h"
#include "RingListView.h"
#include "RingLogic.h"
#include "TdmZAVR.h"
#include "ui_TfrmMember.h"

#include <QTableView>

QPointer<TfrmMember> frmMember;

TfrmMember::TfrmMember(TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QWidget(parent),
      dm_(dm),
      folder_(folder),
      ui_(std::make_unique<Ui::TfrmMember>()),
      memberList_(new MemberListView(dm, &gridSortOrder(), this)),
      memberForm_(new MemberFormView(dm, this)),
      rings_(new RingListView(dm, &gridSortOrder(), this)),
      clocks_(new ClockListView(dm, folder, &gridSortOrder(), this))
{
    ui_->setupUi(this);
    ui_->Image4->setSource(QStringLiteral(":/corvel/members/member-picture.svg"));
    for (QWidget* view : std::initializer_list<QWidget*>{memberList_, memberForm_, rings_, clocks_})
        ui_->stkViews->addWidget(view);
    ui_->rgMem->attachTo(memberList_->dbgrdMem());
    ui_->rgMemRing->attachTo(rings_->dbgrdMemRing());
    ui_->rgClockList->attachTo(clocks_->dbgrdClockList());
    ui_->rgClockList->setKeepsChoice(true);

    connectGuarded(memberList_, &MemberListView::btnMemNewClicked, this, &TfrmMember::btnMemNewClick);
    connectGuarded(memberList_, &MemberListView::dbgrdMemDblClicked, this, &TfrmMember::dbgrdMemDblClick);
    connectGuarded(memberForm_, &MemberFormView::saved, this, &TfrmMember::memberSaved);
    connectGuarded(memberForm_, &MemberFormView::btnCancelClicked, this, &TfrmMember::btnCancelClick);
    connectGuarded(ui_->rgMem, &ActionMenu::itemChosen, this, &TfrmMember::rgMemClick);
    connectGuarded(ui_->rgMemRing, &ActionMenu::itemChosen, rings_, &RingListView::rgMemRingClick);
    connectGuarded(ui_->rgClockList, &ActionMenu::itemChosen, clocks_, &ClockListView::rgClockListClick);
    // The member list counts each member's clocks.
    connectGuarded(clocks_, &ClockListView::clocksChanged, this, [this] { memberList_->refresh(QString()); });
    callOnFirstShow(this, [this] { FormShow(); });
}

TfrmMember::~TfrmMember() = default;

QString& TfrmMember::gridSortOrder()
{
    static QString text;
    return text;
}

RowSetModel* TfrmMember::adoqDBGridLoft() const
{
    return memberList_->adoqDBGridLoft();
}

RowSetModel* TfrmMember::adoqDBGridMRing() const
{
    return rings_->adoqDBGridMRing();
}

RowSetModel* TfrmMember::adoqClockList() const
{
    return clocks_->adoqClockList();
}

QString TfrmMember::selectedLoftNo() const
{
    return memberList_->selectedLoftNo();
}

QString TfrmMember::selectedLoftName() const
{
    return memberList_->selectedLoftName();
}

void TfrmMember::showView(QWidget* view, const QString& title)
{
    ui_->stkViews->setCurrentWidget(view);
    ui_->lblTitle->setText(title);
}

void TfrmMember::FormShow()
{
    // Each list stands alone: one that cannot be read is reported and the others still fill.
    guarded(this, [this] { rings_->fillCountries(readCountryRingCodes(folder_.iniPath())); });
    guarded(this, [this] { rings_->fillColours(); });
    guarded(this, [this] { memberList_->refresh(QString()); });
    showView(memberList_, QStringLiteral("Member"));
    for (QWidget* menu : std::initializer_list<QWidget*>{ui_->rgMem, ui_->rgMemRing, ui_->rgClockList})
        menu->hide();
    rings_->fillBirthYears(QDate::currentDate());
    guarded(this, [this] { memberList_->fillMemberNames(); });
    memberList_->setFocus();
}

// --- Member list and form ---------------------------------------------------------------------

void TfrmMember::btnMemNewClick()
{
    memberForm_->startNew(dm_.clubSettings().AssociationCode);
    showView(memberForm_, QStringLiteral("Member New Add"));
    memberForm_->setFocus();
}

void TfrmMember::EditMember()
{
    const QString loftNo = selectedLoftNo();
    if (loftNo.isEmpty() || !memberForm_->startEdit(loftNo))
        return;
    showView(memberForm_, QStringLiteral("Member Edit Update"));
    memberForm_->setFocus();
}

void TfrmMember::memberSaved(const QString& loftNo)
{
    // The title stays as it was ("Member New Add" or "Member Edit Update").
    memberList_->refresh(loftNo);
    ui_->stkViews->setCurrentWidget(memberList_);
}

void TfrmMember::btnCancelClick()
{
    showView(memberList_, QStringLiteral("Member"));
}

void TfrmMember::dbgrdMemDblClick()
{
    OpenRingList();
}

void TfrmMember::rgMemClick(int index)
{
    switch (index) {
    case 0:
        EditMember();
        break;
    case 1:
        memberList_->DeleteMember();
        break;
    case 3:
        OpenRingList();
        break;
    case 4:
        OpenClockList();
        break;
    default:
        break;  // the separator
    }
}

// --- Ring list --------------------------------------------------------------------------------

void TfrmMember::OpenRingList()
{
    if (selectedLoftNo().isEmpty())
        return;
    showView(rings_, selectedLoftName() + QStringLiteral("'s Ring List"));
    rings_->open(selectedLoftNo(), selectedLoftName());
}

// --- Clock list -------------------------------------------------------------------------------

void TfrmMember::OpenClockList()
{
    if (selectedLoftNo().isEmpty())
        return;
    // The page's title stays; the clock list has a title of its own.
    ui_->stkViews->setCurrentWidget(clocks_);
    clocks_->open(selectedLoftNo(), selectedLoftName());
}
