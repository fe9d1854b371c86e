#include "Dialogs.h"
#include "ReportPreview.h"
#include "ReportTitleText.h"
#include "RowSetModel.h"
#include "TestDatabase.h"
#include "TfrmMember.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void writeIni(TestDatabase& t, const QByteArray& text)
{
    QFile ini(t.folder().iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(text);
}

// A small club: three members (one with two clocks), two liberation points, two colours.
void addClub(TestDatabase& t)
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
        const char* field = model(gridName)->fieldIndex(QStringLiteral("PRingNo")) >= 0 ? "PRingNo" : "LoftNo";
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
    QStringList db(const QString& sql) const { return rows(t.dm(), sql); }
    QStringList messages() const { return messageTexts(); }

    TestDatabase& t;
    TfrmMember page;
};

TEST(TfrmMember, StartUpFillsTheListsAndShowsTheMemberList)
{
    TestDatabase t;
    addClub(t);
    writeIni(t, "[Parameter]\nCountryRingCode=BELG, NL,,GB,\n");
    MemberPage p(t);
    EXPECT_EQ(frmMember.data(), nullptr);  // the main window sets the reference, not the page
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Member"));
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("003"));
    EXPECT_TRUE(p.shown("pnlMem"));
    for (const char* hidden : {"pnlNewMember", "pnlMemRing", "pnlClockList", "rgMem", "rgMemRing", "rgClockList"})
        EXPECT_FALSE(p.shown(hidden)) << hidden;
    EXPECT_EQ(p.column("dbgrdMem", "LoftNo"), (QStringList{"001", "002", "003"}));
    EXPECT_EQ(p.column("dbgrdMem", "clockCnt"), (QStringList{"0", "0", "2"}));
    QTableView* grid = p.grid("dbgrdMem");
    QStringList visible;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            visible << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(visible, (QStringList{"LoftNo", "LoftName", "clockCnt"}));

    auto items = [](QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    };
    EXPECT_EQ(items(p.find<QComboBox>("cbbCountryRingCode")), (QStringList{"BELG", "NL", "", "GB"}));
    EXPECT_EQ(items(p.find<QComboBox>("cbbBColour")), (QStringList{"Other", "Blue", "Red"}));
    EXPECT_EQ(items(p.find<QComboBox>("combLoftName")), (QStringList{"Carr", "Adams", "Baker"}));  // table order
    const QStringList years = items(p.find<QComboBox>("combBYear"));
    ASSERT_EQ(years.size(), 11);
    EXPECT_EQ(years.at(9), QString::number(QDate::currentDate().year() % 100).rightJustified(2, QLatin1Char('0')));
    EXPECT_EQ(p.find<QComboBox>("cbbSex")->currentText(), QStringLiteral("COCK"));
}

TEST(TfrmMember, AddNewSavesTheMemberWithItsDistanceRows)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.click("btnMemNew");
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Member New Add"));
    EXPECT_TRUE(p.shown("pnlNewMember"));
    EXPECT_FALSE(p.shown("pnlMem"));
    EXPECT_FALSE(p.shown("edtUnionCode"));
    EXPECT_EQ(p.find<QLineEdit>("edtUnionCode")->text(), QStringLiteral("KBDB-X"));
    EXPECT_TRUE(p.find<QLineEdit>("edtSeriesNo")->isEnabled());
    p.type("edtSeriesNo", QStringLiteral("l0099"));
    p.find<QLineEdit>("edtName")->setText(QStringLiteral("D'Hondt Émile"));  // keyClicks types ASCII only
    p.find<QLineEdit>("edtToneCity")->setText(QStringLiteral("Liège"));
    QTest::keyClicks(p.find<QLineEdit>("medtLoftLon"), QStringLiteral("e121232433"));
    p.find<QPlainTextEdit>("mmoNote")->setPlainText(QStringLiteral("line 1\nline 'two'"));
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select AssociationCode,LoftNo,LoftName,City,LoftLon,LoftLat,Notes from ZAVR_LoftData "
                                  "where LoftNo='L0099'")),
              QStringList{QStringLiteral("KBDB-X|L0099|D'Hondt Émile|Liège|E121'23:24.33|    '  :  .  |line 1\nline 'two'")});
    EXPECT_EQ(p.db(QStringLiteral("select LiberCode,Miles,Yards from ZAVR_LoftLibPointDist where LoftNo='L0099'")),
              (QStringList{"A1|0|0", "B2|0|0"}));
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("004"));
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Member New Add"));  // kept after a save
    EXPECT_TRUE(p.shown("pnlMem"));
    EXPECT_FALSE(p.shown("pnlNewMember"));
    EXPECT_EQ(p.page.selectedLoftNo(), QStringLiteral("L0099"));
}

