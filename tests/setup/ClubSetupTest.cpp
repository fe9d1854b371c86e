#include "ClubSetup.h"
#include "CorvelError.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <optional>

namespace {

using ClubSetup::ClubSetupInput;
using ClubSetup::SaveOutcome;

// Both tables as text, one line a row, for comparing before and after.
QStringList tableRows(TdmZAVR& dm, const QString& sql)
{
    QStringList rows;
    QSqlQuery q = dm.exec(sql);
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList clubData(TdmZAVR& dm)
{
    return tableRows(dm, QStringLiteral("SELECT ClubID, ClubName, Street, City, PostCode, AssociationCode, Language, Mode, "
                                        "DBBackupDays FROM ZAVR_ClubData ORDER BY rowid"));
}

QStringList clubMap(TdmZAVR& dm)
{
    return tableRows(dm, QStringLiteral("SELECT ClubID, ClubName FROM ZAVR_ClubMap ORDER BY rowid"));
}

// Two listed clubs and the settings row of the first.
void seedClub(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('RPC', 'Royal Pigeon Club'), ('NHU', 'North Homing Union')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Street, City, PostCode, AssociationCode, Language, Mode, "
                         "DBBackupDays) VALUES ('RPC', 'Royal Pigeon Club', '1 Loft Lane', 'Leeds', 'LS1', 'NEHU', 0, 1, 7)"));
}

ClubSetupInput shownForRpc()
{
    ClubSetupInput in;
    in.ClubName = QStringLiteral("Royal Pigeon Club");
    in.ClubID = QStringLiteral("RPC");
    in.Street = QStringLiteral("1 Loft Lane");
    in.City = QStringLiteral("Leeds");
    in.PostCode = QStringLiteral("LS1");
    in.AssociationCode = QStringLiteral("NEHU");
    in.Language = 0;
    in.Mode = 1;
    in.backupDaysText = QStringLiteral("7");
    return in;
}

struct SaveCase {
    const char* what;
    bool seeded;
    std::function<void(ClubSetupInput&)> change;
    std::optional<SaveOutcome> outcome;  // none: the save is refused with an error
    QStringList clubData;                // expected afterwards
    QStringList clubMap;                 // expected afterwards
    friend void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.what; }
};

const QStringList SeededData{QStringLiteral("RPC|Royal Pigeon Club|1 Loft Lane|Leeds|LS1|NEHU|0|1|7")};
const QStringList SeededMap{QStringLiteral("RPC|Royal Pigeon Club"), QStringLiteral("NHU|North Homing Union")};

class SaveClubSettings : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveClubSettings, StoresTheSingleSettingsRow)
{
    const SaveCase& c = GetParam();
    TestDatabase t;
    ClubSetupInput in;
    in.backupDaysText = QStringLiteral("0");
    if (c.seeded) {
        seedClub(t);
        in = shownForRpc();
    }
    c.change(in);

