#include "Dialogs.h"
#include "MemberPage.h"
#include "PagePicture.h"
#include "ReportPreview.h"
#include "ReportTitleText.h"
#include "RowSetModel.h"
#include "TestDatabase.h"
#include "TfrmMember.h"

#include <QAbstractItemView>
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
#include <QSet>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

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
    // Named by the field's caption, not by its column.
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("The value of Loft Number is not accepted: at most 10 characters.")});
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

// --- what a new user ran into -------------------------------------------------------------------

TEST(TfrmMember, AddNewUnderATakenLoftNumberAsksBeforeReplacingThatMember)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("update ZAVR_LoftData set Street='Old Street 1', Notes='keep me' where LoftNo='001'"));
    MemberPage p(t);
    p.click("btnMemNew");
    p.type("edtSeriesNo", QStringLiteral("001"));
    p.type("edtName", QStringLiteral("Dup Person"));
    p.click("btnOK");  // No by default
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("Loft 001 already belongs to Adams . Replace its details?")});
    EXPECT_EQ(p.db(QStringLiteral("select LoftName,Street,Notes from ZAVR_LoftData where LoftNo='001'")),
              QStringList{QStringLiteral("Adams|Old Street 1|keep me")});
    EXPECT_TRUE(p.shown("pnlNewMember"));

    Dialogs::setNextAnswer(QMessageBox::Yes);
    p.click("btnOK");
    EXPECT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.db(QStringLiteral("select LoftName,Street,Notes from ZAVR_LoftData where LoftNo='001'")),
              QStringList{QStringLiteral("Dup Person||")});
    EXPECT_EQ(p.text("lblMemCnt"), QStringLiteral("003"));

    p.chooseFromMenu("dbgrdMem", 1, "rgMem", "Edit Member");  // editing a member asks nothing
    p.type("edtName", QStringLiteral("Baker Two"));
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select LoftName from ZAVR_LoftData where LoftNo='002'")), QStringList{QStringLiteral("Baker Two")});
}

TEST(TfrmMember, RingSavesThatWouldChangeAnotherMembersPigeonOrStoreAnEmptyNumberAreRefused)
{
    TestDatabase t;
    addClub(t);
    addPigeons(t);
    writeIni(t, "[Parameter]\nCountryRingCode=NL,GB\n");
    MemberPage p(t);
    const QString before = p.db(QStringLiteral("select group_concat(PRingNo||Sex||ifnull(Comment,''), ',') from ZAVR_PigData")).join(QString());

    p.openRingsOf(1);  // Baker
    p.click("btnNew");
    auto* country = p.find<QComboBox>("cbbCountryRingCode");
    const struct {
        const char* country;
        const char* letters;
        const char* number;
        const char* message;
    } cases[] = {
        {"NL", "", "0001", "The ring number NL250001 belongs to Adams (loft 001): it is not saved for this member."},
        {"NL", "", "", "The Registration Number is empty: nothing is saved."},
        {"GB", "", "12345", "The Registration Letter is empty: a GB ring number needs one. Nothing is saved."},
    };
    for (const auto& c : cases) {
        country->setCurrentIndex(country->findText(QString::fromLatin1(c.country)));
        emit country->activated(country->currentIndex());
        p.find<QComboBox>("combBYear")->setEditText(QStringLiteral("25"));
        p.type("edtRegLetter", QString::fromLatin1(c.letters));
        p.type("edtRegNum", QString::fromLatin1(c.number));
        p.find<QPlainTextEdit>("mmoComment")->setPlainText(QStringLiteral("changed"));
        p.click("btnOK_Ring");
        EXPECT_EQ(p.messages(), QStringList{QString::fromLatin1(c.message)});
    }

    // A pigeon clicked, "Cancel" (the number emptied), "Save".
    p.openRingsOf(0);
    p.clickRow("dbgrdMemRing", 2);  // GB23A12345
    p.click("btnCan_Ring");
    p.click("btnOK_Ring");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("The Registration Number is empty: nothing is saved.")});
    EXPECT_EQ(p.db(QStringLiteral("select group_concat(PRingNo||Sex||ifnull(Comment,''), ',') from ZAVR_PigData")).join(QString()),
              before);
}

