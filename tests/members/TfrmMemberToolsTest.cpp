// The Member page's clock list, spreadsheet tools and colour list, driven as a user would.
#include "MemberPage.h"
#include "PigeonSpreadsheet.h"
#include "PortScan.h"
#include "SimulatedBench.h"
#include "SpreadsheetReader.h"

#include <QComboBox>

namespace {

// --- loft clocks --------------------------------------------------------------------------------

QStringList visibleTitles(QTableView* grid)
{
    QStringList titles;
    for (int v = 0; v < grid->model()->columnCount(); ++v) {
        const int logical = grid->horizontalHeader()->logicalIndex(v);
        if (!grid->isColumnHidden(logical))
            titles << grid->model()->headerData(logical, Qt::Horizontal).toString();
    }
    return titles;
}

// Row 0 of the member list is Adams (no clocks), row 2 Carr (clocks K1 and K2).
void openClocksOf(MemberPage& p, int row)
{
    p.chooseFromMenu("dbgrdMem", row, "rgMem", "Member Clocks");
}

TEST(MemberClocks, MemberClocksShowsTheClockListWithoutTheAddBox)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("update ZAVR_LoftClocks set LastSynchDate='2025-04-03 10:00:00', SynchStat=1 where ClockID='K1'"));
    MemberPage p(t);
    openClocksOf(p, 2);
    EXPECT_TRUE(p.shown("pnlClockList"));
    EXPECT_FALSE(p.shown("pnlMem"));
    EXPECT_FALSE(p.shown("pnlClockNew"));
    EXPECT_EQ(p.text("lblTitle"), QStringLiteral("Member"));  // the page's title stays
    EXPECT_EQ(p.text("lblClockListTitle"), QStringLiteral("Carr's Clock List"));
    EXPECT_EQ(p.text("lblClockListSum"), QStringLiteral("Number of clocks 2"));
    EXPECT_EQ(visibleTitles(p.grid("dbgrdClockList")),
              (QStringList{"Serial Number", "Date last synchronized ", "Sync. required"}));
    EXPECT_EQ(p.column("dbgrdClockList", "ClockID"), (QStringList{"K1", "K2"}));
    EXPECT_EQ(p.column("dbgrdClockList", "LastSynchDate"), (QStringList{"2025/04/03 10:00:00", ""}));
    EXPECT_EQ(p.column("dbgrdClockList", "SynchStat"), (QStringList{"1", "0"}));
    EXPECT_EQ(p.page.adoqClockList()->rowCount(), 2);
}

TEST(MemberClocks, SaveRegistersTheClockAndTheMemberListCountsIt)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    openClocksOf(p, 0);
    EXPECT_EQ(p.text("lblClockListSum"), QStringLiteral("Number of clocks 0"));
    p.click("btnClockNew");
    EXPECT_TRUE(p.shown("pnlClockNew"));
    EXPECT_EQ(p.page.focusWidget(), p.find<QLineEdit>("edtClockNo"));
    p.type("edtClockNo", QStringLiteral("12345678"));
    p.type("edtMemName", QStringLiteral("Baker"));  // must be a member's name; does not choose the member
    p.click("btnClockOK");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select LoftNo,ClockID from ZAVR_LoftClocks where ClockID='12345678'")),
              QStringList{QStringLiteral("001|12345678")});
    EXPECT_EQ(p.text("lblClockListSum"), QStringLiteral("Number of clocks 1"));
    EXPECT_EQ(p.column("dbgrdClockList", "ClockID"), QStringList{QStringLiteral("12345678")});
    EXPECT_FALSE(p.shown("pnlClockNew"));
    EXPECT_EQ(p.column("dbgrdMem", "clockCnt"), (QStringList{"1", "0", "2"}));

    p.click("btnClockNew");  // the fields keep their text
    EXPECT_EQ(p.find<QLineEdit>("edtClockNo")->text(), QStringLiteral("12345678"));
    p.click("btnClockCan");
    EXPECT_FALSE(p.shown("pnlClockNew"));
    EXPECT_TRUE(p.shown("pnlClockList"));
}

