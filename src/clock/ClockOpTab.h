#pragma once

#include "ClockDialogue.h"
#include "ClockOpLogic.h"

#include <QList>
#include <QWidget>
#include <functional>

class ClockOpState;
class DataFolder;
class QComboBox;
class QSqlQuery;
class QTableView;
class QTimer;
class RowSetModel;
class TdmZAVR;
struct RingPollResult;

// What every tab of the Clock Operation page works with.
struct ClockOpContext {
    TdmZAVR& dm;
    const DataFolder& folder;
    ClockOpState& state;
    // The page's texts that the race reports read: the number of the clock last programmed or read,
    // and the site (its member's LoftNo) that the clock last read holds.
    QString& clockIdText;
    QString& clockSiteText;
};

// One tab of the Clock Operation page: a Designer form with its handlers. The page tells it which
// link to open when it is chosen, and asks it to fill its choice list; a tab that polls the
// hardware has one poll timer, which the page stops whenever the tab changes.
class ClockOpTab : public QWidget {
    Q_OBJECT
public:
    enum class Link { None, RingReader, Clock };

    explicit ClockOpTab(QWidget* parent = nullptr);

    // Given once by the page, before the tab is used.
    void attach(const ClockOpContext& context);

    // The serial link the page opens when the tab is chosen.
    virtual Link link() const = 0;
    // Clears the tab's choice list and fills it anew.
    virtual void fillList() = 0;

    void stopPollTimer();
    QTimer* pollTimer() const { return pollTimer_; }

    static constexpr int PollMsecs = 300;

protected:
    // Runs once the tab has its context.
    virtual void attached() {}

    TdmZAVR& dm() const { return context_->dm; }
    const DataFolder& folder() const { return context_->folder; }
    ClockOpState& state() const { return context_->state; }
    QString& clockIdText() const { return context_->clockIdText; }
    QString& clockSiteText() const { return context_->clockSiteText; }

    // Creates the tab's poll timer (300 ms, stopped) by that name; each timeout runs poll, with
    // the timer stopped: poll returns whether it runs on.
    void makePollTimer(const char* name, std::function<bool()> poll);
    // Shows the query's rows in grid: the columns' titles and order (fields they do not name are
    // hidden), the page's display rules, and the row whose PRingNo is selectRingNo (when given)
    // selected.
    void showRows(QTableView* grid, RowSetModel* rows, QSqlQuery& query, const QList<ClockOp::GridColumn>& columns,
                  bool loftNoAsName, const QString& selectRingNo = {});
    // Runs handler when Enter is pressed in the editable list (and nothing else then).
    void onEnter(QComboBox* list, std::function<void()> handler);
    // Clears the choice list and fills it with items, none chosen.
    static void fillChoices(QComboBox* list, const QStringList& items);
    // Gives grid its model and title-click sorting with the page's sort text.
    void prepareGrid(QTableView* grid, RowSetModel* rows);
    // Shows a clock dialogue's messages in message boxes.
    ShowMessage messageBoxes();
    // Keeps in the page-wide state what the last dialogue with a clock used: the identity blocks,
    // the race authentication and the clock number.
    void keepClockValues(const ClockIdentity& identity, const DesBlock& raceAuth, const QString& clockNo);
    // Shows a poll's message; for an accepted ring sounds the beep. Returns whether a ring was
    // accepted.
    bool showPollResult(const RingPollResult& result);

private:
    const ClockOpContext* context_ = nullptr;
    QTimer* pollTimer_ = nullptr;
};
