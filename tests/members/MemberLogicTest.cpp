#include "CorvelError.h"
#include "MemberLogic.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2025, 4, 3), QTime(14, 5, 6));

MemberInput member(const char* loftNo, const char* name)
{
    MemberInput in;
    in.associationCode = QStringLiteral("UNION");
    in.loftNo = QString::fromUtf8(loftNo);
    in.loftName = QString::fromUtf8(name);
    in.street = QStringLiteral("Rue de l'Église 5");
    in.city = QStringLiteral("Liège");
    in.postCode = QStringLiteral("4000");
    in.phoneNo = QStringLiteral("+32 4 123");
    in.loftLon = QStringLiteral("E121'23:24.33");
    in.loftLat = QStringLiteral("N024'22:30.44");
    in.notes = QStringLiteral("first line\nsecond 'quoted' line");
    return in;
}

void addLiberationPoints(TestDatabase& t)
{
    t.run(QStringLiteral("insert into ZAVR_LiberateSite (LiberCode,LiberSite) values ('B2','Quiévrain'),('A1','Arras')"));
}

TEST(SaveMember, InsertsTheMemberWithADistanceRowPerLiberationPoint)
{
    TestDatabase t;
    addLiberationPoints(t);
    EXPECT_TRUE(saveMember(t.dm(), member("001", "D'Hondt"), Now));
    const auto row = t.dm().locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {QStringLiteral("001")});
    ASSERT_TRUE(row.has_value());
    const MemberInput in = member("001", "D'Hondt");
    EXPECT_EQ(row->value("AssociationCode").toString(), in.associationCode);
    EXPECT_EQ(row->value("LoftName").toString(), in.loftName);
    EXPECT_EQ(row->value("Street").toString(), in.street);
    EXPECT_EQ(row->value("City").toString(), in.city);
    EXPECT_EQ(row->value("PostCode").toString(), in.postCode);
    EXPECT_EQ(row->value("PhoneNo").toString(), in.phoneNo);
    EXPECT_EQ(row->value("LoftLon").toString(), in.loftLon);
    EXPECT_EQ(row->value("LoftLat").toString(), in.loftLat);
    EXPECT_EQ(row->value("Notes").toString(), in.notes);
    EXPECT_EQ(row->value("UpdateTime").toString(), QStringLiteral("2025-04-03 14:05:06"));
    EXPECT_TRUE(row->value("EMail").isNull());
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select LiberCode,LoftNo,Miles,Yards from ZAVR_LoftLibPointDist order by rowid")),
              (QStringList{"B2|001|0|0", "A1|001|0|0"}));
}

TEST(SaveMember, WithoutLiberationPointsNoDistanceRows)
{
    TestDatabase t;
    EXPECT_TRUE(saveMember(t.dm(), member("001", "Adams"), Now));
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftLibPointDist")).toInt(), 0);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftData")).toInt(), 1);
}

TEST(SaveMember, ExistingLoftNumberIsUpdatedAndItsDistanceRowsAreLeftAlone)
{
    TestDatabase t;
    addLiberationPoints(t);
    t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName,EMail) values ('001','Old','a@b.c'),('002','Other',NULL)"));
    t.run(QStringLiteral("insert into ZAVR_LoftLibPointDist (LiberCode,LoftNo,Miles,Yards) values ('A1','001',12,345)"));
    MemberInput in = member("001", "New name");
    in.street.clear();
    EXPECT_FALSE(saveMember(t.dm(), in, Now));
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select LoftNo,LoftName,Street,City,EMail,UpdateTime from ZAVR_LoftData order by rowid")),
              (QStringList{"001|New name||Liège|a@b.c|2025-04-03 14:05:06", "002|Other||||"}));
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select LiberCode,LoftNo,Miles,Yards from ZAVR_LoftLibPointDist")),
              QStringList{QStringLiteral("A1|001|12|345")});
}

TEST(SaveMember, ATakenLoftNumberNamesTheMemberANewMemberWouldReplace)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('001','D''Hondt'),('002',NULL),('003','')"));
    EXPECT_EQ(existingMemberName(t.dm(), QStringLiteral("001")), std::optional<QString>(QStringLiteral("D'Hondt")));
    EXPECT_EQ(existingMemberName(t.dm(), QStringLiteral("002")), std::optional<QString>(QString()));  // taken, no name
    EXPECT_EQ(existingMemberName(t.dm(), QStringLiteral("003")), std::optional<QString>(QString()));
    EXPECT_EQ(existingMemberName(t.dm(), QStringLiteral("004")), std::nullopt);
    EXPECT_EQ(existingMemberName(t.dm(), QStringLiteral("01")), std::nullopt);  // exact loft numbers only
    EXPECT_EQ(replaceMemberQuestion(QStringLiteral("001"), QStringLiteral("D'Hondt")),
              QStringLiteral("Loft 001 already belongs to D'Hondt . Replace its details?"));
}

TEST(SaveMember, RefusesBadInputWithoutWritingAnything)
{
    struct Case {
        MemberInput input;
        const char* messagePart;
    };
    MemberInput longLon = member("003", "Carr");
    longLon.loftLon = QStringLiteral("E121'23:24.33000");  // 16 characters
    MemberInput longName = member("004", "Carr");
    longName.loftName = QString(31, QLatin1Char('x'));
    const Case cases[] = {
        {member("", "Adams"), "Set new Member find data entry error !"},
        {member("001", ""), "Set new Member find data entry error !"},
        {member("ABCDEFGHIJKL", "Adams"), "LoftNo"},  // the form takes 12, the column 10
        {longLon, "LoftLon"},
        {longName, "LoftName"},
    };
    for (const auto& c : cases) {
        TestDatabase t;
        addLiberationPoints(t);
        try {
            saveMember(t.dm(), c.input, Now);
            ADD_FAILURE() << "accepted: " << c.messagePart;
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.messagePart))) << e.text().toStdString();
        }
        EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftData")).toInt(), 0) << c.messagePart;
        EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftLibPointDist")).toInt(), 0) << c.messagePart;
    }
    EXPECT_EQ(memberInputError(member(" ", " ")), QString());  // blanks count as filled
}

