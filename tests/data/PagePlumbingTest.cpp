#include "ActionMenu.h"
#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Pickers.h"
#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A page with a grid and a three-item menu over it, as a page form builds them.
struct MenuPage {
    QWidget page;
    QStandardItemModel rows{3, 2};
    QTableView* grid = new QTableView(&page);
    ActionMenu* menu = new ActionMenu(&page);
    QList<int> chosen;

    MenuPage()
    {
        (new QVBoxLayout(&page))->addWidget(grid);
        grid->setModel(&rows);
        auto* items = new QVBoxLayout(menu);
        for (const char* text : {"First", "----", "Third"})
            items->addWidget(new QRadioButton(QString::fromLatin1(text), menu));
        menu->attachTo(grid);
        QObject::connect(menu, &ActionMenu::itemChosen, &page, [this](int index) { chosen << index; });
        page.resize(400, 300);
        page.show();
    }
    QPoint cell(int row) const { return grid->visualRect(rows.index(row, 0)).center(); }
    void release(Qt::MouseButton button, const QPoint& at) { QTest::mouseClick(grid->viewport(), button, {}, at); }
    bool anyChecked() const
    {
        for (const QAbstractButton* item : menu->items())
            if (item->isChecked())
                return true;
        return false;
    }
};

TEST(ActionMenu, RightReleaseShowsItBesideThePointerAndAnyOtherHidesIt)
{
    MenuPage p;
    EXPECT_TRUE(p.menu->isHidden());
    EXPECT_EQ(p.menu->items().size(), 3);
    p.release(Qt::RightButton, p.cell(1));
    EXPECT_TRUE(p.menu->isVisible());
    EXPECT_EQ(p.menu->pos(), p.grid->viewport()->mapTo(&p.page, p.cell(1)) + QPoint(30, 10));
    p.release(Qt::LeftButton, p.cell(2));
    EXPECT_TRUE(p.menu->isHidden());
}

TEST(ActionMenu, ChoosingRunsTheItemThenClearsAndHidesTheMenuUnlessItKeepsTheChoice)
{
    for (const bool keeps : {false, true}) {
        SCOPED_TRACE(keeps);
        MenuPage p;
        p.menu->setKeepsChoice(keeps);
        for (int round = 0; round < 2; ++round) {  // the same item can be chosen again
            p.release(Qt::RightButton, p.cell(0));
            p.menu->items().at(2)->click();
            EXPECT_EQ(p.chosen.size(), round + 1);
            EXPECT_EQ(p.chosen.last(), 2);
            EXPECT_EQ(p.menu->isVisible(), keeps);
            EXPECT_EQ(p.anyChecked(), keeps);
            // A kept choice lasts until the next button release over the grid.
            p.release(Qt::LeftButton, p.cell(0));
            EXPECT_TRUE(p.menu->isHidden());
            EXPECT_FALSE(p.anyChecked());
        }
    }
}

// A form with a date field and a text field to leave it for.
struct DateForm {
    QWidget form;
    DatePicker* date = new DatePicker(&form);
    QLineEdit* other = new QLineEdit(&form);

    DateForm()
    {
        auto* layout = new QVBoxLayout(&form);
        layout->addWidget(date);
        layout->addWidget(other);
        date->setDate(QDate(2026, 1, 15));
        form.show();
        QApplication::setActiveWindow(&form);
        Dialogs::resetTestHooks();
    }
    // Tabs into the field (its first part chosen) and types.
    void type(const QString& keys)
    {
        date->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(date, keys);
    }
    // Clicks into the other field and lets the date field answer.
    void leave()
    {
        other->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
};

TEST(DatePicker, ReadsWhatIsTypedAndKeepsADateThatDoesNotExistWithTheFocusSayingWhy)
{
    // Typed from the year on (as after Tab) or into the part chosen, over 2026/01/15 or 2026/01/31.
    struct Case {
        QDate before;
        QDateTimeEdit::Section part;
        const char* typed;
        QDate date;          // invalid: refused
        const char* reason;  // of a refused text
    };
    const QDate jan15(2026, 1, 15);
    const QDate jan31(2026, 1, 31);
    const auto year = QDateTimeEdit::YearSection;
    const Case cases[] = {
        {jan15, year, "20260228", QDate(2026, 2, 28), ""},
        {jan15, year, "2026/02/28", QDate(2026, 2, 28), ""},
        {jan15, year, "2026/2/3", QDate(2026, 2, 3), ""},
        {jan15, year, "20240229", QDate(2024, 2, 29), ""},
        {jan15, year, "20260230", {}, "\"2026/02/30\" is not a date: February 2026 has 28 days."},
        {jan15, year, "2026/02/30", {}, "\"2026/02/30\" is not a date: February 2026 has 28 days."},
        {jan15, year, "20250229", {}, "\"2025/02/29\" is not a date: February 2025 has 28 days."},
        {jan15, year, "20260431", {}, "\"2026/04/31\" is not a date: April 2026 has 30 days."},
        {jan15, QDateTimeEdit::DaySection, "32", {}, "\"2026/01/32\" is not a date: January 2026 has 31 days."},
        // A month typed under a day it does not have.
        {jan31, QDateTimeEdit::MonthSection, "02", {}, "\"2026/02/31\" is not a date: February 2026 has 28 days."},
        {jan31, QDateTimeEdit::MonthSection, "03", QDate(2026, 3, 31), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DateForm f;
        f.date->setDate(c.before);
        f.date->setFocus(Qt::TabFocusReason);
        f.date->setSelectedSection(c.part);
        QTest::keyClicks(f.date, QString::fromLatin1(c.typed));
        f.leave();
        if (c.date.isValid()) {
            EXPECT_EQ(f.date->date(), c.date);
            EXPECT_TRUE(f.other->hasFocus());
            EXPECT_TRUE(messageTexts().isEmpty());
            continue;
        }
        EXPECT_TRUE(f.date->hasFocus());
        EXPECT_EQ(messageTexts(), QStringList{QString::fromUtf8(c.reason)});
        EXPECT_EQ(f.date->refusal(), QString::fromUtf8(c.reason));
        EXPECT_EQ(f.date->date(), c.before);  // not taken, not made another date
        // Enter and an action that reads the field refuse it the same way.
        QTest::keyClick(f.date, Qt::Key_Return);
        EXPECT_EQ(thrownText([&] { f.date->enteredDate(); }), QString::fromUtf8(c.reason));
        EXPECT_EQ(messageTexts(), QStringList{QString::fromUtf8(c.reason)});
        EXPECT_EQ(f.date->date(), c.before);
    }
}

TEST(DatePicker, AMonthNoYearHasIsRefusedAsItIsTyped)
{
    DateForm f;
    f.date->setFocus(Qt::TabFocusReason);
    f.date->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(f.date, QStringLiteral("13"));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("\"2026/13/15\" is not a date: there is no month 13.")});
    EXPECT_EQ(f.date->text(), QStringLiteral("2026/1/15"));
    EXPECT_TRUE(f.date->hasFocus());
}

