#include "CorvelError.h"
#include "Dialogs.h"
#include "ListColumns.h"
#include "RaceResults.h"
#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "SpreadsheetReader.h"
#include "TestDatabase.h"

#include <QDir>
#include <QTableView>
#include <QHeaderView>
#include <gtest/gtest.h>

namespace {

const QDate RaceDay(2024, 7, 18);

// Race A1 of 18 July 2024 entered by two clubs, and an entry of another race.
void addRace(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith'), ('002', 'Jones')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo, RCountry, RYear, RRegLetter, RRegNumber) VALUES "
                         "('001', 'BELG24-1', 'BELG', '24', '', '1'), ('001', 'BELG24-2', 'BELG', '24', '', '2'), "
                         "('002', '12345', 'NL', '24', 'A', '12345'), ('002', 'NL24-9', 'NL', '24', '', '9'), "
                         "('002', 'NL24-10', 'NL', '24', '', '10')"));
    t.run(QStringLiteral(
        "INSERT INTO ZAVR_PigRaceData (ClubID, LiberCode, LiberDate, PRingNo, BackTime, FlyTime, FlySpeed, Dist, ClockID) VALUES "
        "('C1', 'A1', '2024-07-18 00:00:00', 'BELG24-1', '2024/07/18 12:00:00', '2:0:0', 1100.0, 132000, 'K1'), "
        "('C1', 'A1', '2024-07-18 00:00:00', 'BELG24-2', '2024/07/18 12:10:00', '2:10:0', 1000.0, 130000, 'K1'), "
        "('C2', 'A1', '2024-07-18 00:00:00', '12345', '2024/07/18 11:50:00', '1:50:0', 1200.1234, 132000, 'K2'), "
        "('C2', 'A1', '2024-07-18 00:00:00', 'NL24-9', '2024/07/18 12:01:00', '2:1:0', 1100.0, 133100, 'K2'), "
        "('C2', 'A1', '2024-07-18 00:00:00', 'NL24-10', NULL, NULL, NULL, NULL, 'K2'), "
        "('C2', 'A1', '2024-07-18 00:00:00', 'LOST-1', '2024/07/18 13:00:00', '3:0:0', 0.0, 0, NULL), "
        "('C1', 'A1', '2024-07-25 00:00:00', 'BELG24-1', '2024/07/25 12:00:00', '2:0:0', 1500.0, 132000, 'K1')"));
}

QStringList texts(const RowSetModel& m, const QString& field)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.displayText(r, field);
    return out;
}

TEST(RaceResults, ResultRowsAreRankedBySpeedWithSharedPositions)
{
    TestDatabase t;
    addRace(t);
    RowSetModel rows;
    const RaceResults::LoadedResult read = RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    EXPECT_EQ(rows.fields(), (QStringList{"Pos", "LiberCode", "PRingNo", "BackTime", "FlyTime", "FlySpeed", "Dist", "LoftNo"}));
    ASSERT_EQ(rows.rowCount(), 5);  // both clubs; no entry without an arrival; not the other race
    EXPECT_EQ(texts(rows, QStringLiteral("Pos")), (QStringList{"1", "2", "2", "4", "5"}));
    EXPECT_EQ(rows.value(0, QStringLiteral("PRingNo")).toString(), QStringLiteral("12345"));
    EXPECT_EQ(rows.value(3, QStringLiteral("PRingNo")).toString(), QStringLiteral("BELG24-2"));
    EXPECT_TRUE(rows.value(4, QStringLiteral("LoftNo")).isNull());  // a ring that is in no member's list

    rows.setColumns(ListColumns::raceResult(ClubSettings{}, read.memberName, read.ringParts));
    EXPECT_EQ(rows.displayText(0, QStringLiteral("LoftNo")), QStringLiteral("Jones"));
    EXPECT_EQ(rows.displayText(3, QStringLiteral("LoftNo")), QStringLiteral("Smith"));
    EXPECT_EQ(rows.displayText(0, QStringLiteral("PRingNo")), QStringLiteral("NL 24 A 12345"));
    EXPECT_EQ(rows.displayText(0, QStringLiteral("BackTime")), QStringLiteral("11:50:00"));
    EXPECT_EQ(rows.displayText(0, QStringLiteral("FlySpeed")), QStringLiteral("1,200.123"));
    EXPECT_EQ(rows.displayText(0, QStringLiteral("Dist")), QStringLiteral("132,000"));
    EXPECT_EQ(rows.displayText(4, QStringLiteral("FlySpeed")), QString());  // speed 0 shows nothing
    EXPECT_EQ(rows.displayText(4, QStringLiteral("LoftNo")), QString());
    EXPECT_EQ(rows.headerData(rows.fieldIndex(QStringLiteral("FlySpeed")), Qt::Horizontal).toString(), QStringLiteral("MPM"));
}