TEST(MemberClocks, SaveRefusesADuplicateAndAnUnknownNameAndShowsADatabaseError)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    openClocksOf(p, 2);
    const struct {
        const char* clockNo;
        const char* memberName;
        const char* message;
        bool boxStays;
    } cases[] = {
        {"K1", "Carr", "Carr's Clock serial number K1 duplicate !", false},
        {"K3", "carr", "carr not find in Member data !", true},
    };
    for (const auto& c : cases) {
        p.click("btnClockNew");
        p.type("edtClockNo", QString::fromLatin1(c.clockNo));
        p.type("edtMemName", QString::fromLatin1(c.memberName));
        p.click("btnClockOK");
        EXPECT_EQ(p.messages(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(p.shown("pnlClockNew"), c.boxStays) << c.clockNo;
        EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_LoftClocks")), QStringList{QStringLiteral("2")});
    }

    t.run(QStringLiteral("create trigger refuse before insert on ZAVR_LoftClocks begin select raise(abort, 'disk is full'); end"));
    p.type("edtMemName", QStringLiteral("Carr"));
    p.click("btnClockOK");
    const QStringList shown = p.messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(QStringLiteral("disk is full"))) << shown.first().toStdString();
    EXPECT_EQ(p.text("lblClockListSum"), QStringLiteral("Number of clocks 2"));
    EXPECT_EQ(p.column("dbgrdClockList", "ClockID"), (QStringList{"K1", "K2"}));
}

TEST(MemberClocks, DeleteAsksAndTheMenuKeepsItsChoiceUntilTheNextClick)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    openClocksOf(p, 2);
    p.click("btnClockNew");
    Dialogs::setNextAnswer(QMessageBox::No);
    p.chooseFromMenu("dbgrdClockList", 0, "rgClockList", "Delete");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("This will delete the data ?")});
    EXPECT_EQ(p.text("lblClockListSum"), QStringLiteral("Number of clocks 2"));
    EXPECT_FALSE(p.shown("pnlClockNew"));  // hidden either way
    auto* menu = p.find<QGroupBox>("rgClockList");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->findChild<QRadioButton*>()->isChecked());
    p.clickRow("dbgrdClockList", 1);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(menu->findChild<QRadioButton*>()->isChecked());

    Dialogs::setNextAnswer(QMessageBox::Yes);
    p.chooseFromMenu("dbgrdClockList", 1, "rgClockList", "Delete");
    EXPECT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.db(QStringLiteral("select ClockID from ZAVR_LoftClocks")), QStringList{QStringLiteral("K1")});
    EXPECT_EQ(p.text("lblClockListSum"), QStringLiteral("Number of clocks 1"));
    EXPECT_EQ(p.column("dbgrdClockList", "ClockID"), QStringList{QStringLiteral("K1")});
    EXPECT_EQ(p.column("dbgrdMem", "clockCnt"), (QStringList{"0", "0", "1"}));
}

TEST(MemberClocks, DiscoverFillsTheSerialNumberAndFreesThePortEvenAfterAFailure)
{
    TestDatabase t;
    addClub(t);
    writeIni(t, "[Parameter]\nSysID=CLUB\n");
    SimulatedBench bench(t.path() + QStringLiteral("/bench.json"));
    bench.addClock(QStringLiteral("987654321"), QStringLiteral("OTHER"));
    MemberPage p(t);
    openClocksOf(p, 0);
    p.click("btnClockNew");
    p.type("edtClockNo", QStringLiteral("typed"));
    p.type("edtMemName", QStringLiteral("someone"));
    const auto fields = [&p] {
        return QStringList{p.find<QLineEdit>("edtClockNo")->text(), p.find<QLineEdit>("edtMemName")->text()};
    };

    p.click("btnDiscover");  // no clock on any port
    EXPECT_EQ(p.messages(), QStringList{QString::fromLatin1(ComPortNotActive)});
    EXPECT_EQ(fields(), (QStringList{"typed", "someone"}));

    bench.connectClock(2, QStringLiteral("987654321"));
    p.click("btnDiscover");  // a clock of another club refuses the connection: nothing is said
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(fields(), (QStringList{"typed", "someone"}));

    bench.setClockIdentity(QStringLiteral("987654321"), QStringLiteral("CLUB"));
    p.click("btnDiscover");  // the port was given back each time
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(fields(), (QStringList{"987654321", "Adams"}));
    p.click("btnClockOK");
    EXPECT_EQ(p.db(QStringLiteral("select LoftNo,ClockID from ZAVR_LoftClocks where LoftNo='001'")),
              QStringList{QStringLiteral("001|987654321")});
}

