#include "BenchDesk.h"
#include "DataFolder.h"
#include "DemoClub.h"
#include "DeviceLibraries.h"
#include "Dialogs.h"
#include "RaceResults.h"
#include "RowSetModel.h"
#include "StartUp.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate FinishedRaceDate(2026, 6, 13);
const QDate OpenRaceDate(2026, 6, 27);

// One demo club for the whole suite: making it takes a while.
class DemoClubTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        failure = new QString(DemoClub::create(dir->filePath(QStringLiteral("demo"))));
    }
    static void TearDownTestSuite()
    {
        delete failure;
        delete dir;
    }
    void SetUp() override
    {
        ASSERT_TRUE(failure->isEmpty()) << failure->toStdString();
        Dialogs::resetTestHooks();
    }
    void TearDown() override { Dialogs::resetTestHooks(); }

    static DataFolder folder() { return DataFolder(dir->filePath(QStringLiteral("demo"))); }

    static QTemporaryDir* dir;
    static QString* failure;
};
QTemporaryDir* DemoClubTest::dir = nullptr;
QString* DemoClubTest::failure = nullptr;

// Every file of a folder with its bytes' hash and its last change.
QStringList folderPrint(const QString& path)
{
    QStringList out;
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        out << file + QLatin1Char('|') + QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex()) +
                   QLatin1Char('|') + QString::number(QFileInfo(file).lastModified().toMSecsSinceEpoch());
    }
    out.sort();
    return out;
}

TEST_F(DemoClubTest, TheProgramOpensTheDemoClubWithoutAnyMessage)
{
    StartUp::Club club = StartUp::openClub(folder());
    ASSERT_FALSE(club.quit);
    ASSERT_TRUE(club.dm && club.dm->isOpen()) << club.dm->openError().toStdString();
    EXPECT_TRUE(Dialogs::takeMessages().isEmpty());
    const TdmZAVR& dm = *club.dm;
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftData WHERE LoftLon IS NOT NULL AND LoftLat IS NOT NULL")).toInt(),
              DemoClub::MemberCount);
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_PigData")).toInt(), DemoClub::PigeonCount);
    const int eRings = dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_PigData WHERE E_Ring IS NOT NULL")).toInt();
    EXPECT_GT(eRings, 0);
    EXPECT_LT(eRings, DemoClub::PigeonCount);
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LiberateSite")).toInt(), 3);
    // Every loft has a distance to every point, none of them zero.
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftLibPointDist WHERE Yards > 100000")).toInt(),
              3 * DemoClub::MemberCount);
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT ClubName FROM ZAVR_ClubData")).toString(), DemoClub::ClubName);

    // The open race: marked pigeons, none home yet.
    RowSetModel openRows;
    const RaceResults::Counts open = RaceResults::loadResultRows(dm, DemoClub::OpenRaceCode, OpenRaceDate, openRows).counts;
    EXPECT_GT(open.birds, 0);
    EXPECT_EQ(open.clocked, 0);
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_PigRaceData WHERE LiberCode = ? AND MarkedTime IS NOT NULL"),
                        {DemoClub::OpenRaceCode})
                  .toInt(),
              open.birds);

    // The bench: the ring reader with a pigeon's ring on it, the member's clock on the other port.
    const BenchState bench = BenchDesk(dm, folder()).state();
    EXPECT_EQ(bench.ports[0].device, BenchDevice::RingReader);
    EXPECT_EQ(bench.ports[1].device, BenchDevice::Clock);
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT LoftNo FROM ZAVR_LoftClocks WHERE ClockID = ?"), {bench.ports[1].clock}).toString(),
              DemoClub::BenchMember);
    EXPECT_EQ(dm.scalar(QStringLiteral("SELECT LoftNo FROM ZAVR_PigData WHERE upper(UID) = ?"), {bench.ringOnReader}).toString(),
              DemoClub::BenchMember);
}

