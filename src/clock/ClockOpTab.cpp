#include "ClockOpTab.h"

#include "ClockOpState.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "RingMatching.h"
#include "RowSetModel.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

namespace {

// Enter in a list's text: the key is used up here, so that the list does not hand it back to its
// text as well, which would run the handler twice.
class EnterKey : public QObject {
public:
    EnterKey(QObject* parent, std::function<void()> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                handler_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> handler_;
};

}  // namespace

ClockOpTab::ClockOpTab(QWidget* parent) : QWidget(parent) {}

void ClockOpTab::attach(const ClockOpContext& context)
{
    context_ = &context;
    attached();
}

void ClockOpTab::stopPollTimer()
{
    if (pollTimer_ != nullptr)
        pollTimer_->stop();
}

void ClockOpTab::makePollTimer(const char* name, std::function<bool()> poll)
{
    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName(QString::fromLatin1(name));
    pollTimer_->setInterval(PollMsecs);
    connect(pollTimer_, &QTimer::timeout, this, [this, poll = std::move(poll)] {
        // Stopped before the hardware is touched, so that no second poll starts while this one
        // works or waits for an answer.
        pollTimer_->stop();
        bool runOn = false;
        guarded(this, [&] { runOn = poll(); });
        if (runOn)
            pollTimer_->start();
    });
}

void ClockOpTab::onEnter(QComboBox* list, std::function<void()> handler)
{
    list->lineEdit()->installEventFilter(new EnterKey(list, [this, handler = std::move(handler)] { guarded(this, handler); }));
}

void ClockOpTab::fillChoices(QComboBox* list, const QStringList& items)
{
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

void ClockOpTab::prepareGrid(QTableView* grid, RowSetModel* rows)
{
    grid->setModel(rows);
    grid->horizontalHeader()->setStretchLastSection(true);
    enableTitleSort(grid, rows, &state().gridSortText);
}

void ClockOpTab::showRows(QTableView* grid, RowSetModel* rows, QSqlQuery& query, const QList<ClockOp::GridColumn>& columns,
                          bool loftNoAsName, const QString& selectRingNo)
{
    ClockOp::applyDisplayRules(dm(), *rows, loftNoAsName);
    for (const ClockOp::GridColumn& c : columns)
        rows->setTitle(c.field, c.title);
    rows->setQueryResult(query);
    QHeaderView* header = grid->horizontalHeader();
    for (int visual = 0; visual < columns.size(); ++visual) {
        const int logical = rows->fieldIndex(columns.at(visual).field);
        if (logical >= 0)
            header->moveSection(header->visualIndex(logical), visual);
    }
    for (int logical = 0; logical < rows->columnCount(); ++logical) {
        bool named = false;
        for (const ClockOp::GridColumn& c : columns)
            named = named || rows->fieldIndex(c.field) == logical;
        grid->setColumnHidden(logical, !named);
    }
    grid->resizeColumnsToContents();
    const int row = selectRingNo.isEmpty() ? -1 : rows->findRow(QStringLiteral("PRingNo"), selectRingNo);
    if (row >= 0) {
        grid->selectRow(row);
        grid->scrollTo(rows->index(row, 0));
    }
}

ShowMessage ClockOpTab::messageBoxes()
{
    return [this](const QString& text) { Dialogs::information(this, text); };
}

void ClockOpTab::keepClockValues(const ClockIdentity& identity, const DesBlock& raceAuth, const QString& clockNo)
{
    ClockOpState& s = state();
    s.sysIdBlock = identity.sysIdBlock;
    s.sysIdCipherBlock = identity.sysIdCipherBlock;
    s.raceAuth = raceAuth;
    s.clockNoBuf.fill('\0');
    const QByteArray number = clockNo.toLatin1().left(static_cast<qsizetype>(s.clockNoBuf.size()) - 1);
    std::copy(number.cbegin(), number.cend(), s.clockNoBuf.begin());
}

bool ClockOpTab::showPollResult(const RingPollResult& result)
{
    if (!result.message.isEmpty())
        Dialogs::information(this, result.message);
    if (result.acceptedRingNo.isEmpty())
        return false;
    QApplication::beep();
    return true;
}