TEST(TfrmMember, SaveRefusesAnEmptyNameOrNumberAndATooLongLoftNumber)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.click("btnMemNew");
    EXPECT_EQ(p.find<QLineEdit>("edtSeriesNo")->maxLength(), 12);
    p.type("edtSeriesNo", QStringLiteral("009"));
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("Set new Member find data entry error !")});
    EXPECT_TRUE(p.shown("pnlNewMember"));

    p.type("edtSeriesNo", QStringLiteral("abcdefghijklmn"));  // the form takes 12, the column 10
    EXPECT_EQ(p.find<QLineEdit>("edtSeriesNo")->text(), QStringLiteral("ABCDEFGHIJKL"));
    p.type("edtName", QStringLiteral("Long"));
    p.click("btnOK");
    const QStringList shown = p.messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(QStringLiteral("LoftNo"))) << shown.first().toStdString();
    EXPECT_TRUE(p.shown("pnlNewMember"));
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_LoftData")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_LoftLibPointDist")), QStringList{QStringLiteral("0")});

    p.click("btnCancel");
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Member"));
    EXPECT_TRUE(p.shown("pnlMem"));
}

TEST(TfrmMember, EditMemberUpdatesTheSelectedMember)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("update ZAVR_LoftData set LoftLon='E004''21:10.00', Notes='a\nb' where LoftNo='002'"));
    MemberPage p(t);
    p.chooseFromMenu("dbgrdMem", 1, "rgMem", "Edit Member");
    EXPECT_FALSE(p.shown("rgMem"));
    EXPECT_EQ(p.find<QGroupBox>("rgMem")->findChild<QRadioButton*>()->isChecked(), false);
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Member Edit Update"));
    EXPECT_EQ(p.find<QLineEdit>("edtSeriesNo")->text(), QStringLiteral("002"));
    EXPECT_FALSE(p.find<QLineEdit>("edtSeriesNo")->isEnabled());
    EXPECT_EQ(p.find<QLineEdit>("edtName")->text(), QStringLiteral("Baker"));
    EXPECT_EQ(p.find<QLineEdit>("edtUnionCode")->text(), QStringLiteral("U"));
    EXPECT_EQ(p.find<QPlainTextEdit>("mmoNote")->toPlainText(), QStringLiteral("a\nb"));
    p.type("edtName", QStringLiteral("Baker-Smith"));
    p.click("btnOK");
    EXPECT_EQ(p.db(QStringLiteral("select LoftName,LoftLon,Notes from ZAVR_LoftData where LoftNo='002'")),
              QStringList{QStringLiteral("Baker-Smith|E004'21:10.00|a\nb")});
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("003"));
    EXPECT_EQ(p.column("dbgrdMem", "LoftName"), (QStringList{"Adams", "Baker-Smith", "Carr"}));
}