TEST(TfrmMember, TypedCoordinatesMustBeAPlaceOnEarthButStoredOnesLoadAndSaveUntouched)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("update ZAVR_LoftData set LoftLon='E999''99:99.99', LoftLat='N099''00:00.00' where LoftNo='002'"));
    MemberPage p(t);
    p.click("btnMemNew");
    p.type("edtSeriesNo", QStringLiteral("009"));
    p.type("edtName", QStringLiteral("New"));
    auto* lon = p.find<QLineEdit>("medtLoftLon");
    auto* lat = p.find<QLineEdit>("medtLoftLat");
    QTest::keyClicks(lon, QStringLiteral("e180000001"));
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("Lontitude \"E180'00:00.01\": a longitude may not be over 180 degrees.")});
    EXPECT_EQ(p.page.focusWidget(), lon);
    lon->clear();
    QTest::keyClicks(lon, QStringLiteral("e180000000"));
    QTest::keyClicks(lat, QStringLiteral("n024600000"));
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("Latitude \"N024'60:00.00\": the minutes must be below 60.")});
    EXPECT_EQ(p.page.focusWidget(), lat);
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_LoftData where LoftNo='009'")), QStringList{QStringLiteral("0")});
    p.click("btnCancel");

    p.chooseFromMenu("dbgrdMem", 1, "rgMem", "Edit Member");
    EXPECT_EQ(lon->text(), QStringLiteral("E999'99:99.99"));
    p.type("edtName", QStringLiteral("Baker Moved"));
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select LoftName,LoftLon,LoftLat from ZAVR_LoftData where LoftNo='002'")),
              QStringList{QStringLiteral("Baker Moved|E999'99:99.99|N099'00:00.00")});
}

TEST(TfrmMember, TextFieldsTakeAtMostTheirColumnsWidthAsTyped)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.click("btnMemNew");
    p.click("btnCancel");
    p.openRingsOf(0);
    p.action("pmFeatherColor", "AAdd1")->trigger();
    const struct {
        const char* edit;
        int width;
    } fields[] = {
        {"edtName", 30}, {"edtStreet", 50}, {"edtToneCity", 30}, {"edtPostCode", 10}, {"edtPhone", 15},
        {"edtClockNo", 10}, {"edtMemName", 30}, {"edtColorCode", 4}, {"edtColorName", 20},
    };
    const QString typed(60, QLatin1Char('7'));
    for (const auto& f : fields) {
        p.type(f.edit, typed);
        EXPECT_EQ(p.find<QLineEdit>(f.edit)->text().size(), f.width) << f.edit;
    }
}

TEST(TfrmMember, StoredTextLongerThanTheFieldTakesIsShownAndSavedWhole)
{
    TestDatabase t;
    addClub(t);
    // 15 characters for the database, 30 UTF-16 units for the field.
    const QString phone = QString::fromUcs4(U"\U0001F426").repeated(15);
    t.run(QStringLiteral("update ZAVR_LoftData set PhoneNo=? where LoftNo='001'"), {phone});
    MemberPage p(t);
    p.chooseFromMenu("dbgrdMem", 0, "rgMem", "Edit Member");
    EXPECT_EQ(p.find<QLineEdit>("edtPhone")->text(), phone);
    p.click("btnOK");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select PhoneNo from ZAVR_LoftData where LoftNo='001'")), QStringList{phone});
}

