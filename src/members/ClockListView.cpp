#include "ClockListView.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FieldLimits.h"
#include "LoftClockLogic.h"
#include "PortScan.h"
#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "ui_ClockListView.h"

#include <QApplication>
#include <QScopeGuard>

ClockListView::ClockListView(TdmZAVR& dm, const DataFolder& folder, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), folder_(folder), ui_(std::make_unique<Ui::ClockListView>()),
      adoqClockList_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqClockList_->setObjectName(QStringLiteral("adoqClockList"));
    adoqClockList_->setColumns(LoftClocks::clockListColumns());
    setUpReadOnlyGrid(ui_->dbgrdClockList, adoqClockList_);
    showColumns(ui_->dbgrdClockList, LoftClocks::clockListColumns());
    enableTitleSort(ui_->dbgrdClockList, adoqClockList_, sortText);
    limitToColumns({{ui_->edtClockNo, QStringLiteral("ZAVR_LoftClocks"), QStringLiteral("ClockID"), fieldCaption(ui_->lblClockNo)},
                    {ui_->edtMemName, QStringLiteral("ZAVR_LoftData"), QStringLiteral("LoftName"), fieldCaption(ui_->lblMemName)}});
    ui_->pnlClockNew->hide();

    connectGuarded(ui_->btnClockNew, &QPushButton::clicked, this, &ClockListView::btnClockNewClick);
    connectGuarded(ui_->btnDiscover, &QPushButton::clicked, this, &ClockListView::btnDiscoverClick);
    connectGuarded(ui_->btnClockOK, &QPushButton::clicked, this, &ClockListView::btnClockOKClick);
    connectGuarded(ui_->btnClockCan, &QPushButton::clicked, this, &ClockListView::btnClockCanClick);
}

ClockListView::~ClockListView() = default;

QTableView* ClockListView::dbgrdClockList() const
{
    return ui_->dbgrdClockList;
}

void ClockListView::open(const QString& loftNo, const QString& loftName)
{
    loftNo_ = loftNo;
    loftName_ = loftName;
    ui_->lblClockListTitle->setText(LoftClocks::clockListTitle(loftName));
    ui_->pnlClockNew->hide();
    refresh();
}

void ClockListView::refresh()
{
    adoqClockList_->applySort(QString());  // a re-run query comes in the statement's own order
    QSqlQuery query = LoftClocks::clockListQuery(dm_, loftNo_);
    adoqClockList_->setQueryResult(query);
    ui_->lblClockListSum->setText(LoftClocks::clockCountText(adoqClockList_->rowCount()));
    ui_->dbgrdClockList->resizeColumnsToContents();
}

QString ClockListView::selectedClockId() const
{
    const int row = ui_->dbgrdClockList->currentIndex().row();
    return row < 0 ? QString() : adoqClockList_->value(row, QStringLiteral("ClockID")).toString();
}

void ClockListView::btnClockNewClick()
{
    // The box's fields keep their last text.
    ui_->pnlClockNew->show();
    ui_->edtClockNo->setFocus();
}

void ClockListView::btnDiscoverClick()
{
    LoftClocks::Discovery found;
    {
        // The user interface waits while the clock answers.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        found = LoftClocks::discoverClock(folder_);
    }
    if (!found.portActive)
        Dialogs::information(this, QString::fromLatin1(ComPortNotActive));
    if (found.serialNo) {
        ui_->edtClockNo->setText(*found.serialNo);
        setStoredText(ui_->edtMemName, loftName_);
    } else if (found.connected) {
        throw CorvelError(QString::fromLatin1(LoftClocks::GetDevNoFail));
    }
}

void ClockListView::btnClockOKClick()
{
    const LoftClocks::SaveOutcome outcome =
        LoftClocks::saveClock(dm_, loftNo_, loftName_, ui_->edtClockNo->text(), ui_->edtMemName->text());
    switch (outcome.kind) {
    case LoftClocks::SaveOutcome::Saved:
        refresh();
        ui_->pnlClockNew->hide();
        emit clocksChanged();
        break;
    case LoftClocks::SaveOutcome::Duplicate:
        Dialogs::information(this, outcome.message);
        ui_->pnlClockNew->hide();
        break;
    case LoftClocks::SaveOutcome::UnknownMember:
        Dialogs::information(this, outcome.message);  // the box stays open
        break;
    }
}

void ClockListView::btnClockCanClick()
{
    ui_->pnlClockNew->hide();
}

void ClockListView::rgClockListClick(int index)
{
    ui_->pnlClockNew->hide();
    if (index != 0 || ui_->dbgrdClockList->currentIndex().row() < 0)
        return;
    if (Dialogs::question(this, QString::fromLatin1(LoftClocks::DeleteQuestion)) != QMessageBox::Yes)
        return;
    LoftClocks::deleteClock(dm_, loftNo_, selectedClockId());
    refresh();
    emit clocksChanged();
}