    if (c.outcome) {
        EXPECT_EQ(ClubSetup::saveClubSettings(t.dm(), in), *c.outcome);
    } else {
        EXPECT_THROW(ClubSetup::saveClubSettings(t.dm(), in), CorvelError);
    }
    EXPECT_EQ(clubData(t.dm()), c.clubData);
    EXPECT_EQ(clubMap(t.dm()), c.clubMap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveClubSettings,
    ::testing::Values(
        SaveCase{"an empty database gets a row of empty texts and zeros", false, [](ClubSetupInput&) {},
                 SaveOutcome::Replaced, {QStringLiteral("||||||0|0|0")}, {}},
        SaveCase{"the same club rewrites its row with the values shown", true,
                 [](ClubSetupInput& in) {
                     in.Street = QStringLiteral("2 Perch Road");
                     in.City = QStringLiteral("York");
                     in.PostCode = QStringLiteral("YO1");
                     in.Mode = 0;
                     in.backupDaysText = QStringLiteral("30");
                 },
                 SaveOutcome::Updated, {QStringLiteral("RPC|Royal Pigeon Club|2 Perch Road|York|YO1|NEHU|0|0|30")}, SeededMap},
        SaveCase{"changing only the name keeps the stored name", true,
                 [](ClubSetupInput& in) { in.ClubName = QStringLiteral("Renamed Club"); }, SaveOutcome::Updated,
                 SeededData, SeededMap},
        SaveCase{"a listed club with another abbreviation replaces the row", true,
                 [](ClubSetupInput& in) {
                     in.clubListText = QStringLiteral("North Homing Union");
                     in.ClubName = QStringLiteral("North Homing Union");
                     in.ClubID = QStringLiteral("NHU");
                 },
                 SaveOutcome::Replaced, {QStringLiteral("NHU|North Homing Union|1 Loft Lane|Leeds|LS1|NEHU|0|1|7")}, SeededMap},
        SaveCase{"another association replaces the row", true,
                 [](ClubSetupInput& in) { in.AssociationCode = QStringLiteral("SCOT"); }, SaveOutcome::Replaced,
                 {QStringLiteral("RPC|Royal Pigeon Club|1 Loft Lane|Leeds|LS1|SCOT|0|1|7")}, SeededMap},
        SaveCase{"a new custom club joins the list and becomes the club, in upper case", true,
                 [](ClubSetupInput& in) {
                     in.clubListText = QStringLiteral("Custom");
                     in.ClubName = QStringLiteral("O'Brien's Flyers");
                     in.ClubID = QStringLiteral("obf");
                 },
                 SaveOutcome::Replaced, {QStringLiteral("OBF|O'Brien's Flyers|1 Loft Lane|Leeds|LS1|NEHU|0|1|7")},
                 SeededMap + QStringList{QStringLiteral("OBF|O'Brien's Flyers")}},
        SaveCase{"a custom club with a listed abbreviation changes no table", true,
                 [](ClubSetupInput& in) {
                     in.clubListText = QStringLiteral("Custom");
                     in.ClubName = QStringLiteral("Another Club");
                     in.ClubID = QStringLiteral("nhu");
                     in.Street = QStringLiteral("changed");
                 },
                 SaveOutcome::DuplicateAbbreviation, SeededData, SeededMap},
        SaveCase{"a lower-case abbreviation of the stored club is the same club", true,
                 [](ClubSetupInput& in) {
                     in.ClubID = QStringLiteral("rpc");
                     in.City = QStringLiteral("Hull");
                 },
                 SaveOutcome::Updated, {QStringLiteral("RPC|Royal Pigeon Club|1 Loft Lane|Hull|LS1|NEHU|0|1|7")}, SeededMap},
        SaveCase{"a bad backup age stores nothing, not even a new custom club", true,
                 [](ClubSetupInput& in) {
                     in.clubListText = QStringLiteral("Custom");
                     in.ClubID = QStringLiteral("NEW");
                     in.backupDaysText = QStringLiteral("seven");
                 },
                 std::nullopt, SeededData, SeededMap},
        SaveCase{"a value too long for its column stores nothing", true,
                 [](ClubSetupInput& in) {
                     in.clubListText = QStringLiteral("Custom");
                     in.ClubID = QStringLiteral("NEW");
                     in.City = QString(31, QLatin1Char('x'));
                 },
                 std::nullopt, SeededData, SeededMap}));

TEST(SaveClubSettings, RowsAddedByHandCollapseToOne)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, AssociationCode) VALUES ('A', 'X'), ('B', 'Y')"));
    ClubSetupInput in;
    in.ClubID = QStringLiteral("C");
    in.backupDaysText = QStringLiteral("3");
    EXPECT_EQ(ClubSetup::saveClubSettings(t.dm(), in), SaveOutcome::Replaced);
    EXPECT_EQ(clubData(t.dm()), QStringList{QStringLiteral("C||||||0|0|3")});
}

struct AgeCase {
    const char* text;
    std::optional<int> days;  // none: refused
};

TEST(ParseBackupDays, AcceptsWholeNumbersOfAnUnsigned16BitValue)
{
    const std::vector<AgeCase> cases = {
        {"0", 0},         {"7", 7},          {" 30 ", 30},      {"100", 100},      {"65535", 65535}, {"007", 7},
        {"", std::nullopt}, {"  ", std::nullopt}, {"-1", std::nullopt}, {"+5", std::nullopt}, {"65536", std::nullopt},
        {"1.5", std::nullopt}, {"seven", std::nullopt}, {"7 days", std::nullopt}, {"99999999999", std::nullopt},
    };
    for (const AgeCase& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        if (c.days) {
            EXPECT_EQ(ClubSetup::parseBackupDays(text), *c.days) << c.text;
        } else {
            try {
                ClubSetup::parseBackupDays(text);
                ADD_FAILURE() << "accepted: '" << c.text << "'";
            } catch (const CorvelError& e) {
                EXPECT_TRUE(e.text().contains(QStringLiteral("0 to 65535"))) << e.text().toStdString();
            }
        }
    }
}

TEST(ClubList, CustomAndSeparatorThenTheListedClubsInTableOrder)
{
    TestDatabase t;
    EXPECT_EQ(ClubSetup::clubListItems(t.dm()), (QStringList{QStringLiteral("Custom"), QStringLiteral("------------")}));
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('ZZ', 'Zeta Club'), ('AA', 'Alpha Club')"));
    EXPECT_EQ(ClubSetup::clubListItems(t.dm()), (QStringList{QStringLiteral("Custom"), QStringLiteral("------------"),
                                                            QStringLiteral("Zeta Club"), QStringLiteral("Alpha Club")}));
    const auto found = ClubSetup::findClubByName(t.dm(), QStringLiteral("Alpha Club"));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->ClubID, QStringLiteral("AA"));
    EXPECT_FALSE(ClubSetup::findClubByName(t.dm(), QStringLiteral("------------")).has_value());
    EXPECT_FALSE(ClubSetup::findClubByName(t.dm(), QStringLiteral("alpha club")).has_value());
}

}  // namespace
