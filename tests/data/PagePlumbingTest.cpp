#include "ActionMenu.h"
#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "TestDatabase.h"

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

}  // namespace