TEST(RaceResults, StatusCountsMarkedAndArrivedPerMemberAndClock)
{
    TestDatabase t;
    addRace(t);
    RowSetModel rows;
    RaceResults::loadStatusRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    rows.applySort(QStringLiteral("ClockID ASC"));
    EXPECT_EQ(rows.fields(), (QStringList{"LoftNo", "ClockID", "MarkedCnt", "ArriveCnt"}));
    ASSERT_EQ(rows.rowCount(), 3);
    // The entry whose ring is in no member's list: not marked for a member, but arrived.
    EXPECT_EQ(texts(rows, QStringLiteral("ClockID")), (QStringList{"", "K1", "K2"}));
    EXPECT_EQ(texts(rows, QStringLiteral("MarkedCnt")), (QStringList{"0", "2", "3"}));
    EXPECT_EQ(texts(rows, QStringLiteral("ArriveCnt")), (QStringList{"1", "2", "2"}));
    rows.setColumns(ListColumns::raceStatus(t.dm()));
    EXPECT_EQ(texts(rows, QStringLiteral("LoftNo")), (QStringList{"", "Smith", "Jones"}));
    EXPECT_EQ(rows.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Birds marked"));
}

TEST(RaceResults, SummaryLineCountsEveryEntryOfTheRace)
{
    TestDatabase t;
    addRace(t);
    RowSetModel rows;
    const RaceResults::Counts counts = RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows).counts;
    EXPECT_EQ(RaceResults::summaryLine(counts), QStringLiteral("3 Members sent 6 birds of which 5 were clocked"));
    const RaceResults::Counts none = RaceResults::loadResultRows(t.dm(), QStringLiteral("ZZ"), RaceDay, rows).counts;
    EXPECT_EQ(RaceResults::summaryLine(none), QStringLiteral("0 Members sent 0 birds of which 0 were clocked"));
    EXPECT_EQ(rows.rowCount(), 0);
}

TEST(RaceResults, ResultGridShowsTheDocumentedColumnOrder)
{
    TestDatabase t;
    addRace(t);
    RowSetModel rows;
    const RaceResults::LoadedResult read = RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    const GridColumns columns = ListColumns::raceResult(ClubSettings{}, read.memberName, read.ringParts);
    rows.setColumns(columns);
    QTableView grid;
    grid.setModel(&rows);
    showColumns(&grid, columns);
    QStringList shown;
    for (int visual = 0; visual < rows.columnCount(); ++visual) {
        const int logical = grid.horizontalHeader()->logicalIndex(visual);
        if (!grid.horizontalHeader()->isSectionHidden(logical))
            shown << rows.headerData(logical, Qt::Horizontal).toString();
    }
    EXPECT_EQ(shown, (QStringList{"Pos.", "Member", "Pigeon", "Clock", "Flying Time", "MPM", "Dist."}));
}

