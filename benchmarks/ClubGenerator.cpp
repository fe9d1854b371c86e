#include "ClubGenerator.h"

#include "Coordinates.h"
#include "CorvelError.h"
#include "FlightTime.h"
#include "Formats.h"
#include "LoftDistances.h"
#include "RaceLogic.h"
#include "RingLogic.h"
#include "TdmZAVR.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace ClubGenerator {
namespace {

constexpr int RaceCount = 100;
constexpr int SiteCount = 25;
constexpr int LargestRace = 41;
constexpr int SmallRace = RaceCount - 1;
constexpr int SmallRaceEntries = 10;
constexpr int ClockedPerTenThousand = 8523;

const QStringList ClubIds = {QStringLiteral("NWC"), QStringLiteral("MRF"), QStringLiteral("SCC")};
const QStringList ClubNames = {QStringLiteral("North West Combine"), QStringLiteral("Midland Racing Federation"),
                               QStringLiteral("South Coast Classic")};
const QStringList Surnames = {
    QStringLiteral("Whitfield"), QStringLiteral("Ashworth"), QStringLiteral("Barraclough"), QStringLiteral("Holroyd"),
    QStringLiteral("Pilkington"), QStringLiteral("Entwistle"), QStringLiteral("Greenhalgh"), QStringLiteral("Sutcliffe"),
    QStringLiteral("Heywood"), QStringLiteral("Kershaw"), QStringLiteral("Ramsbottom"), QStringLiteral("Thistlethwaite"),
    QStringLiteral("Duckworth"), QStringLiteral("Openshaw"), QStringLiteral("Wolstenholme"), QStringLiteral("Haworth"),
    QStringLiteral("Lomax"), QStringLiteral("Crabtree"), QStringLiteral("Fairclough"), QStringLiteral("Aspinall"),
    QStringLiteral("Birtwistle"), QStringLiteral("Clegg"), QStringLiteral("Dewhurst"), QStringLiteral("Eccles"),
    QStringLiteral("Farnworth"), QStringLiteral("Grimshaw"), QStringLiteral("Halliwell"), QStringLiteral("Ingham"),
    QStringLiteral("Jagger"), QStringLiteral("Kay")};
const QStringList Partners = {QString(), QStringLiteral(" & Son"), QStringLiteral(" & Daughter"), QStringLiteral(" Bros")};
const QStringList Towns = {QStringLiteral("Preston"), QStringLiteral("Blackburn"), QStringLiteral("Bolton"),
                           QStringLiteral("Wigan"), QStringLiteral("Burnley"), QStringLiteral("Rochdale"),
                           QStringLiteral("Bury"), QStringLiteral("Oldham"), QStringLiteral("Chorley"),
                           QStringLiteral("Accrington")};
const QStringList Sites = {
    QStringLiteral("Fougeres"), QStringLiteral("Alencon"), QStringLiteral("Le Mans"), QStringLiteral("Tours"),
    QStringLiteral("Poitiers"), QStringLiteral("Chateauroux"), QStringLiteral("Limoges"), QStringLiteral("Brive"),
    QStringLiteral("Cahors"), QStringLiteral("Agen"), QStringLiteral("Pau"), QStringLiteral("Tarbes"),
    QStringLiteral("Barcelona"), QStringLiteral("Saintes"), QStringLiteral("Angouleme"), QStringLiteral("Bordeaux"),
    QStringLiteral("Carentan"), QStringLiteral("Falaise"), QStringLiteral("Vire"), QStringLiteral("Rennes"),
    QStringLiteral("Nantes"), QStringLiteral("Niort"), QStringLiteral("Perigueux"), QStringLiteral("Mont de Marsan"),
    QStringLiteral("Dax")};
const QList<std::pair<QString, QString>> Colours = {
    {QStringLiteral("BB"), QStringLiteral("Blue Bar")},     {QStringLiteral("BC"), QStringLiteral("Blue Chequer")},
    {QStringLiteral("DC"), QStringLiteral("Dark Chequer")}, {QStringLiteral("RC"), QStringLiteral("Red Chequer")},
    {QStringLiteral("MEAL"), QStringLiteral("Mealy")},      {QStringLiteral("PIED"), QStringLiteral("Pied")},
    {QStringLiteral("GRIZ"), QStringLiteral("Grizzle")},    {QStringLiteral("BLK"), QStringLiteral("Black")}};

const QDate FirstRaceDay(2024, 4, 6);

QString padded(qint64 n, int width) { return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')); }
QString hex8(quint32 n) { return QStringLiteral("%1").arg(n, 8, 16, QLatin1Char('0')).toUpper(); }

// "W002'13:45.67"; `hundredths` adds the loft form's last two digits.
QString coordinate(QChar hemisphere, double degrees, bool hundredths)
{
    const qint64 centiseconds = std::llround(std::fabs(degrees) * 360000.0);
    QString text = QStringLiteral("%1%2'%3:%4")
                       .arg(hemisphere)
                       .arg(padded(centiseconds / 360000, 3))
                       .arg(padded(centiseconds / 6000 % 60, 2))
                       .arg(padded(centiseconds / 100 % 60, 2));
    if (hundredths)
        text += QLatin1Char('.') + padded(centiseconds % 100, 2);
    return text;
}

QString liberCode(int site) { return QString::number(0x1A0 + site, 16).toUpper(); }

// One prepared insert, run once per row.
class Inserter {
public:
    Inserter(const TdmZAVR& dm, const QString& table, const QStringList& columns) : query_(dm.database())
    {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        if (!query_.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))))
            throw DbError(TdmZAVR::readableError(query_.lastError().text()));
    }

    void row(const QVariantList& values)
    {
        for (qsizetype i = 0; i < values.size(); ++i)
            query_.bindValue(static_cast<int>(i), values.at(i));
        if (!query_.exec())
            throw DbError(TdmZAVR::readableError(query_.lastError().databaseText()));
    }