TEST_F(DemoClubTest, TheFinishedRaceRanksByFallingSpeedWithSharedPositions)
{
    TdmZAVR dm(folder().databasePath());
    ASSERT_TRUE(dm.open());
    RowSetModel rows;
    const RaceResults::Counts counts = RaceResults::loadResultRows(dm, DemoClub::FinishedRaceCode, FinishedRaceDate, rows).counts;
    EXPECT_GE(counts.members, 5);
    EXPECT_LT(counts.clocked, counts.birds);  // some pigeons were sent and are not home
    ASSERT_EQ(rows.rowCount(), counts.clocked);
    QSet<QString> lofts;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const double speed = rows.value(r, QStringLiteral("FlySpeed")).toDouble();
        const int pos = rows.value(r, QStringLiteral("Pos")).toInt();
        lofts << rows.value(r, QStringLiteral("LoftNo")).toString();
        EXPECT_GT(speed, 0.0);
        if (r == 0) {
            EXPECT_EQ(pos, 1);
            continue;
        }
        const double before = rows.value(r - 1, QStringLiteral("FlySpeed")).toDouble();
        EXPECT_LE(speed, before) << r;
        // An equal speed shares the position; a lower one takes the row's own place.
        EXPECT_EQ(pos, speed == before ? rows.value(r - 1, QStringLiteral("Pos")).toInt() : r + 1) << r;
    }
    EXPECT_GE(lofts.size(), 5);

    // The status: members timed on their clocks and members typed in by hand, every arrival counted once.
    RowSetModel status;
    RaceResults::loadStatusRows(dm, DemoClub::FinishedRaceCode, FinishedRaceDate, status);
    int arrived = 0;
    int onClocks = 0;
    for (int r = 0; r < status.rowCount(); ++r) {
        arrived += status.value(r, QStringLiteral("ArriveCnt")).toInt();
        EXPECT_LE(status.value(r, QStringLiteral("ArriveCnt")).toInt(), status.value(r, QStringLiteral("MarkedCnt")).toInt());
        if (!status.value(r, QStringLiteral("ClockID")).toString().isEmpty())
            ++onClocks;
    }
    EXPECT_EQ(arrived, counts.clocked);
    EXPECT_GT(onClocks, 0);
    EXPECT_LT(onClocks, status.rowCount());
}

TEST_F(DemoClubTest, AFolderWithAClubDatabaseOrBenchIsLeftAsItWas)
{
    const DataFolder withDemo = folder();
    const DataFolder withClub(dir->filePath(QStringLiteral("club")));
    withClub.prepare();
    {
        TdmZAVR dm(withClub.databasePath());
        ASSERT_TRUE(dm.open());
        dm.exec(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Jan')"));
    }
    const DataFolder withBench(dir->filePath(QStringLiteral("bench")));
    ASSERT_TRUE(QDir().mkpath(withBench.path()));
    {
        QFile bench(DeviceLibraries::benchPath(withBench));
        ASSERT_TRUE(bench.open(QIODevice::WriteOnly));
        bench.write(BenchState().toJson());
    }
    for (const DataFolder& refused : {withDemo, withClub, withBench}) {
        const QStringList before = folderPrint(refused.path());
        ASSERT_FALSE(before.isEmpty());
        const QString failure = DemoClub::create(refused.path());
        EXPECT_TRUE(failure.contains(QStringLiteral("new folder only"))) << failure.toStdString();
        EXPECT_EQ(folderPrint(refused.path()), before) << refused.path().toStdString();
    }
}

TEST(DemoClubArgument, TheOptionGivesItsFolder)
{
    const struct {
        QStringList arguments;
        std::optional<QString> folder;
    } cases[] = {
        {{"corvel-club"}, std::nullopt},
        {{"corvel-club", "--data-dir", "/tmp/club"}, std::nullopt},
        {{"corvel-club", "--demo", "/tmp/demo"}, QStringLiteral("/tmp/demo")},
        {{"corvel-club", "--simulator", "--demo=/tmp/demo"}, QStringLiteral("/tmp/demo")},
        {{"corvel-club", "--demo"}, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DemoClub::folderArgument(c.arguments), c.folder) << c.arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(DemoClub::create(QString()).isEmpty());
}

}  // namespace