TEST(TfrmMember, DeleteMemberAsksOnlyWhenItHasPigeons)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('001','R1'),('001','R2'),('001','R3')"));
    MemberPage p(t);
    p.messages();
    Dialogs::setNextAnswer(QMessageBox::No);
    p.chooseFromMenu("dbgrdMem", 0, "rgMem", "Delete Member");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("This Loft has 3 pigeon records, Do you want delete all data ?")});
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("003"));
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_PigData")), QStringList{QStringLiteral("3")});

    Dialogs::setNextAnswer(QMessageBox::Yes);
    p.chooseFromMenu("dbgrdMem", 0, "rgMem", "Delete Member");
    EXPECT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("002"));
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_PigData")), QStringList{QStringLiteral("0")});

    p.chooseFromMenu("dbgrdMem", 0, "rgMem", "Delete Member");  // Baker has no pigeons
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("001"));
    EXPECT_EQ(p.column("dbgrdMem", "LoftNo"), QStringList{QStringLiteral("003")});
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_LoftClocks")), QStringList{QStringLiteral("2")});
}

TEST(TfrmMember, FindsAMemberByNameInTheCurrentOrder)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('000','Carr')"));
    MemberPage p(t);
    auto* combo = p.find<QComboBox>("combLoftName");
    p.clickTitle("dbgrdMem", "LoftNo");
    p.clickTitle("dbgrdMem", "LoftNo");  // descending: 003 Carr comes before 000 Carr
    combo->setEditText(QStringLiteral("Carr"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(p.page.selectedLoftNo(), QStringLiteral("003"));
    combo->setEditText(QStringLiteral("carr"));  // exact match only: the selection stays
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(p.page.selectedLoftNo(), QStringLiteral("003"));
    combo->setEditText(QStringLiteral("Adams"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(p.page.selectedLoftName(), QStringLiteral("Adams"));
}

TEST(TfrmMember, TitleClicksShareOneSortOrderAcrossTheGridsAndVisits)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,Sex) values ('001','B','H'),('001','A','C'),('001','C','H')"));
    TfrmMember::gridSortOrder().clear();
    {
        MemberPage p(t);
        p.clickTitle("dbgrdMem", "LoftNo");
        EXPECT_EQ(TfrmMember::gridSortOrder(), QStringLiteral("LoftNo ASC"));
        p.clickTitle("dbgrdMem", "LoftNo");
        EXPECT_EQ(TfrmMember::gridSortOrder(), QStringLiteral("LoftNo DESC"));
        EXPECT_EQ(p.column("dbgrdMem", "LoftNo"), (QStringList{"003", "002", "001"}));
        p.clickTitle("dbgrdMem", "LoftName");
        EXPECT_EQ(p.column("dbgrdMem", "LoftName"), (QStringList{"Adams", "Baker", "Carr"}));
        p.openRingsOf(0);
        EXPECT_EQ(p.column("dbgrdMemRing", "PRingNo"), (QStringList{"B", "A", "C"}));  // stored order
        p.clickTitle("dbgrdMemRing", "PRingNo");
        EXPECT_EQ(TfrmMember::gridSortOrder(), QStringLiteral("PRingNo ASC"));
        EXPECT_EQ(p.column("dbgrdMemRing", "PRingNo"), (QStringList{"A", "B", "C"}));
        p.clickTitle("dbgrdMemRing", "PRingNo");
        EXPECT_EQ(p.column("dbgrdMemRing", "PRingNo"), (QStringList{"C", "B", "A"}));
    }
    MemberPage again(t);
    EXPECT_EQ(TfrmMember::gridSortOrder(), QStringLiteral("PRingNo DESC"));
    EXPECT_EQ(again.column("dbgrdMem", "LoftNo"), (QStringList{"001", "002", "003"}));
    again.clickTitle("dbgrdMem", "LoftNo");
    EXPECT_EQ(TfrmMember::gridSortOrder(), QStringLiteral("LoftNo ASC"));
    TfrmMember::gridSortOrder().clear();
}

TEST(TfrmMember, RightClickShowsTheMenuBesideThePointer)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    QTableView* grid = p.grid("dbgrdMem");
    const QPoint at = p.cellCentre("dbgrdMem", 2, "LoftNo");
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, at);
    auto* menu = p.find<QGroupBox>("rgMem");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), grid->viewport()->mapTo(&p.page, at) + QPoint(30, 10));
    EXPECT_EQ(p.page.selectedLoftNo(), QStringLiteral("003"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(menu->isVisible());
}

// --- ring register ------------------------------------------------------------------------------

void addPigeons(TestDatabase& t)
{
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType,"
                         "Comment,Updatetime,CreateDate) values "
                         "('001','BELG241234567','BELG','24','','1234567','H','BLU','calm','2025-04-03 14:05:06','2025-04-01 00:00:00'),"
                         "('001','NL250001','NL','25','','0001','C','GONE','','2025-12-31 23:59:59',NULL),"
                         "('001','GB23A12345','GB','23','A','12345','','',NULL,NULL,NULL),"
                         "('002','NL259999','NL','25','','9999','C','RED','','2025-01-01 00:00:00',NULL)"));
}

