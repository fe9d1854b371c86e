#include "DistanceView.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "LoftDistModel.h"
#include "LoftDistances.h"
#include "ReadOnlyGrid.h"
#include "ReportPreview.h"
#include "TdmZAVR.h"
#include "ui_DistanceView.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

namespace {

const QString EditorName = QStringLiteral("dbgrdLoftLibDistEditor");

// Editors of the distance grid take digits only; the view watches their keys.
class DistanceDelegate : public QStyledItemDelegate {
public:
    DistanceDelegate(QObject* keyWatcher, QObject* parent) : QStyledItemDelegate(parent), keyWatcher_(keyWatcher) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setObjectName(EditorName);
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), line));
        }
        editor->installEventFilter(keyWatcher_);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void cancel(QWidget* editor) { emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache); }

private:
    QObject* keyWatcher_;
};

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isDigitKey(const QKeyEvent* key)
{
    return key->text().size() == 1 && key->text().front().isDigit() && key->text().front().unicode() < 128;
}

// A typed character that is neither a digit nor Enter (editing keys and navigation excluded).
bool isOtherCharacter(const QKeyEvent* key)
{
    if (key->text().isEmpty() || isEnter(key) || isDigitKey(key))
        return false;
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        return true;
    }
}

}  // namespace

DistanceView::DistanceView(TdmZAVR& dm, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), sortText_(sortText), ui_(std::make_unique<Ui::DistanceView>()),
      adotLoftRaceDist_(new LoftDistModel(this))
{
    ui_->setupUi(this);
    adotLoftRaceDist_->setObjectName(QStringLiteral("adotLoftRaceDist"));
    adotLoftRaceDist_->setPoster(
        [this](const QString& loftNo, int miles, int yards) { return postLoftDistance(loftNo, miles, yards); });
    QTableView* grid = ui_->dbgrdLoftLibDist;
    grid->setModel(adotLoftRaceDist_);
    grid->setItemDelegate(new DistanceDelegate(this, grid));
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->installEventFilter(this);
    // Moving to another row stores the change held for the row left.
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (current.row() != previous.row())
                    adotLoftRaceDist_->submit();
            });
    // A distance typed by hand may be wider than the column: the columns fit after every edit.
    connect(adotLoftRaceDist_, &QAbstractItemModel::dataChanged, grid, &QTableView::resizeColumnsToContents);
    connectGuarded(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &DistanceView::dbgrdLoftLibDistTitleClick);
    connectGuarded(ui_->btnLoftDistUpdate, &QPushButton::clicked, this, &DistanceView::btnLoftDistUpdateClick);
    connectGuarded(ui_->btnLoftLibDist, &QPushButton::clicked, this, &DistanceView::btnLoftLibDistClick);
    connectGuarded(ui_->butPrtLoftRaceDist, &QPushButton::clicked, this, &DistanceView::butPrtLoftRaceDistClick);
}

DistanceView::~DistanceView() = default;

void DistanceView::open(const ListedRace& race)
{
    race_ = race;
    const GridColumns columns = ListColumns::memberDistances(dm_.clubSettings());
    adotLoftRaceDist_->setColumns(columns);
    showColumns(ui_->dbgrdLoftLibDist, columns);
    loadRows();
    ui_->lblLoftPointDistTitle->setText(QStringLiteral("Members Distance of ") + race.liberSite);
}

void DistanceView::loadRows(const QString& sortText)
{
    QTableView* grid = ui_->dbgrdLoftLibDist;
    const QModelIndex current = grid->currentIndex();
    const QString currentLoftNo =
        current.isValid() ? adotLoftRaceDist_->value(current.row(), QStringLiteral("LoftNo")).toString() : QString();
    adotLoftRaceDist_->clearEdits();
    adotLoftRaceDist_->applySort(sortText);
    loadDistanceRows(dm_, race_.key.liberCode, *adotLoftRaceDist_);
    grid->resizeColumnsToContents();
    if (const int row = adotLoftRaceDist_->findRow(QStringLiteral("LoftNo"), currentLoftNo); !currentLoftNo.isEmpty() && row >= 0) {
        const QSignalBlocker block(grid->selectionModel());
        selectRow(grid, row, current.column());
    }
}

bool DistanceView::postLoftDistance(const QString& loftNo, int miles, int yards)
{
    return guarded(this, [&] { saveLoftDistance(dm_, race_.key.liberCode, loftNo, miles, yards); });
}

void DistanceView::cancelEditing()
{
    QTableView* grid = ui_->dbgrdLoftLibDist;
    for (QWidget* editor : grid->findChildren<QWidget*>(EditorName))
        if (editor->isVisible())
            static_cast<DistanceDelegate*>(grid->itemDelegate())->cancel(editor);
    adotLoftRaceDist_->revert();
}

bool DistanceView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // In the grid, Enter stores the row's change and any other character drops it; in a cell's
    // editor, any other character drops the change being typed.
    if (watched == ui_->dbgrdLoftLibDist) {
        if (isEnter(key)) {
            guarded(this, [this] { adotLoftRaceDist_->submit(); });
            return true;
        }
        if (isOtherCharacter(key)) {
            adotLoftRaceDist_->revert();
            return true;
        }
        return false;
    }
    if (auto* editor = qobject_cast<QWidget*>(watched); editor && editor->objectName() == EditorName && isOtherCharacter(key)) {
        static_cast<DistanceDelegate*>(ui_->dbgrdLoftLibDist->itemDelegate())->cancel(editor);
        adotLoftRaceDist_->revert();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DistanceView::dbgrdLoftLibDistTitleClick(int column)
{
    if (column < 0 || column >= adotLoftRaceDist_->fields().size())
        return;
    adotLoftRaceDist_->submit();
    *sortText_ = nextSortText(*sortText_, adotLoftRaceDist_->fields().at(column));
    // Read again, so that the rows sort by what is stored, hand edits included.
    loadRows(*sortText_);
}

void DistanceView::btnLoftDistUpdateClick()
{
    // A change being typed in the grid is dropped.
    cancelEditing();
    const LoftDistUpdateResult result = LoftDistUpdate(dm_, race_.key);
    loadRows();
    for (const QString& message : result.messages)
        Dialogs::information(this, message);
}

void DistanceView::btnLoftLibDistClick()
{
    adotLoftRaceDist_->submit();
    emit closed();
}

void DistanceView::butPrtLoftRaceDistClick()
{
    // A distance being edited is stored first, so the sheet shows what the database holds.
    if (!adotLoftRaceDist_->submit())
        return;
    produceReport(this, ListReports::memberDistances(dm_, dm_.clubSettings(), ui_->lblLoftPointDistTitle->text(),
                                                     *adotLoftRaceDist_));
}
