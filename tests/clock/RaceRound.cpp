#include "RaceRound.h"

#include "ClockOpState.h"
#include "DeviceLibraries.h"
#include "Formats.h"

#include <QFile>

RaceRound::RaceRound() : bench(DeviceLibraries::benchPath(db.folder()))
{
    clockOpState().reset();
    QFile ini(db.folder().iniPath());
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Parameter]\nSysID=CLUB1234\n");
    ini.close();

    db.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Mode) VALUES ('NWC', 'North Wind Flyers', 1)"));
    db.run(QStringLiteral("INSERT INTO ZAVR_FeatherColor (ColorType, FeathColor) VALUES ('BLU', 'Blue')"));
    db.run(QStringLiteral("INSERT INTO ZAVR_LoftData (AssociationCode, LoftNo, LoftName, Street, City, PostCode, PhoneNo, LoftLon, LoftLat) "
                          "VALUES ('BE', '001', 'Adams', '1 Loft Lane', 'Greenfield', 'GF1', '0123', 'E004''21:30.25', 'N050''51:10.50'), "
                          "('BE', '002', 'Baker', '2 Mill Road', 'Hilltown', 'HT2', '0456', NULL, NULL), "
                          "('BE', '003', 'Carr', NULL, NULL, NULL, NULL, NULL, NULL)"));
    const QString pigeons = QStringLiteral(
        "INSERT INTO ZAVR_PigData (LoftNo, PRingNo, RCountry, RYear, RRegLetter, RRegNumber, Sex, E_Ring, ColorType, RandomCode, UID) "
        "VALUES (?, ?, 'BE', ?, 'A', ?, ?, ?, ?, 0, ?)");
    const QList<QVariantList> birds = {
        {"001", "P1", "23", "1000001", "H", "1A000001", "BLU", "04000001"},
        {"001", "P2", "23", "1000002", "C", "1A000002", "BLU", "04000002"},
        {"001", "P3", "22", "1000003", "H", "1A000003", "XX", "04000003"},
        {"001", "P4", "23", "1000004", "C", "1A000004", "BLU", "04000004"},
        {"001", "P5", "21", "1000005", QVariant(), "1A000005", QVariant(), "04000005"},
        {"001", "P6", "23", "1000006", "C", "1A000006", "BLU", "04000006"},
        {"002", "Q1", "23", "2000001", "H", "2B000001", "BLU", "04000101"},
        {"002", "Q2", "23", "2000002", "C", "2B000002", "BLU", "04000102"},
        {"003", "R1", "23", "3000001", "C", "3C000001", "BLU", "04000201"},
    };
    for (const QVariantList& bird : birds)
        db.run(pigeons, bird);
    db.run(QStringLiteral("INSERT INTO ZAVR_LiberateSite (LiberCode, LiberSite, LiberSiteAbbr) VALUES ('1A2F', 'Orleans', 'ORL'), "
                          "('77', 'Tours', 'TRS')"));
    db.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberSite, LiberSiteAbbr, LiberDate, LiberTime, RaceCode) "
                          "VALUES ('NWC', '1A2F', 'Orleans', 'ORL', '2024-08-19 00:00:00', '10:00:00', '1A2F0819'), "
                          "('NWC', '77', 'Tours', 'TRS', '2024-08-25 00:00:00', '09:00:00', '770825')"));
    db.run(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Yards) VALUES ('1A2F', '001', 145200), "
                          "('1A2F', '002', 100000)"));
    db.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise (RaceCode, RaceDate, SunSet, SunRise) VALUES "
                          "('1A2F0819', '2024-08-19 00:00:00', '20:30:00', '06:10:00'), "
                          "('1A2F0819', '2024-08-20 00:00:00', '20:28:00', '05:45:00'), "
                          "('1A2F0819', '2024-08-21 00:00:00', '20:26:00', '05:47:00')"));
    const QString marked = QStringLiteral("INSERT INTO ZAVR_PigRaceData (ClubID, LiberCode, LiberDate, PRingNo, RandomCode, MarkedTime) "
                                          "VALUES ('NWC', '1A2F', '2024-08-19 00:00:00', ?, ?, ?)");
    const QList<QVariantList> entries = {{"P1", 0x11, "2024-08-18 19:01:00"}, {"P2", 0x12, "2024-08-18 19:02:00"},
                                         {"P3", 0x13, "2024-08-18 19:03:00"}, {"P4", 0x14, "2024-08-18 19:04:00"},
                                         {"P5", 0x15, "2024-08-18 19:05:00"}, {"Q1", 0x21, "2024-08-18 19:11:00"},
                                         {"Q2", 0x22, "2024-08-18 19:12:00"}};
    for (const QVariantList& e : entries)
        db.run(marked, e);

    bench.addClock(QStringLiteral("C1"), QStringLiteral("CLUB1234"));
    bench.addClock(QStringLiteral("C2"), QStringLiteral("CLUB1234"));
    bench.setClockError(QStringLiteral("C2"), 5000);
    race = *findClockRace(dm(), QStringLiteral("1A2F0819"));
}

RaceRound::~RaceRound() { clockOpState().reset(); }

QString RaceRound::entry(const QString& ringNo)
{
    return rows(QStringLiteral("SELECT BackTime, FlyTime, FlySpeed, Dist, TimeVari, RealRandom, UID_Real, ClockID "
                               "FROM ZAVR_PigRaceData WHERE LiberCode = '1A2F' AND PRingNo = ?"),
                {ringNo})
        .value(0);
}

void RaceRound::plug(const QString& clockNo)
{
    bench.connectClock(1, clockNo);
    if (!link)
        link = std::make_unique<TPigModuV6>(clock, db.folder().iniPath());
}

ClockProgramming::ProgrammedClock RaceRound::programRace(const QString& loftNo)
{
    RowSetModel pigeons;
    fill(pigeons, ClockProgramming::racePigeons(dm(), race, loftNo, true));
    return ClockProgramming::ProgramRace(clock, *link, dm(), race, loftNo, pigeons, programmedAt, show);
}

void RaceRound::arrive(const QString& clockNo, const QString& eRing, const QDateTime& moment, std::optional<int> readCode,
                       std::optional<QString> uid)
{
    bench.addArrival(clockNo, BenchArrival{eRing, moment, readCode, uid, std::nullopt});
}

ClockUpload::PollResult RaceRound::poll(const QString& raceCode)
{
    return ClockUpload::pollClock(clock, *link, raceCode, currentLoftNo, lastClockLoft, clockSiteText, onPort, show);
}

bool RaceRound::upload()
{
    const bool read = ClockUpload::ReadClockRecords(clock, *link, onPort, uploadedAt, reading, show);
    if (read)
        ClockUpload::ApplyClockRecords(dm(), race, currentLoftNo, reading, show);
    return read;
}

QDateTime RaceRound::at(int day, const char* time)
{
    return Formats::moment(QDate(2024, 8, day), QTime::fromString(QString::fromLatin1(time), QStringLiteral("HH:mm:ss.zzz")));
}