TEST(TfrmMember, RingListShowsTheMembersPigeonsWithTheirDisplayRules)
{
    TestDatabase t;
    addClub(t);
    addPigeons(t);
    MemberPage p(t);
    // A double click as the window system delivers it: a click, then the double click.
    QTest::mouseClick(p.grid("dbgrdMem")->viewport(), Qt::LeftButton, {}, p.cellCentre("dbgrdMem", 0, "LoftNo"));
    QTest::mouseDClick(p.grid("dbgrdMem")->viewport(), Qt::LeftButton, {}, p.cellCentre("dbgrdMem", 0, "LoftNo"));
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Adams's Ring List"));
    EXPECT_TRUE(p.shown("pnlMemRing"));
    EXPECT_FALSE(p.shown("pnlMem"));
    EXPECT_FALSE(p.shown("edtUpRegNum"));
    EXPECT_FALSE(p.shown("lblUpRegNum"));
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("003"));
    EXPECT_EQ(p.column("dbgrdMemRing", "PRingNo"), (QStringList{"BELG241234567", "NL250001", "GB23A12345"}));
    EXPECT_EQ(p.column("dbgrdMemRing", "Sex"), (QStringList{"Hen", "Cock", ""}));
    EXPECT_EQ(p.column("dbgrdMemRing", "ColorType"), (QStringList{"Blue", "Other", "Other"}));
    EXPECT_EQ(p.column("dbgrdMemRing", "Updatetime"), (QStringList{"04/03 14:05:06", "12/31 23:59:59", ""}));
    EXPECT_EQ(p.column("dbgrdMemRing", "CreateDate"), (QStringList{"2025/04/01", "", ""}));
    QTableView* grid = p.grid("dbgrdMemRing");
    QStringList titles;
    for (int v = 0; v < grid->model()->columnCount(); ++v) {
        const int logical = grid->horizontalHeader()->logicalIndex(v);
        if (!grid->isColumnHidden(logical))
            titles << grid->model()->headerData(logical, Qt::Horizontal).toString();
    }
    EXPECT_EQ(titles, (QStringList{"Life Ring Number", "Color", "Sex of bird", "E_Ring Assignment", "Create Date",
                                   "Assign Date", "Last Update"}));
}

