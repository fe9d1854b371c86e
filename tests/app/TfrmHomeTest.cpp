#include "Dialogs.h"
#include "RowSetModel.h"
#include "TestDatabase.h"
#include "TfrmHome.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct HomePage {
    explicit HomePage(TestDatabase& t) : page(t.dm(), t.folder())
    {
        page.show();
        grid = page.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    }
    QString cell(int row, int column) const { return grid->model()->index(row, column).data().toString(); }
    QStringList columnTexts(int column) const
    {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << cell(r, column);
        return out;
    }
    void clickTitle(int column) const
    {
        const QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
    }
    TfrmHome page;
    QTableView* grid = nullptr;
};

void addClubClocks(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L1', 'Peeters'), ('L2', 'Adams')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftClocks (LoftNo, ClockID, LastSynchDate) VALUES "
                         "('L1', 'C300', '2024-05-03 17:45:10'), ('L2', 'C100', NULL), ('GONE', 'C200', '2023-12-31 00:00:00')"));
}

TEST(TfrmHome, ListsEveryClockWithItsMembersNameAndLastProgrammingDate)
{
    TestDatabase t;
    addClubClocks(t);
    HomePage home(t);
    ASSERT_NE(home.grid, nullptr);
    const auto* model = home.grid->model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ClockID"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("LoftName"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("LastSynchDate"));
    EXPECT_EQ(home.columnTexts(0), (QStringList{"C300", "C100", "C200"}));
    EXPECT_EQ(home.columnTexts(1), (QStringList{"Peeters", "Adams", ""}));        // a deleted member: empty name
    EXPECT_EQ(home.columnTexts(2), (QStringList{"2024/05/03", "", "2023/12/31"}));  // never programmed: empty date
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(model->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(home.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(home.page.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Home"));
}

TEST(TfrmHome, TitleClicksToggleTheSortAndTheSortTextOutlivesThePage)
{
    TestDatabase t;
    addClubClocks(t);
    TfrmHome::sortText().clear();
    {
        HomePage home(t);
        home.clickTitle(1);
        EXPECT_EQ(TfrmHome::sortText(), QStringLiteral("LoftName ASC"));
        EXPECT_EQ(home.columnTexts(1), (QStringList{"", "Adams", "Peeters"}));
        home.clickTitle(1);
        EXPECT_EQ(home.columnTexts(1), (QStringList{"Peeters", "Adams", ""}));
        home.clickTitle(1);
        EXPECT_EQ(TfrmHome::sortText(), QStringLiteral("LoftName ASC"));
    }
    {
        // A new page shows the rows unsorted; the first click on the same column sorts descending.
        HomePage home(t);
        EXPECT_EQ(home.columnTexts(0), (QStringList{"C300", "C100", "C200"}));
        home.clickTitle(1);
        EXPECT_EQ(TfrmHome::sortText(), QStringLiteral("LoftName DESC"));
        EXPECT_EQ(home.columnTexts(1), (QStringList{"Peeters", "Adams", ""}));
        home.clickTitle(0);
        EXPECT_EQ(TfrmHome::sortText(), QStringLiteral("ClockID ASC"));
        EXPECT_EQ(home.columnTexts(0), (QStringList{"C100", "C200", "C300"}));
    }
}

TEST(TfrmHome, TheGridFillsThePageAndItsSortedColumnShowsTheArrow)
{
    TestDatabase t;
    addClubClocks(t);
    TfrmHome::sortText().clear();
    HomePage home(t);
    home.page.resize(1000, 600);
    QApplication::processEvents();
    const QHeaderView* header = home.grid->horizontalHeader();
    EXPECT_EQ(header->length(), home.grid->viewport()->width());
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    home.clickTitle(1);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    home.clickTitle(1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    TfrmHome::sortText().clear();
}

TEST(TfrmHome, FailingQueryLeavesTheGridEmptyAndShowsTheError)
{
    TestDatabase t;
    addClubClocks(t);
    t.run(QStringLiteral("DROP TABLE ZAVR_LoftClocks"));
    Dialogs::takeMessages();
    HomePage home(t);
    EXPECT_EQ(home.grid->model()->rowCount(), 0);
    const auto shown = Dialogs::takeMessages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().text.contains(QStringLiteral("ZAVR_LoftClocks"))) << shown.first().text.toStdString();
}

}  // namespace
