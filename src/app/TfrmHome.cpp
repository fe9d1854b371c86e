#include "TfrmHome.h"

#include "ErrorHandler.h"
#include "Formats.h"
#include "PageTitle.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

TfrmHome::TfrmHome(TdmZAVR& dm, const DataFolder& /*folder*/, QWidget* parent)
    : QWidget(parent), dm_(dm), adoqDBGrid_(new RowSetModel(this)),
      DBGrid1_(makeReadOnlyGrid(this, QStringLiteral("DBGrid1"), adoqDBGrid_))
{
    setObjectName(QStringLiteral("frmHome"));
    QVBoxLayout* layout = addPageTitle(this, QStringLiteral("Home"));

    adoqDBGrid_->setObjectName(QStringLiteral("adoqDBGrid"));
    adoqDBGrid_->setAllAlignments(Qt::AlignCenter);
    adoqDBGrid_->setDisplayRule(QStringLiteral("LastSynchDate"), [](const QVariant& value) {
        return Formats::formatDate(QStringLiteral("yyyy/mm/dd"), Formats::fromDbDate(value));
    });

    DBGrid1_->horizontalHeader()->setSectionsClickable(true);
    DBGrid1_->horizontalHeader()->setMinimumSectionSize(140);
    connect(DBGrid1_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmHome::DBGrid1TitleClick);
    layout->addWidget(DBGrid1_, 1);
}

QString& TfrmHome::sortText()
{
    static QString text;
    return text;
}

void TfrmHome::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TfrmHome::FormShow()
{
    adoqDBGrid_->clear();
    guarded(this, [this] {
        QSqlQuery query = dm_.exec(QStringLiteral("select ClockID,LoftName,LastSynchDate from  ZAVR_LoftClocks a "
                                                  "LEFT Join ZAVR_LoftData b on a.LoftNo=b.LoftNo "));
        adoqDBGrid_->setQueryResult(query);
        DBGrid1_->resizeColumnsToContents();
    });
}

void TfrmHome::DBGrid1TitleClick(int column)
{
    if (column < 0 || column >= adoqDBGrid_->fields().size())
        return;
    sortText() = nextSortText(sortText(), adoqDBGrid_->fields().at(column));
    adoqDBGrid_->applySort(sortText());
}