TEST(TfrmMember, AddNewAndAddARangeRegisterRings)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.openRingsOf(0);
    p.click("btnNew");
    EXPECT_FALSE(p.shown("edtUpRegNum"));
    p.find<QComboBox>("cbbCountryRingCode")->setEditText(QStringLiteral("AU"));
    p.find<QComboBox>("combBYear")->setEditText(QStringLiteral("24"));
    p.type("edtRegLetter", QStringLiteral("abc"));
    p.type("edtRegNum", QStringLiteral("5"));
    p.find<QComboBox>("cbbSex")->setEditText(QStringLiteral("Hen"));
    p.find<QComboBox>("cbbBColour")->setCurrentIndex(2);  // Red
    p.find<QPlainTextEdit>("mmoComment")->setPlainText(QStringLiteral("l'oiseau\nbleu"));
    p.click("btnOK_Ring");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select LoftNo,PRingNo,RRegLetter,RRegNumber,Sex,ColorType,Comment from ZAVR_PigData")),
              QStringList{QStringLiteral("001|AU24-ABC-0005|ABC|5|H|RED|l'oiseau\nbleu")});
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("001"));

    p.click("btnNew2");
    EXPECT_TRUE(p.shown("edtUpRegNum"));
    EXPECT_EQ(p.find<QLineEdit>("edtRegLetter")->text(), QString());
    EXPECT_EQ(p.find<QPlainTextEdit>("mmoComment")->toPlainText(), QString());
    p.find<QComboBox>("cbbCountryRingCode")->setEditText(QStringLiteral("NL"));
    p.find<QComboBox>("combBYear")->setEditText(QStringLiteral("25"));
    p.type("edtRegNum", QStringLiteral("0001"));
    p.type("edtUpRegNum", QStringLiteral("0010"));
    p.find<QComboBox>("cbbBColour")->setCurrentIndex(0);  // Other
    p.click("btnOK_Ring");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("011"));
    EXPECT_EQ(p.db(QStringLiteral("select count(*), min(PRingNo), max(PRingNo), min(ColorType), max(ColorType) "
                                  "from ZAVR_PigData where RCountry='NL'")),
              QStringList{QStringLiteral("10|NL250001|NL250010||")});
    EXPECT_EQ(p.find<QLineEdit>("edtUpRegNum")->text(), QString());
    QTableView* grid = p.grid("dbgrdMemRing");
    EXPECT_EQ(p.model("dbgrdMemRing")->value(grid->currentIndex().row(), QStringLiteral("PRingNo")).toString(),
              QStringLiteral("NL250010"));
}

TEST(TfrmMember, BadRangesAndDuplicatesAreRefusedWithoutWriting)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('002','NL250005')"));
    MemberPage p(t);
    p.openRingsOf(0);
    p.click("btnNew2");
    p.find<QComboBox>("cbbCountryRingCode")->setEditText(QStringLiteral("NL"));
    p.find<QComboBox>("combBYear")->setEditText(QStringLiteral("25"));
    const struct {
        const char* lower;
        const char* upper;
        const char* messagePart;
    } cases[] = {
        {"0010", "0009", "must not be below"},
        {"0001", "0300", "at most 256"},
        {"1-", "5", "whole numbers"},
        {"0001", "0010", "NL250005"},
    };
    for (const auto& c : cases) {
        p.type("edtRegNum", QString::fromLatin1(c.lower));
        p.type("edtUpRegNum", QString::fromLatin1(c.upper));
        p.click("btnOK_Ring");
        const QStringList shown = p.messages();
        ASSERT_EQ(shown.size(), 1) << c.messagePart;
        EXPECT_TRUE(shown.first().contains(QString::fromLatin1(c.messagePart))) << shown.first().toStdString();
        EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_PigData")), QStringList{QStringLiteral("1")});
        EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("000"));
    }
}

