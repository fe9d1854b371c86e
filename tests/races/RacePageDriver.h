#pragma once

#include "Dialogs.h"
#include "TestDatabase.h"
#include "TfrmRace.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// Drives the Races page in tests: finds its controls by name and clicks them as a user would.

inline int count(TestDatabase& t, const QString& table, const QString& where = QStringLiteral("1"))
{
    return t.dm().scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table, where)).toInt();
}

struct RacePage {
    explicit RacePage(TestDatabase& t) : page(std::make_unique<TfrmRace>(t.dm(), t.folder()))
    {
        page->resize(1200, 800);
        page->show();
        // Active, so that the focus moves as it does for a user.
        page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(page.get()));
        grid = page->findChild<QTableView*>(QStringLiteral("dbgrd1"));
    }
    template <typename T>
    T* get(const char* name) const
    {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
    void click(const char* name) const { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    bool hidden(const char* name) const { return get<QWidget>(name)->isHidden(); }
    QString cell(QTableView* view, int row, int column) const { return view->model()->index(row, column).data().toString(); }
    QStringList column(QTableView* view, int c) const
    {
        QStringList out;
        for (int r = 0; r < view->model()->rowCount(); ++r)
            out << cell(view, r, c);
        return out;
    }
    void clickRow(int row) const
    {
        const QRect rect = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void clickTitle(QTableView* view, int c) const
    {
        const QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, header->height() / 2));
    }
    // The items of the race list's operations menu.
    QList<QRadioButton*> menuItems() const { return get<QGroupBox>("rgRacePoint")->findChildren<QRadioButton*>(); }
    // Right-clicks the race list's current row (below the rows when there is none) and chooses
    // an item of the operations menu.
    void menu(int item) const
    {
        const QModelIndex current = grid->currentIndex();
        const QPoint at = current.isValid() ? grid->visualRect(current).center() : QPoint(4, grid->viewport()->height() - 4);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, at);
        EXPECT_FALSE(hidden("rgRacePoint"));
        menuItems().at(item)->click();
    }
    void typeCoordinate(const char* name, const QString& text) const
    {
        auto* edit = get<QLineEdit>(name);
        edit->setFocus();
        edit->home(false);
        QTest::keyClicks(edit, text);
    }
    std::unique_ptr<TfrmRace> page;
    QTableView* grid = nullptr;
};