private:
    QSqlQuery query_;
};

struct Site {
    QString code, name, lon, lat;
};

}  // namespace

Plan plan(double size)
{
    Plan p;
    p.size = size;
    p.members = static_cast<int>(std::lround(2000 * size));
    p.largestRace = LargestRace;
    p.smallRace = SmallRace;
    const int largest = static_cast<int>(std::lround(15000 * size));
    const int others = static_cast<int>(std::lround(300000 * size)) - largest - SmallRaceEntries;
    QList<int> weights;
    for (int i = 0; i < RaceCount; ++i)
        weights << ((i == LargestRace || i == SmallRace) ? 0 : 60 + (i * 37) % 41);
    const int weightSum = std::accumulate(weights.begin(), weights.end(), 0);
    int given = 0;
    for (int i = 0; i < RaceCount; ++i) {
        Race r;
        r.clubId = ClubIds.at(i % ClubIds.size());
        const int site = (i * 7) % SiteCount;
        r.liberCode = liberCode(site);
        r.liberSite = Sites.at(site);
        r.liberDate = FirstRaceDay.addDays(7 * (i / 4));
        if (i == LargestRace)
            r.entries = largest;
        else if (i == SmallRace)
            r.entries = SmallRaceEntries;
        else
            given += r.entries = static_cast<int>(static_cast<qint64>(others) * weights.at(i) / weightSum);
        p.races << r;
    }
    p.races[0].entries += others - given;  // what the rounding left over
    return p;
}