TEST(RaceResults, ExportWritesTheStoredValuesInTheGridsOrder)
{
    TestDatabase t;
    addRace(t);
    RowSetModel rows;
    RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    rows.applySort(QStringLiteral("PRingNo ASC"));
    const QString path = t.path() + QStringLiteral("/result.xlsx");
    RaceResults::exportResultRows(rows, path);
    const QList<QVariantList> cells = readFirstSheet(path);
    ASSERT_EQ(cells.size(), 6);
    EXPECT_EQ(cells.at(0), (QVariantList{"Pos", "LiberCode", "PRingNo", "BackTime", "FlyTime", "FlySpeed", "Dist", "LoftNo"}));
    // First by ring number: "12345", kept as text, with its whole arrival text and unrounded speed.
    EXPECT_EQ(cells.at(1).at(0).toDouble(), 1.0);
    EXPECT_EQ(cells.at(1).at(2), QVariant(QStringLiteral("12345")));
    EXPECT_EQ(cells.at(1).at(3), QVariant(QStringLiteral("2024/07/18 11:50:00")));
    EXPECT_DOUBLE_EQ(cells.at(1).at(5).toDouble(), 1200.1234);
    EXPECT_EQ(cells.at(1).at(7), QVariant(QStringLiteral("002")));
    EXPECT_EQ(cells.at(2).at(2), QVariant(QStringLiteral("BELG24-1")));
    EXPECT_EQ(cells.at(4).at(2), QVariant(QStringLiteral("LOST-1")));
    EXPECT_TRUE(cells.at(4).at(7).isNull());  // no member: the cell stays empty
    EXPECT_TRUE(QDir(t.path()).entryList({QStringLiteral("*.tmp-*")}).isEmpty());
}

TEST(RaceResults, ExportOfNoRowsWritesTheHeaderOnly)
{
    TestDatabase t;
    RowSetModel rows;
    RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    const QString path = t.path() + QStringLiteral("/empty.xlsx");
    RaceResults::exportResultRows(rows, path);
    const QList<QVariantList> cells = readFirstSheet(path);
    ASSERT_EQ(cells.size(), 1);
    EXPECT_EQ(cells.first().size(), 8);
}

TEST(RaceResults, ExportThatCannotBeWrittenSaysSoAndLeavesNothing)
{
    TestDatabase t;
    RowSetModel rows;
    RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    const QString path = t.path() + QStringLiteral("/no/such/folder/result.xlsx");
    try {
        RaceResults::exportResultRows(rows, path);
        FAIL() << "the export reported success";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Data transfer error: "))) << e.text().toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(RaceResults, AnArrivalWithoutASpeedHasNoFasterEntryAndTakesPositionOne)
{
    TestDatabase t;
    addRace(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_PigRaceData (ClubID, LiberCode, LiberDate, PRingNo, BackTime, FlyTime, FlySpeed) "
                         "VALUES ('C1', 'A1', '2024-07-18 00:00:00', 'NOSPEED', '2024/07/18 12:30:00', NULL, NULL)"));
    RowSetModel rows;
    RaceResults::loadResultRows(t.dm(), QStringLiteral("A1"), RaceDay, rows);
    ASSERT_EQ(rows.rowCount(), 6);
    // The speeds keep their positions; the arrival without a speed comes last with position 1.
    EXPECT_EQ(texts(rows, QStringLiteral("Pos")), (QStringList{"1", "2", "2", "4", "5", "1"}));
    EXPECT_EQ(rows.value(5, QStringLiteral("PRingNo")).toString(), QStringLiteral("NOSPEED"));
}

TEST(RaceResults, WorkbookFileNameEndsInXlsxAndAChangedEndingIsTold)
{
    const struct {
        const char* chosen;
        const char* written;
        bool told;
    } cases[] = {
        {"/tmp/result", "/tmp/result.xlsx", false},
        {"/tmp/result.xlsx", "/tmp/result.xlsx", false},
        {"/tmp/result.xls", "/tmp/result.xlsx", true},
        {"/tmp/Result.XLS", "/tmp/Result.xlsx", true},
        {"/tmp/race.xls.d/result", "/tmp/race.xls.d/result.xlsx", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        const QString chosen = QString::fromUtf8(c.chosen);
        EXPECT_EQ(RaceResults::workbookFileName(chosen), QString::fromUtf8(c.written)) << c.chosen;
        EXPECT_EQ(!RaceResults::workbookFileNameNotice(chosen).isEmpty(), c.told) << c.chosen;
    }
    EXPECT_EQ(RaceResults::workbookFileNameNotice(QStringLiteral("/tmp/result.xls")),
              QStringLiteral("The result is an Excel workbook of the xlsx kind, so it is saved as \"result.xlsx\" instead "
                             "of \"result.xls\"."));
    EXPECT_EQ(Dialogs::toQtFilter(RaceResults::resultExportFilter()), QStringLiteral("Excel File (*.xlsx);;Excel File (*.xls)"));
}

}  // namespace