TEST(TfrmMember, ClickedPigeonIsLoadedAndSaveUpdatesOnlySexColourAndComment)
{
    TestDatabase t;
    addClub(t);
    addPigeons(t);
    MemberPage p(t);
    p.openRingsOf(0);
    p.clickRow("dbgrdMemRing", 1);  // NL250001, colour code missing from the colour list
    EXPECT_EQ(p.find<QComboBox>("cbbCountryRingCode")->currentText(), QStringLiteral("NL"));
    EXPECT_EQ(p.find<QComboBox>("combBYear")->currentText(), QStringLiteral("25"));
    EXPECT_EQ(p.find<QLineEdit>("edtRegNum")->text(), QStringLiteral("0001"));
    EXPECT_EQ(p.find<QComboBox>("cbbSex")->currentText(), QStringLiteral("Cock"));
    EXPECT_EQ(p.find<QComboBox>("cbbBColour")->currentText(), QStringLiteral("Other"));
    for (const char* key : {"cbbCountryRingCode", "combBYear", "edtRegLetter", "edtRegNum"})
        EXPECT_FALSE(p.find<QWidget>(key)->isEnabled()) << key;
    p.clickRow("dbgrdMemRing", 0);
    EXPECT_EQ(p.find<QComboBox>("cbbSex")->currentText(), QStringLiteral("Hen"));
    EXPECT_EQ(p.find<QComboBox>("cbbBColour")->currentText(), QStringLiteral("Blue"));
    EXPECT_EQ(p.find<QPlainTextEdit>("mmoComment")->toPlainText(), QStringLiteral("calm"));
    p.find<QComboBox>("cbbSex")->setEditText(QString());  // empty sex stores "C"
    p.find<QComboBox>("cbbBColour")->setCurrentIndex(2);
    p.find<QPlainTextEdit>("mmoComment")->setPlainText(QStringLiteral("very calm"));
    p.click("btnOK_Ring");
    EXPECT_EQ(p.db(QStringLiteral("select LoftNo,Sex,ColorType,Comment,CreateDate from ZAVR_PigData where PRingNo='BELG241234567'")),
              QStringList{QStringLiteral("001|C|RED|very calm|2025-04-01 00:00:00")});
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("003"));

    p.click("btnCan_Ring");  // key fields stay disabled until AddNew
    EXPECT_FALSE(p.find<QWidget>("edtRegNum")->isEnabled());
    EXPECT_EQ(p.find<QLineEdit>("edtRegNum")->text(), QString());
    p.click("btnNew");
    EXPECT_TRUE(p.find<QWidget>("edtRegNum")->isEnabled());
}

TEST(TfrmMember, DeleteRingAsksAndCountsDownToZero)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('001','R1')"));
    MemberPage p(t);
    p.openRingsOf(0);
    Dialogs::setNextAnswer(QMessageBox::No);
    p.chooseFromMenu("dbgrdMemRing", 0, "rgMemRing", "Delete Ring");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("This will delete the data ?")});
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("001"));
    EXPECT_FALSE(p.shown("rgMemRing"));
    Dialogs::setNextAnswer(QMessageBox::Yes);
    p.chooseFromMenu("dbgrdMemRing", 0, "rgMemRing", "Delete Ring");
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("000"));
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_PigData")), QStringList{QStringLiteral("0")});
}

TEST(TfrmMember, RingFormInputLimits)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.openRingsOf(0);
    const struct {
        const char* edit;
        const char* typed;
        const char* kept;
    } cases[] = {
        {"edtRegLetter", "ab1cde", "AB1C"},
        {"edtRegNum", "12a-34567890", "12-3456"},
        {"edtUpRegNum", "1-2x34567890", "1234567"},
    };
    for (const auto& c : cases) {
        p.type(c.edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(p.find<QLineEdit>(c.edit)->text(), QString::fromLatin1(c.kept)) << c.edit;
    }
    auto* country = p.find<QComboBox>("cbbCountryRingCode");
    country->clearEditText();
    QTest::keyClicks(country->lineEdit(), QStringLiteral("belg"));
    EXPECT_EQ(country->currentText(), QStringLiteral("BELG"));
}

}  // namespace