void generate(const QString& path, double size)
{
    if (QFileInfo::exists(path))
        throw CorvelError(QStringLiteral("%1 exists already").arg(path));
    const Plan p = plan(size);
    TdmZAVR dm(path);
    if (!dm.open())
        throw CorvelError(dm.openError());
    std::mt19937_64 random(20240406);
    const auto below = [&random](quint64 n) { return static_cast<int>(random() % n); };
    const QString stamp = QStringLiteral("2024-03-01 09:00:00");

    TdmZAVR::Transaction tx(dm);
    Inserter(dm, QStringLiteral("ZAVR_ClubData"),
             {"ClubID", "ClubName", "Street", "City", "PostCode", "AssociationCode", "Language", "Mode", "DBBackupDays"})
        .row({ClubIds.at(0), ClubNames.at(0), QStringLiteral("1 Market Street"), QStringLiteral("Preston"),
              QStringLiteral("PR1 2AB"), ClubIds.at(0), 0, 1, 7});
    Inserter clubs(dm, QStringLiteral("ZAVR_ClubMap"), {"ClubID", "ClubName"});
    for (int i = 0; i < ClubIds.size(); ++i)
        clubs.row({ClubIds.at(i), ClubNames.at(i)});
    Inserter colours(dm, QStringLiteral("ZAVR_FeatherColor"), {"ColorType", "FeathColor"});
    for (const auto& [code, name] : Colours)
        colours.row({code, name});

    QList<Site> sites;
    Inserter siteRows(dm, QStringLiteral("ZAVR_LiberateSite"), {"LiberCode", "LiberSite", "LiberSiteAbbr", "LiberLon", "LiberLat"});
    for (int s = 0; s < SiteCount; ++s) {
        const double lon = -1.5 + 4.5 * s / SiteCount;
        const double lat = 48.8 - 7.0 * ((s * 11) % SiteCount) / SiteCount;
        const Site site{liberCode(s), Sites.at(s), coordinate(lon < 0 ? QLatin1Char('W') : QLatin1Char('E'), lon, false),
                        coordinate(QLatin1Char('N'), lat, false)};
        siteRows.row({site.code, site.name, site.name.left(4).toUpper(), site.lon, site.lat});
        sites << site;
    }

    // Members, their clocks and their distances to every point.
    QList<QList<int>> yards(SiteCount, QList<int>(p.members));
    Inserter members(dm, QStringLiteral("ZAVR_LoftData"),
                     {"AssociationCode", "LoftNo", "LoftName", "Street", "City", "PostCode", "PhoneNo", "EMail",
                      "LoftLon", "LoftLat", "UpdateTime"});
    Inserter clocks(dm, QStringLiteral("ZAVR_LoftClocks"), {"LoftNo", "ClockID", "LastSynchDate", "SynchStat"});
    Inserter distances(dm, QStringLiteral("ZAVR_LoftLibPointDist"), {"LiberCode", "LoftNo", "Miles", "Yards"});
    for (int m = 0; m < p.members; ++m) {
        const QString loftNo = padded(m + 1, 5);
        const QString name = QStringLiteral("%1. %2%3")
                                 .arg(QChar(u'A' + m % 26))
                                 .arg(Surnames.at(m / 26 % Surnames.size()))
                                 .arg(Partners.at(m / (26 * Surnames.size()) % Partners.size()));
        const double lon = -(0.2 + 2.8 * below(10000) / 10000.0);
        const double lat = 51.2 + 2.8 * below(10000) / 10000.0;
        const QString loftLon = coordinate(QLatin1Char('W'), lon, true);
        const QString loftLat = coordinate(QLatin1Char('N'), lat, true);
        members.row({ClubIds.at(0), loftNo, name, QStringLiteral("%1 Loft Lane").arg(m % 300 + 1), Towns.at(m % Towns.size()),
                     QStringLiteral("PR%1 %2AB").arg(m % 9 + 1).arg(m % 10), QStringLiteral("01772 %1").arg(padded(m, 6)),
                     QStringLiteral("loft%1@example.org").arg(loftNo), loftLon, loftLat, stamp});
        for (int c = 0; c < p.clocksPerMember; ++c)
            clocks.row({loftNo, QStringLiteral("K%1").arg(padded(m * p.clocksPerMember + c + 1, 6)),
                        QStringLiteral("2024-03-30 18:00:00"), 0});
        for (int s = 0; s < SiteCount; ++s) {
            const LoftDistanceColumns d =
                distanceColumns(LoftDistanceMetres(loftLon, loftLat, sites.at(s).lon, sites.at(s).lat), true);
            distances.row({sites.at(s).code, loftNo, d.miles, d.yards});
            yards[s][m] = d.yards;
        }
    }

    // The pigeon register: 30 rings a member, most of them with an eRing.
    QStringList ringNos;
    QStringList uids;
    QList<int> randomCodes;
    Inserter pigeons(dm, QStringLiteral("ZAVR_PigData"),
                     {"LoftNo", "PRingNo", "RCountry", "RYear", "RRegLetter", "RRegNumber", "Sex", "E_Ring", "ColorType",
                      "ActiveStat", "Updatetime", "SynchFlag", "RandomCode", "UID", "CreateDate", "AssignDate"});
    for (int i = 0; i < p.pigeons(); ++i) {
        const int m = i / p.pigeonsPerMember;
        const int k = i % p.pigeonsPerMember;
        const QString year = k < p.pigeonsPerMember / 2 ? QStringLiteral("23") : QStringLiteral("24");
        const QString letters(QChar(u'A' + m % 26));
        const QString number = padded(i + 1, 6);
        const QString ringNo = composeRingNumber(QStringLiteral("GB"), year, letters, number);
        const bool eRing = k % 10 != 9;
        const QString uid = hex8(0x04000000u + static_cast<quint32>(i) * 13u);
        const int randomCode = below(256);
        pigeons.row({padded(m + 1, 5), ringNo, QStringLiteral("GB"), year, letters, number,
                     k % 2 ? QStringLiteral("H") : QStringLiteral("C"),
                     eRing ? QVariant(hex8(0xE0000000u | static_cast<quint32>(i))) : QVariant(),
                     Colours.at(below(Colours.size())).first, eRing ? 1 : 0, stamp, 1, randomCode,
                     eRing ? QVariant(uid) : QVariant(), QStringLiteral("2023-12-01 10:00:00"),
                     eRing ? QVariant(QStringLiteral("2024-01-15 00:00:00")) : QVariant()});
        ringNos << ringNo;
        uids << uid;
        randomCodes << randomCode;
    }

    // Races with their sun rows, entries and clock times.
    Inserter races(dm, QStringLiteral("ZAVR_RaceData"),
                   {"ClubID", "LiberCode", "LiberSite", "LiberSiteAbbr", "LiberDate", "LiberTime", "LiberLon", "LiberLat",
                    "Updatetime", "SynchFlag", "RaceCode"});
    Inserter sun(dm, QStringLiteral("ZAVR_SunSet_SunRise"), {"RaceCode", "RaceDate", "SunSet", "SunRise", "Location"});
    Inserter entries(dm, QStringLiteral("ZAVR_PigRaceData"),
                     {"ClubID", "LiberCode", "LiberDate", "PRingNo", "BackTime", "FlyTime", "FlySpeed", "Dist",
                      "RandomCode", "ClockID", "UID_Real", "TimeVari", "MarkedTime", "RealRandom"});
    Inserter clockTimes(dm, QStringLiteral("ZAVR_RaceClockTime"),
                        {"LiberCode", "LiberDate", "LoftNo", "ClockID", "DLMarkedTime", "ULMasterTime", "ULClockTime"});
    const int stride = p.pigeons() % 7919 == 0 ? 7927 : 7919;  // primes: every step lands on a new pigeon
    for (int r = 0; r < p.races.size(); ++r) {
        const Race& race = p.races.at(r);
        const int site = (r * 7) % SiteCount;
        const QString raceCode = RaceCode(race.liberCode, race.liberDate);
        const QString liberDate = Formats::toDbMidnight(race.liberDate);
        const QDateTime liberation(race.liberDate, LiberationTime, Qt::UTC);
        races.row({race.clubId, race.liberCode, race.liberSite, race.liberSite.left(4).toUpper(), liberDate,
                   Formats::toDbTime(LiberationTime), sites.at(site).lon, sites.at(site).lat, stamp, 1, raceCode});
        for (int d = 0; d < 2; ++d)
            sun.row({raceCode, Formats::toDbMidnight(race.liberDate.addDays(d)), QStringLiteral("21:05:00"),
                     QStringLiteral("05:10:00"), race.liberSite});
        const QDateTime marked(race.liberDate.addDays(-1), QTime(18, 0), Qt::UTC);
        QSet<int> lofts;
        const int start = below(static_cast<quint64>(p.pigeons()));
        for (int k = 0; k < race.entries; ++k) {
            const int i = static_cast<int>((start + static_cast<qint64>(k) * stride) % p.pigeons());
            const int m = i / p.pigeonsPerMember;
            lofts.insert(m);
            const QString clockId = QStringLiteral("K%1").arg(padded(m * p.clocksPerMember + 1, 6));
            const QVariantList marking = {race.clubId, race.liberCode, liberDate, ringNos.at(i)};
            const QString markedTime = Formats::toDbDateTime(marked.addSecs(k % 7200));
            if (below(10000) >= ClockedPerTenThousand) {
                entries.row(marking + QVariantList{QVariant(), QVariant(), QVariant(), QVariant(), randomCodes.at(i),
                                                   clockId, QVariant(), QVariant(), markedTime, QVariant()});
                continue;
            }
            const int distance = yards.at(site).at(m);
            const double speed = 1000.0 + below(600000) / 1000.0;
            const qint64 seconds = std::llround(distance / speed * 60.0);
            const QDateTime arrival = liberation.addSecs(seconds);
            entries.row(marking + QVariantList{Formats::shortDate(arrival.date()) + QLatin1Char(' ') + Formats::longTime(arrival.time()),
                                               FlightTime::FlyTimeText(seconds),
                                               FlightTime::storedSpeed(FlightTime::SpeedPerMinute(distance, seconds)),
                                               distance, randomCodes.at(i), clockId, uids.at(i), below(7) - 3, markedTime,
                                               QStringLiteral("%1").arg(randomCodes.at(i), 2, 16, QLatin1Char('0')).toUpper()});
        }
        QList<int> sorted(lofts.begin(), lofts.end());
        std::sort(sorted.begin(), sorted.end());
        for (const int m : sorted)
            clockTimes.row({race.liberCode, liberDate, padded(m + 1, 5),
                            QStringLiteral("K%1").arg(padded(m * p.clocksPerMember + 1, 6)),
                            Formats::toDbDateTime(marked.addSecs(3600)),
                            Formats::toDbDateTime(QDateTime(race.liberDate, QTime(22, 0), Qt::UTC)),
                            Formats::toDbDateTime(QDateTime(race.liberDate, QTime(22, 0, m % 5), Qt::UTC))});
    }
    tx.commit();
}