TEST(DatePicker, ARefusedDateMendedInPlaceIsTaken)
{
    DateForm f;
    f.type(QStringLiteral("20260230"));
    f.leave();
    ASSERT_EQ(messageTexts().size(), 1);
    ASSERT_TRUE(f.date->hasFocus());
    // Leaving again says it again; an action that has just said it is not repeated.
    f.leave();
    EXPECT_EQ(messageTexts().size(), 1);
    EXPECT_FALSE(thrownText([&] { f.date->enteredDate(); }).isEmpty());
    f.leave();
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_TRUE(f.date->hasFocus());
    f.leave();
    EXPECT_EQ(messageTexts().size(), 1);

    f.date->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(f.date, QStringLiteral("28"));
    EXPECT_EQ(f.date->enteredDate(), QDate(2026, 2, 28));
    f.leave();
    EXPECT_EQ(f.date->date(), QDate(2026, 2, 28));
    EXPECT_EQ(f.date->text(), QStringLiteral("2026/02/28"));
    EXPECT_TRUE(f.other->hasFocus());
    EXPECT_TRUE(messageTexts().isEmpty());
}

// A page whose handlers raise errors, connected the way pages connect theirs.
class HandlerPage : public QWidget {
public:
    int clicks = 0;
    void btnOKClick()
    {
        ++clicks;
        throw CorvelError(QStringLiteral("Nothing to save."));
    }
};

TEST(ConnectGuarded, AnErrorOfAHandlerIsShownAndAbandonsOnlyThatAction)
{
    Dialogs::resetTestHooks();
    HandlerPage page;
    auto* button = new QPushButton(&page);
    connectGuarded(button, &QPushButton::clicked, &page, &HandlerPage::btnOKClick);  // clicked(bool): the handler takes none
    QString typed;
    connectGuarded(button, &QPushButton::clicked, &page, [&typed](bool checked) { typed = checked ? "on" : "off"; });
    button->click();
    button->click();
    EXPECT_EQ(page.clicks, 2);
    EXPECT_EQ(messageTexts(), (QStringList{QStringLiteral("Nothing to save."), QStringLiteral("Nothing to save.")}));
    EXPECT_EQ(typed, QStringLiteral("off"));  // the next handler of the signal still ran
}

TEST(CallOnFirstShow, RunsTheShowHandlerOnceInsideTheGuard)
{
    Dialogs::resetTestHooks();
    QWidget page;
    int shown = 0;
    callOnFirstShow(&page, [&shown] {
        ++shown;
        throw CorvelError(QStringLiteral("The club database is not open."));
    });
    EXPECT_EQ(shown, 0);
    page.show();
    page.hide();
    page.show();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("The club database is not open.")});
}

TEST(SortIndicator, FollowsTheOrderOfTheRowsNotTheClicksThatDoNotSortThem)
{
    QTableView grid;
    RowSetModel rows;
    rows.setRows({QStringLiteral("A"), QStringLiteral("B")}, {{1, 2}, {2, 1}});
    setUpReadOnlyGrid(&grid, &rows);
    grid.resize(300, 200);
    grid.show();
    QHeaderView* header = grid.horizontalHeader();
    header->setSectionsClickable(true);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    // A click with no sort behind it leaves no arrow.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    const struct {
        const char* sort;
        int section;
        Qt::SortOrder order;
    } cases[] = {{"B DESC", 1, Qt::DescendingOrder}, {"A ASC", 0, Qt::AscendingOrder}, {"", -1, Qt::AscendingOrder}};
    for (const auto& c : cases) {
        rows.applySort(QString::fromLatin1(c.sort));
        EXPECT_EQ(header->sortIndicatorSection(), c.section) << c.sort;
        if (c.section >= 0) {
            EXPECT_EQ(header->sortIndicatorOrder(), c.order) << c.sort;
        }
    }
}

}  // namespace
