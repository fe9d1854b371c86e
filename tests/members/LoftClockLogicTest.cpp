#include "CorvelError.h"
#include "LoftClockLogic.h"
#include "MemberLogic.h"
#include "SimulatedBench.h"
#include "TestDatabase.h"

#include <QFile>
#include <gtest/gtest.h>

#include <set>

namespace {

class LoftClockList : public ::testing::Test {
protected:
    LoftClockList()
    {
        db.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('001','Adams'),('002','Baker')"));
    }
    QStringList clocks(const QString& loftNo)
    {
        QStringList out;
        QSqlQuery q = LoftClocks::clockListQuery(db.dm(), loftNo);
        while (q.next())
            out << q.value(QStringLiteral("ClockID")).toString();
        return out;
    }
    // The clock count of the member list.
    int listedCount(const QString& loftNo)
    {
        QSqlQuery q = memberListQuery(db.dm());
        while (q.next())
            if (q.value(QStringLiteral("LoftNo")).toString() == loftNo)
                return q.value(QStringLiteral("clockCnt")).toInt();
        return -1;
    }
    LoftClocks::SaveOutcome save(const char* loftNo, const char* loftName, const QString& clockId, const QString& memberName)
    {
        return LoftClocks::saveClock(db.dm(), QString::fromLatin1(loftNo), QString::fromLatin1(loftName), clockId, memberName);
    }
    TestDatabase db;
};

TEST_F(LoftClockList, ASavedClockIsListedAndCountedAndADeletedOneIsGone)
{
    EXPECT_EQ(LoftClocks::clockCountText(LoftClocks::clockCount(db.dm(), QStringLiteral("001"))), QStringLiteral("Number of clocks 0"));
    EXPECT_EQ(save("001", "Adams", QStringLiteral("12345678"), QStringLiteral("Adams")).kind, LoftClocks::SaveOutcome::Saved);
    EXPECT_EQ(clocks(QStringLiteral("001")), QStringList{QStringLiteral("12345678")});
    EXPECT_EQ(LoftClocks::clockCountText(LoftClocks::clockCount(db.dm(), QStringLiteral("001"))), QStringLiteral("Number of clocks 1"));
    EXPECT_EQ(listedCount(QStringLiteral("001")), 1);
    EXPECT_EQ(rows(db.dm(), QStringLiteral("select LastSynchDate, SynchStat from ZAVR_LoftClocks")), QStringList{QStringLiteral("|0")});
    EXPECT_EQ(LoftClocks::clockListTitle(QStringLiteral("Adams")), QStringLiteral("Adams's Clock List"));

    LoftClocks::deleteClock(db.dm(), QStringLiteral("001"), QStringLiteral("12345678"));
    EXPECT_TRUE(clocks(QStringLiteral("001")).isEmpty());
    EXPECT_EQ(listedCount(QStringLiteral("001")), 0);
}

TEST_F(LoftClockList, ASerialNumberTheMemberHasAlreadyIsADuplicateButAnotherMemberMayHaveIt)
{
    save("001", "Adams", QStringLiteral("12345678"), QStringLiteral("Adams"));
    const LoftClocks::SaveOutcome again = save("001", "Adams", QStringLiteral("12345678"), QStringLiteral("Nobody"));
    EXPECT_EQ(again.kind, LoftClocks::SaveOutcome::Duplicate);
    EXPECT_EQ(again.message, QStringLiteral("Adams's Clock serial number 12345678 duplicate !"));
    EXPECT_EQ(clocks(QStringLiteral("001")).size(), 1);
    EXPECT_EQ(save("002", "Baker", QStringLiteral("12345678"), QStringLiteral("Baker")).kind, LoftClocks::SaveOutcome::Saved);
    EXPECT_EQ(clocks(QStringLiteral("002")), QStringList{QStringLiteral("12345678")});
}

TEST_F(LoftClockList, TheTypedNameMustBeAMembersButDoesNotChooseTheMember)
{
    const LoftClocks::SaveOutcome unknown = save("001", "Adams", QStringLiteral("K1"), QStringLiteral("adams"));
    EXPECT_EQ(unknown.kind, LoftClocks::SaveOutcome::UnknownMember);
    EXPECT_EQ(unknown.message, QStringLiteral("adams not find in Member data !"));
    EXPECT_TRUE(clocks(QStringLiteral("001")).isEmpty());

    EXPECT_EQ(save("001", "Adams", QStringLiteral("K1"), QStringLiteral("Baker")).kind, LoftClocks::SaveOutcome::Saved);
    EXPECT_EQ(clocks(QStringLiteral("001")), QStringList{QStringLiteral("K1")});
    EXPECT_TRUE(clocks(QStringLiteral("002")).isEmpty());
    // Nothing forbids an empty serial number.
    EXPECT_EQ(save("001", "Adams", QString(), QStringLiteral("Adams")).kind, LoftClocks::SaveOutcome::Saved);
    EXPECT_EQ(clocks(QStringLiteral("001")), (QStringList{QStringLiteral("K1"), QString()}));
}

TEST_F(LoftClockList, ASerialNumberTooLongIsRefusedByTheDatabaseAndNothingIsWritten)
{
    EXPECT_THROW(save("001", "Adams", QStringLiteral("12345678901"), QStringLiteral("Adams")), DbError);
    EXPECT_TRUE(clocks(QStringLiteral("001")).isEmpty());
}

// A bench that keeps count of the clock ports it has open.
class WatchedBench : public SimulatedBench {
public:
    std::int32_t IFD_OpenPort(const char* name, const char* settings) override
    {
        const std::int32_t h = SimulatedBench::IFD_OpenPort(name, settings);
        if (h != 0)
            open.insert(h);
        return h;
    }
    bool IFD_ClosePort(std::int32_t h) override
    {
        open.erase(h);
        return SimulatedBench::IFD_ClosePort(h);
    }
    bool IFD_GetDevNo(std::int32_t h, char* buffer) override { return !failGetDevNo && SimulatedBench::IFD_GetDevNo(h, buffer); }

