#include "ClockListView.h"

#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "ui_ClockListView.h"

ClockListView::ClockListView(QString* sortText, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ClockListView>()), adoqClockList_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqClockList_->setObjectName(QStringLiteral("adoqClockList"));
    setUpReadOnlyGrid(ui_->dbgrdClockList, adoqClockList_);
    enableTitleSort(ui_->dbgrdClockList, adoqClockList_, sortText);
}

ClockListView::~ClockListView() = default;

QTableView* ClockListView::dbgrdClockList() const
{
    return ui_->dbgrdClockList;
}