// --- spreadsheets -------------------------------------------------------------------------------

// Chooses a csv file of the header and these rows in the import dialog and presses "Spreadsheet
// Import".
void importRows(MemberPage& p, const QByteArray& rows)
{
    const QString path = p.t.path() + QStringLiteral("/pigeons.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("LoftNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType\n" + rows);
    file.close();
    Dialogs::setNextFileName(path);
    p.click("btnPigImport");
}

TEST(MemberSpreadsheets, ImportReadsTheChosenFileAndRefreshesTheRingList)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.openRingsOf(0);
    p.click("btnPigImport");  // cancelled: nothing happens
    EXPECT_EQ(Dialogs::lastFileFilter(), Dialogs::toQtFilter(QString::fromLatin1(PigeonImportFilter)));
    EXPECT_EQ(p.messages(), QStringList());

    importRows(p, "001,BELG,24,A,0012,Hen,BLU\n"
                  "002,NL,25,,0098,Cock,RED\n");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(p.db(QStringLiteral("select LoftNo,PRingNo,Sex,ColorType from ZAVR_PigData order by PRingNo")),
              (QStringList{"001|BELG24A0012|H|BLU", "002|NL250098|C|RED"}));
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("001"));
    EXPECT_EQ(p.column("dbgrdMemRing", "PRingNo"), QStringList{QStringLiteral("BELG24A0012")});
}

TEST(MemberSpreadsheets, ARefusedRowIsShownAndNothingIsImported)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('002','NL250098')"));
    MemberPage p(t);
    p.openRingsOf(0);
    importRows(p, "001,BELG,24,A,0012,Hen,BLU\n"
                  "001,NL,25,,0098,Cock,RED\n");
    const QStringList shown = p.messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().startsWith(QStringLiteral("Import stopped at row 3 of the sheet"))) << shown.first().toStdString();
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_PigData")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(p.text("lblRingCnt"), QStringLiteral("000"));
}

TEST(MemberSpreadsheets, ExportWritesTheSelectedMembersPigeonsUnderAnXlsxName)
{
    TestDatabase t;
    addClub(t);
    addPigeons(t);
    MemberPage p(t);
    p.openRingsOf(0);
    Dialogs::setNextFileName(t.path() + QStringLiteral("/adams"));
    p.click("btnPigExport");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_EQ(Dialogs::lastFileFilter(), Dialogs::toQtFilter(QString::fromLatin1(PigeonExportFilter)));
    const QList<QVariantList> sheet = readFirstSheet(t.path() + QStringLiteral("/adams.xlsx"));
    ASSERT_EQ(sheet.size(), 4);  // the header and Adams's three pigeons
    QStringList rings;
    for (qsizetype r = 1; r < sheet.size(); ++r)
        rings << sheet.at(r).value(7).toString();
    EXPECT_EQ(rings, (QStringList{"BELG241234567", "GB23A12345", "NL250001"}));
    EXPECT_EQ(sheet.at(2).value(4).toString(), QStringLiteral("12345"));
}

// --- colour list --------------------------------------------------------------------------------