    std::set<std::int32_t> open;
    bool failGetDevNo = false;
};

struct DiscoverCase {
    const char* name;
    const char* clockIdentity;  // the identity the clock accepts; null: no clock on any port
    bool failGetDevNo;
    bool portActive;
    bool connected;
    const char* serialNo;  // null: none read
};

class Discover : public ::testing::TestWithParam<DiscoverCase> {};

TEST_P(Discover, ReadsTheSerialNumberAndAlwaysFreesThePort)
{
    const DiscoverCase& c = GetParam();
    TestDatabase db;
    QFile ini(db.folder().iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Parameter]\nSysID=CLUB\n");
    ini.close();
    WatchedBench bench;
    bench.failGetDevNo = c.failGetDevNo;
    if (c.clockIdentity != nullptr) {
        bench.addClock(QStringLiteral("123456789"), QString::fromLatin1(c.clockIdentity));
        bench.connectClock(2, QStringLiteral("123456789"));
    }
    for (int attempt = 0; attempt < 2; ++attempt) {  // a second Discover right after the first finds the port free
        const LoftClocks::Discovery found = LoftClocks::discoverClock(bench, db.folder().iniPath());
        EXPECT_EQ(found.portActive, c.portActive);
        EXPECT_EQ(found.connected, c.connected);
        EXPECT_EQ(found.serialNo.has_value(), c.serialNo != nullptr);
        EXPECT_EQ(found.serialNo.value_or(QString()), QString::fromLatin1(c.serialNo));
        EXPECT_TRUE(bench.open.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, Discover,
    ::testing::Values(DiscoverCase{"AClockOfTheClub", "CLUB", false, true, true, "123456789"},
                      DiscoverCase{"AClockOfAnotherClub", "OTHER", false, true, false, nullptr},
                      DiscoverCase{"NumberUnreadable", "CLUB", true, true, true, nullptr},
                      DiscoverCase{"NoClock", nullptr, false, false, false, nullptr}),
    [](const ::testing::TestParamInfo<DiscoverCase>& p) { return std::string(p.param.name); });

TEST(DiscoverThroughTheDataFolder, UsesTheBenchOfTheFolderAndNamesABrokenBenchFile)
{
    TestDatabase db;
    {
        SimulatedBench bench(db.path() + QStringLiteral("/bench.json"));
        bench.addClock(QStringLiteral("K1"), QString());
        bench.connectClock(1, QStringLiteral("K1"));
    }
    EXPECT_EQ(LoftClocks::discoverClock(db.folder()).serialNo, QStringLiteral("K1"));
    QFile file(db.path() + QStringLiteral("/bench.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[]");
    file.close();
    EXPECT_THROW(LoftClocks::discoverClock(db.folder()), CorvelError);
}

}  // namespace