TEST(SaveMember, DistanceRowFailureUndoesTheNewMember)
{
    TestDatabase t;
    addLiberationPoints(t);
    // A stray distance row for the new loft number makes the distance insert fail on its key.
    t.run(QStringLiteral("insert into ZAVR_LoftLibPointDist (LiberCode,LoftNo,Miles,Yards) values ('A1','009',5,5)"));
    EXPECT_THROW(saveMember(t.dm(), member("009", "Carr"), Now), DbError);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftData")).toInt(), 0);
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select LiberCode,LoftNo,Yards from ZAVR_LoftLibPointDist")),
              QStringList{QStringLiteral("A1|009|5")});
}

void addClub(TestDatabase& t)
{
    addLiberationPoints(t);
    t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('001','Adams'),('002','Baker')"));
    t.run(QStringLiteral("insert into ZAVR_LoftLibPointDist (LiberCode,LoftNo,Miles,Yards) values "
                         "('A1','001',1,1),('B2','001',2,2),('A1','002',3,3)"));
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('001','R1'),('001','R2'),('001','R3'),('002','R4')"));
    t.run(QStringLiteral("insert into ZAVR_LoftClocks (LoftNo,ClockID) values ('001','C1')"));
    t.run(QStringLiteral("insert into ZAVR_PigRaceData (LiberCode,LiberDate,PRingNo) values ('A1','2025-05-01 00:00:00','R1')"));
}

TEST(DeleteMember, RemovesPigeonsMemberAndDistanceRowsButKeepsClocksAndRaceEntries)
{
    TestDatabase t;
    addClub(t);
    EXPECT_EQ(memberPigeonCount(t.dm(), QStringLiteral("001")), 3);
    EXPECT_EQ(memberPigeonCount(t.dm(), QStringLiteral("003")), 0);
    deleteMember(t.dm(), QStringLiteral("001"));
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select LoftNo from ZAVR_LoftData")), QStringList{QStringLiteral("002")});
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select PRingNo from ZAVR_PigData")), QStringList{QStringLiteral("R4")});
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select LoftNo from ZAVR_LoftLibPointDist")), QStringList{QStringLiteral("002")});
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select ClockID from ZAVR_LoftClocks")), QStringList{QStringLiteral("C1")});
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select PRingNo from ZAVR_PigRaceData")), QStringList{QStringLiteral("R1")});
}

TEST(DeleteMember, AFailureDeletesNothing)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("create trigger refuse before delete on ZAVR_LoftLibPointDist begin select raise(abort, 'locked'); end"));
    EXPECT_THROW(deleteMember(t.dm(), QStringLiteral("001")), DbError);
    EXPECT_EQ(memberPigeonCount(t.dm(), QStringLiteral("001")), 3);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftData")).toInt(), 2);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_LoftLibPointDist")).toInt(), 3);
}

TEST(LoadMember, GivesTheStoredMemberAsSavedOrNothing)
{
    TestDatabase t;
    saveMember(t.dm(), member("L1", "D'Hondt"), Now);
    t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('L2','Bare')"));
    EXPECT_EQ(loadMember(t.dm(), QStringLiteral("L1")), member("L1", "D'Hondt"));
    MemberInput bare;
    bare.loftNo = QStringLiteral("L2");
    bare.loftName = QStringLiteral("Bare");
    EXPECT_EQ(loadMember(t.dm(), QStringLiteral("L2")), bare);  // null fields load empty
    EXPECT_EQ(loadMember(t.dm(), QStringLiteral("l1")), std::nullopt);
}

TEST(MemberList, CountsClocksPerMemberInLoftNumberOrder)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_LoftData (AssociationCode,LoftNo,LoftName) values ('U','010','Carr'),"
                         "('U','002','Baker'),('U','001','Adams')"));
    t.run(QStringLiteral("insert into ZAVR_LoftClocks (LoftNo,ClockID) values ('010','C1'),('010','C2'),('GONE','C3')"));
    QSqlQuery q = memberListQuery(t.dm());
    QStringList fields;
    for (int i = 0; i < q.record().count(); ++i)
        fields << q.record().fieldName(i);
    EXPECT_EQ(fields, (QStringList{"AssociationCode", "LoftNo", "LoftName", "clockCnt"}));
    EXPECT_EQ(rows(t.dm(), q.lastQuery()), (QStringList{"U|001|Adams|0", "U|002|Baker|0", "U|010|Carr|2"}));
    EXPECT_EQ(memberNames(t.dm()), (QStringList{"Carr", "Baker", "Adams"}));  // table order
}

TEST(MemberList, CountText)
{
    const struct {
        int count;
        const char* text;
    } cases[] = {{0, "000"}, {7, "007"}, {42, "042"}, {999, "999"}, {1000, "1000"}, {12345, "12345"}};
    for (const auto& c : cases)
        EXPECT_EQ(countText(c.count), QString::fromUtf8(c.text));
}

}  // namespace
