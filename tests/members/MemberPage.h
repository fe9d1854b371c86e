#pragma once

#include "Dialogs.h"
#include "RowSetModel.h"
#include "TestDatabase.h"
#include "TfrmMember.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// The Member page as its tests drive it: controls found by their names, a small club to work on.

inline void writeIni(TestDatabase& t, const QByteArray& text)
{
    QFile ini(t.folder().iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(text);
}

// A small club: three members (one with two clocks), two liberation points, two colours.
inline void addClub(TestDatabase& t)
{
    t.run(QStringLiteral("insert into ZAVR_ClubData (ClubID,ClubName,AssociationCode) values ('C1','Club','KBDB-X')"));
    t.run(QStringLiteral("insert into ZAVR_LoftData (AssociationCode,LoftNo,LoftName) values "
                         "('U','003','Carr'),('U','001','Adams'),('U','002','Baker')"));
    t.run(QStringLiteral("insert into ZAVR_LoftClocks (LoftNo,ClockID) values ('003','K1'),('003','K2')"));
    t.run(QStringLiteral("insert into ZAVR_LiberateSite (LiberCode,LiberSite) values ('A1','Arras'),('B2','Bapaume')"));
    t.run(QStringLiteral("insert into ZAVR_FeatherColor (ColorType,FeathColor) values ('BLU','Blue'),('RED','Red')"));
}

struct MemberPage {
    explicit MemberPage(TestDatabase& db) : t(db), page(db.dm(), db.folder())
    {
        page.resize(1000, 700);
        page.show();
    }
    template <typename T>
    T* find(const char* name) const
    {
        T* w = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* labelName) const { return find<QLabel>(labelName)->text(); }
    bool shown(const char* name) const { return find<QWidget>(name)->isVisibleTo(&page); }
    void click(const char* buttonName) const { QTest::mouseClick(find<QPushButton>(buttonName), Qt::LeftButton); }
    void type(const char* editName, const QString& keys) const
    {
        auto* edit = find<QLineEdit>(editName);
        edit->clear();
        QTest::keyClicks(edit, keys);
    }
    QTableView* grid(const char* name) const { return find<QTableView>(name); }
    RowSetModel* model(const char* gridName) const { return static_cast<RowSetModel*>(grid(gridName)->model()); }
    QStringList column(const char* gridName, const char* field) const
    {
        QStringList out;
        const RowSetModel* m = model(gridName);
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->displayText(r, QString::fromLatin1(field));
        return out;
    }
    QPoint cellCentre(const char* gridName, int row, const char* field) const
    {
        QTableView* g = grid(gridName);
        return g->visualRect(g->model()->index(row, model(gridName)->fieldIndex(QString::fromLatin1(field)))).center();
    }
    void clickRow(const char* gridName, int row, Qt::MouseButton button = Qt::LeftButton) const
    {
        const char* field = "LoftNo";
        for (const char* key : {"PRingNo", "ClockID"})
            if (model(gridName)->fieldIndex(QString::fromLatin1(key)) >= 0)
                field = key;
        QTest::mouseClick(grid(gridName)->viewport(), button, {}, cellCentre(gridName, row, field));
    }
    void clickTitle(const char* gridName, const char* field) const
    {
        const QHeaderView* header = grid(gridName)->horizontalHeader();
        const int section = model(gridName)->fieldIndex(QString::fromLatin1(field));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                                 header->height() / 2));
    }
    // Right-clicks a row of the grid and chooses an item of the menu that pops up.
    void chooseFromMenu(const char* gridName, int row, const char* menuName, const char* item) const
    {
        clickRow(gridName, row, Qt::RightButton);
        auto* menu = find<QGroupBox>(menuName);
        ASSERT_TRUE(menu->isVisible()) << menuName;
        for (QRadioButton* b : menu->findChildren<QRadioButton*>())
            if (b->text() == QString::fromLatin1(item)) {
                b->click();
                return;
            }
        ADD_FAILURE() << "no item " << item;
    }
    void openRingsOf(int row) const { chooseFromMenu("dbgrdMem", row, "rgMem", "Member Rings List"); }
    // An item of a pop-up menu of the page.
    QAction* action(const char* menuName, const char* actionName) const
    {
        for (QAction* a : find<QMenu>(menuName)->actions())
            if (a->objectName() == QLatin1String(actionName))
                return a;
        ADD_FAILURE() << "no action " << actionName;
        return nullptr;
    }
    QStringList db(const QString& sql) const { return rows(t.dm(), sql); }
    QStringList messages() const { return messageTexts(); }

    TestDatabase& t;
    TfrmMember page;
};

// Four pigeons: three of Adams (one with a colour code missing from the list), one of Baker.
inline void addPigeons(TestDatabase& t)
{
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType,"
                         "Comment,Updatetime,CreateDate) values "
                         "('001','BELG241234567','BELG','24','','1234567','H','BLU','calm','2025-04-03 14:05:06','2025-04-01 00:00:00'),"
                         "('001','NL250001','NL','25','','0001','C','GONE','','2025-12-31 23:59:59',NULL),"
                         "('001','GB23A12345','GB','23','A','12345','','',NULL,NULL,NULL),"
                         "('002','NL259999','NL','25','','9999','C','RED','','2025-01-01 00:00:00',NULL)"));
}