QStringList items(QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

TEST(MemberColours, TheColourFieldsMenuOffersAddDeleteAndExit)
{
    TestDatabase t;
    addClub(t);
    MemberPage p(t);
    p.openRingsOf(0);
    auto* menu = p.find<QMenu>("pmFeatherColor");
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->objectName() + QLatin1Char(' ') + a->text();
    EXPECT_EQ(texts, (QStringList{"AAdd1 &A Add", "DDelete1 &D Delete", "Eexit1 &E exit"}));
    QLineEdit* colourText = p.find<QComboBox>("cbbBColour")->lineEdit();
    emit colourText->customContextMenuRequested(QPoint(5, 5));  // a right click in the field
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_FALSE(p.shown("grpBirdColor"));
}

TEST(MemberColours, AddSavesTheColourAndRebuildsTheListWithoutOther)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,ColorType) values ('001','R1','GRZ')"));
    MemberPage p(t);
    p.openRingsOf(0);
    EXPECT_EQ(p.column("dbgrdMemRing", "ColorType"), QStringList{QStringLiteral("Other")});
    p.type("edtColorCode", QStringLiteral("old"));
    p.action("pmFeatherColor", "AAdd1")->trigger();
    EXPECT_TRUE(p.shown("grpBirdColor"));
    EXPECT_EQ(p.find<QLineEdit>("edtColorCode")->text(), QString());
    EXPECT_EQ(p.page.focusWidget(), p.find<QLineEdit>("edtColorCode"));
    p.type("edtColorCode", QStringLiteral("GRZ"));
    p.type("edtColorName", QStringLiteral("Grizzle"));
    p.click("btnFColorSave");
    EXPECT_EQ(p.messages(), QStringList());
    EXPECT_FALSE(p.shown("grpBirdColor"));
    EXPECT_EQ(p.db(QStringLiteral("select ColorType,FeathColor from ZAVR_FeatherColor where ColorType='GRZ'")),
              QStringList{QStringLiteral("GRZ|Grizzle")});
    EXPECT_EQ(items(p.find<QComboBox>("cbbBColour")), (QStringList{"Blue", "Red", "Grizzle"}));
    EXPECT_EQ(p.column("dbgrdMemRing", "ColorType"), QStringList{QStringLiteral("Grizzle")});  // names read again

    p.action("pmFeatherColor", "AAdd1")->trigger();  // a code in use: the box stays open
    p.type("edtColorCode", QStringLiteral("BLU"));
    p.type("edtColorName", QStringLiteral("Azure"));
    p.click("btnFColorSave");
    EXPECT_EQ(p.messages(), QStringList{QStringLiteral("The color code BLU is already used by the color Blue.")});
    EXPECT_TRUE(p.shown("grpBirdColor"));
    p.click("btnFColorCancel");
    EXPECT_FALSE(p.shown("grpBirdColor"));
    EXPECT_EQ(p.db(QStringLiteral("select count(*) from ZAVR_FeatherColor")), QStringList{QStringLiteral("3")});
}

TEST(MemberColours, DeleteRemovesTheColourShownAndItsPigeonsShowOther)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,ColorType) values ('001','R1','BLU')"));
    MemberPage p(t);
    p.openRingsOf(0);
    EXPECT_EQ(p.column("dbgrdMemRing", "ColorType"), QStringList{QStringLiteral("Blue")});
    p.find<QComboBox>("cbbBColour")->setCurrentIndex(1);  // Blue
    p.action("pmFeatherColor", "DDelete1")->trigger();
    EXPECT_EQ(p.messages(), QStringList());  // no question
    EXPECT_EQ(p.db(QStringLiteral("select FeathColor from ZAVR_FeatherColor")), QStringList{QStringLiteral("Red")});
    EXPECT_EQ(items(p.find<QComboBox>("cbbBColour")), QStringList{QStringLiteral("Red")});
    EXPECT_EQ(p.column("dbgrdMemRing", "ColorType"), QStringList{QStringLiteral("Other")});
    EXPECT_EQ(p.db(QStringLiteral("select ColorType from ZAVR_PigData")), QStringList{QStringLiteral("BLU")});
}

}  // namespace
