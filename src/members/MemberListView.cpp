#include "MemberListView.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "MemberLogic.h"
#include "ReadOnlyGrid.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"
#include "ui_MemberListView.h"

#include <QLineEdit>

MemberListView::MemberListView(TdmZAVR& dm, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), ui_(std::make_unique<Ui::MemberListView>()), adoqDBGridLoft_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqDBGridLoft_->setObjectName(QStringLiteral("adoqDBGridLoft"));
    adoqDBGridLoft_->setColumns(ListColumns::memberList());
    setUpReadOnlyGrid(ui_->dbgrdMem, adoqDBGridLoft_);
    showColumns(ui_->dbgrdMem, ListColumns::memberList());
    enableTitleSort(ui_->dbgrdMem, adoqDBGridLoft_, sortText);
    setFocusProxy(ui_->combLoftName);

    connect(ui_->btnMemNew, &QPushButton::clicked, this, &MemberListView::btnMemNewClicked);
    connect(ui_->dbgrdMem, &QTableView::doubleClicked, this, &MemberListView::dbgrdMemDblClicked);
    connectGuarded(ui_->butPrtMemList, &QPushButton::clicked, this, &MemberListView::butPrtMemListClick);
    connectGuarded(ui_->combLoftName, &QComboBox::activated, this, &MemberListView::combLoftNameClick);
    connectGuarded(ui_->combLoftName->lineEdit(), &QLineEdit::returnPressed, this, &MemberListView::combLoftNameClick);
}

MemberListView::~MemberListView() = default;

QTableView* MemberListView::dbgrdMem() const
{
    return ui_->dbgrdMem;
}

QString MemberListView::selected(const QString& field) const
{
    const int row = ui_->dbgrdMem->currentIndex().row();
    return row < 0 ? QString() : adoqDBGridLoft_->value(row, field).toString();
}

QString MemberListView::selectedLoftNo() const
{
    return selected(QStringLiteral("LoftNo"));
}

QString MemberListView::selectedLoftName() const
{
    return selected(QStringLiteral("LoftName"));
}

void MemberListView::refresh(const QString& selectLoftNo)
{
    const QString keep = selectLoftNo.isEmpty() ? selectedLoftNo() : selectLoftNo;
    adoqDBGridLoft_->applySort(QString());  // a re-run query comes in the statement's own order
    adoqDBGridLoft_->clear();
    ui_->lblMemCnt->setText(countText(0));
    QSqlQuery query = memberListQuery(dm_);
    adoqDBGridLoft_->setQueryResult(query);
    ui_->lblMemCnt->setText(countText(adoqDBGridLoft_->rowCount()));
    int row = adoqDBGridLoft_->findRow(QStringLiteral("LoftNo"), keep);
    if (row < 0 && adoqDBGridLoft_->rowCount() > 0)
        row = 0;
    selectRow(ui_->dbgrdMem, row, adoqDBGridLoft_->fieldIndex(QStringLiteral("LoftNo")));
    ui_->dbgrdMem->resizeColumnsToContents();
}

void MemberListView::fillMemberNames()
{
    ui_->combLoftName->clear();
    ui_->combLoftName->addItems(memberNames(dm_));
    ui_->combLoftName->setCurrentIndex(-1);
}

void MemberListView::combLoftNameClick()
{
    const int row = adoqDBGridLoft_->findRow(QStringLiteral("LoftName"), ui_->combLoftName->currentText());
    selectRow(ui_->dbgrdMem, row, adoqDBGridLoft_->fieldIndex(QStringLiteral("LoftNo")));
}

void MemberListView::DeleteMember()
{
    const QString loftNo = selectedLoftNo();
    if (loftNo.isEmpty())
        return;
    const int pigeons = memberPigeonCount(dm_, loftNo);
    bool remove = pigeons == 0;
    if (!remove)
        remove = Dialogs::question(this, QStringLiteral("This Loft has %1 pigeon records, Do you want delete all data ?")
                                             .arg(pigeons))
                 == QMessageBox::Yes;
    if (remove)
        deleteMember(dm_, loftNo);
    refresh(QString());
}

void MemberListView::butPrtMemListClick()
{
    produceReport(this, ListReports::memberList(dm_.clubSettings(), *adoqDBGridLoft_));
}