TEST(TfrmMember, ThePageShowsItsPictureOnTheLeft)
{
    TestDatabase t;
    MemberPage p(t);
    auto* picture = p.find<PagePicture>("Image4");
    EXPECT_TRUE(picture->isVisible());
    EXPECT_GE(picture->width(), 80);
    EXPECT_GE(picture->height(), 400);
    // Most of the strip is drawn, in more than a couple of colours.
    const QImage shot = picture->grab().toImage();
    const QRgb background = p.page.grab().toImage().pixel(1, p.page.height() - 2);
    int drawn = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            drawn += shot.pixel(x, y) != background ? 1 : 0;
            colours.insert(shot.pixel(x, y));
        }
    EXPECT_GT(drawn, shot.width() * shot.height() / 2);
    EXPECT_GT(colours.size(), 20);
}

TEST(TfrmMember, FormsKeepStillAndLetTheKeyboardThrough)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.click("btnMemNew");
    auto* notes = p.find<QPlainTextEdit>("mmoNote");
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Tab);  // Tab leaves the notes
    EXPECT_NE(p.page.focusWidget(), notes);
    EXPECT_EQ(notes->toPlainText(), QString());
    p.click("btnCancel");

    p.openRingsOf(0);
    auto* year = p.find<QComboBox>("combBYear");
    QApplication::setActiveWindow(&p.page);  // completion works in the field that has the focus
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.page));
    year->setFocus();
    year->clearEditText();
    QTest::keyClicks(year->lineEdit(), QStringLiteral("2"));
    EXPECT_EQ(year->currentText(), QStringLiteral("2"));  // not completed to a listed year

    // "Add a Range" shows the upper number in the place kept for it.
    const auto places = [&p] {
        QList<QRect> out;
        for (const char* name : {"dbgrdMemRing", "cbbSex", "mmoComment", "lblSex", "btnOK_Ring"})
            out << p.find<QWidget>(name)->geometry();
        return out;
    };
    p.click("btnNew");
    const QList<QRect> single = places();
    p.click("btnNew2");
    EXPECT_TRUE(p.shown("edtUpRegNum"));
    EXPECT_EQ(places(), single);
}

TEST(TfrmMember, TheLoftNameListShowsItsFirstItemWhole)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    auto* names = p.find<QComboBox>("combLoftName");
    names->showPopup();
    QAbstractItemView* list = names->view();
    ASSERT_TRUE(list->isVisible());
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const QRect seen = list->viewport()->rect();
    EXPECT_TRUE(seen.contains(first)) << first.top() << " " << first.bottom() << " in " << seen.top() << " " << seen.bottom();
    EXPECT_GE(first.height(), list->fontMetrics().height());
    EXPECT_GE(first.width(), list->fontMetrics().horizontalAdvance(names->itemText(0)));
    // The list opens below the field, not over it.
    EXPECT_GE(list->mapToGlobal(first.topLeft()).y(), names->mapToGlobal(QPoint(0, names->height())).y());
    names->hidePopup();
}

TEST(TfrmMember, SortedColumnsShowTheirArrowUntilTheListIsReadAgain)
{
    TestDatabase t;
    addClub(t);
    TfrmMember::gridSortOrder().clear();
    MemberPage p(t);
    const QHeaderView* header = p.grid("dbgrdMem")->horizontalHeader();
    const int loftNo = p.model("dbgrdMem")->fieldIndex(QStringLiteral("LoftNo"));
    const int loftName = p.model("dbgrdMem")->fieldIndex(QStringLiteral("LoftName"));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    const struct {
        const char* field;
        int section;
        Qt::SortOrder order;
    } clicks[] = {{"LoftNo", loftNo, Qt::AscendingOrder}, {"LoftNo", loftNo, Qt::DescendingOrder},
                  {"LoftName", loftName, Qt::AscendingOrder}};
    for (const auto& c : clicks) {
        p.clickTitle("dbgrdMem", c.field);
        EXPECT_EQ(header->sortIndicatorSection(), c.section) << c.field;
        EXPECT_EQ(header->sortIndicatorOrder(), c.order) << c.field;
    }
    p.chooseFromMenu("dbgrdMem", 0, "rgMem", "Delete Member");  // read again: the statement's order
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    TfrmMember::gridSortOrder().clear();
}

}  // namespace