namespace {

TEST(TfrmMember, ChoosingACountryAppliesItsEntryAids)
{
    TestDatabase t;
    addClub(t);
    writeIni(t, "[Parameter]\nCountryRingCode=BELG,NEHU,GB,AU\n");
    MemberPage p(t);
    p.openRingsOf(0);
    p.click("btnNew");
    auto* country = p.find<QComboBox>("cbbCountryRingCode");
    auto* letters = p.find<QLineEdit>("edtRegLetter");
    auto* number = p.find<QLineEdit>("edtRegNum");
    auto choose = [&](const char* code) {
        country->setCurrentIndex(country->findText(QString::fromLatin1(code)));
        emit country->activated(country->currentIndex());
    };

    choose("BELG");
    EXPECT_EQ(letters->text(), QStringLiteral("-"));
    EXPECT_TRUE(letters->isReadOnly());
    EXPECT_EQ(letters->toolTip(), QStringLiteral("Field value : '-' "));
    EXPECT_EQ(number->maxLength(), 7);

    choose("GB");
    EXPECT_FALSE(letters->isReadOnly());
    EXPECT_EQ(letters->text(), QString());
    QTest::keyClicks(letters, QStringLiteral("1-ab"));
    EXPECT_EQ(letters->text(), QStringLiteral("A"));
    QTest::keyClicks(number, QStringLiteral("1234567"));
    EXPECT_EQ(number->text(), QStringLiteral("12345"));
    EXPECT_EQ(p.find<QLineEdit>("edtUpRegNum")->maxLength(), 5);

    choose("NEHU");
    letters->clear();
    QTest::keyClicks(letters, QStringLiteral("abc"));
    EXPECT_EQ(letters->text(), QStringLiteral("ABC"));
    p.messages();
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(letters, &leave);
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("Registration Letter Input Error!")});
    // A context menu or another window taking the focus for a while is not leaving the field.
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent away(QEvent::FocusOut, reason);
        QApplication::sendEvent(letters, &away);
        EXPECT_EQ(p.messages(), QStringList()) << reason;
    }
    letters->clear();
    QTest::keyClicks(letters, QStringLiteral("shot"));
    QApplication::sendEvent(letters, &leave);
    EXPECT_EQ(p.messages(), QStringList());

    choose("AU");  // no aid: the form's own limits again
    EXPECT_EQ(letters->toolTip(), QString());
    EXPECT_EQ(letters->maxLength(), 4);
    EXPECT_EQ(number->maxLength(), 7);
    letters->clear();
    QTest::keyClicks(letters, QStringLiteral("x1-z"));
    EXPECT_EQ(letters->text(), QStringLiteral("X1-Z"));
}

TEST(TfrmMember, APigeonLoadedForEditingKeepsItsStoredLetters)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber) values "
                         "('001','NL25AB12345678','NL','25','AB','1234567')"));
    MemberPage p(t);
    p.openRingsOf(0);
    p.click("btnNew");
    auto* country = p.find<QComboBox>("cbbCountryRingCode");
    country->setEditText(QStringLiteral("GB"));
    emit country->activated(-1);
    p.clickRow("dbgrdMemRing", 0);
    EXPECT_EQ(p.find<QLineEdit>("edtRegLetter")->text(), QStringLiteral("AB"));
    EXPECT_EQ(p.find<QLineEdit>("edtRegNum")->text(), QStringLiteral("1234567"));
}

TEST(TfrmMember, PrintButtonsPrintTheListsAsTheGridsHoldThem)
{
    TestDatabase t;
    addClub(t);
    addPigeons(t);
    TfrmMember::gridSortOrder().clear();
    takeLastProducedReport();
    MemberPage p(t);
    p.clickTitle("dbgrdMem", "LoftName");
    p.clickTitle("dbgrdMem", "LoftName");
    p.click("butPrtMemList");
    std::optional<Report> report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(reportTitleText(*report).contains(QStringLiteral("Member List")));
    QStringList names;
    for (const QStringList& row : report->rows)
        names << row.at(0);
    EXPECT_EQ(names, (QStringList{"Carr", "Baker", "Adams"}));

    p.openRingsOf(2);
    p.click("butPrtRingList");
    report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(reportTitleText(*report).contains(QStringLiteral(" Ring list of Adams( 001 )"))) << qPrintable(reportTitleText(*report));
    EXPECT_EQ(report->rows.size(), 3);
    EXPECT_TRUE(p.messages().isEmpty());
    TfrmMember::gridSortOrder().clear();
}

}  // namespace
