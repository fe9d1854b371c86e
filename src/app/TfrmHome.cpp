#include "TfrmHome.h"

#include "ClubClocks.h"
#include "ErrorHandler.h"
#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "ui_TfrmHome.h"

#include <QHeaderView>

TfrmHome::TfrmHome(TdmZAVR& dm, const DataFolder& /*folder*/, QWidget* parent)
    : QWidget(parent), dm_(dm), ui_(std::make_unique<Ui::TfrmHome>()), adoqDBGrid_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqDBGrid_->setObjectName(QStringLiteral("adoqDBGrid"));
    adoqDBGrid_->setColumns(clubClockColumns());
    setUpReadOnlyGrid(ui_->DBGrid1, adoqDBGrid_);
    ui_->DBGrid1->horizontalHeader()->setSectionsClickable(true);
    // The three columns share the page's width.
    ui_->DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connectGuarded(ui_->DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmHome::DBGrid1TitleClick);
}

TfrmHome::~TfrmHome() = default;

QString& TfrmHome::sortText()
{
    static QString text;
    return text;
}

void TfrmHome::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    guarded(this, [this] { FormShow(); });
}

void TfrmHome::FormShow()
{
    adoqDBGrid_->clear();
    loadClubClocks(dm_, *adoqDBGrid_);
}

void TfrmHome::DBGrid1TitleClick(int column)
{
    sortByTitle(adoqDBGrid_, column, &sortText());
}