void extractRace(const QString& source, const QString& path, const Race& race)
{
    if (QFileInfo::exists(path))
        throw CorvelError(QStringLiteral("%1 exists already").arg(path));
    TdmZAVR dm(path);
    if (!dm.open())
        throw CorvelError(dm.openError());
    dm.exec(QStringLiteral("ATTACH DATABASE ? AS src"), {source});
    {
        const QVariantList key = {race.liberCode, Formats::toDbDate(race.liberDate)};
        TdmZAVR::Transaction tx(dm);
        const QString thisRace = QStringLiteral(" WHERE LiberCode = ? AND date(LiberDate) = ?");
        for (const char* table : {"ZAVR_PigRaceData", "ZAVR_RaceData", "ZAVR_RaceClockTime"})
            dm.exec(QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1").arg(QLatin1String(table)) + thisRace, key);
        for (const char* table : {"ZAVR_ClubData", "ZAVR_ClubMap", "ZAVR_FeatherColor", "ZAVR_LiberateSite"})
            dm.exec(QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1").arg(QLatin1String(table)));
        dm.exec(QStringLiteral("INSERT INTO main.ZAVR_PigData SELECT * FROM src.ZAVR_PigData "
                               "WHERE PRingNo IN (SELECT PRingNo FROM main.ZAVR_PigRaceData)"));
        for (const char* table : {"ZAVR_LoftData", "ZAVR_LoftClocks", "ZAVR_LoftLibPointDist"})
            dm.exec(QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1 WHERE LoftNo IN (SELECT LoftNo FROM main.ZAVR_PigData)")
                        .arg(QLatin1String(table)));
        dm.exec(QStringLiteral("INSERT INTO main.ZAVR_SunSet_SunRise SELECT * FROM src.ZAVR_SunSet_SunRise "
                               "WHERE RaceCode IN (SELECT RaceCode FROM main.ZAVR_RaceData)"));
        tx.commit();
    }
    dm.exec(QStringLiteral("DETACH DATABASE src"));
}

}  // namespace ClubGenerator
