#include "RaceLogic.h"

#include "CorvelError.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

bool noCoordinates(const QString& lon)
{
    return lon.isEmpty() || lon.front() == QLatin1Char(' ');
}

QString textOrEmpty(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

}  // namespace

QString raceDateKey(const QDate& liberDate)
{
    return Formats::toDbMidnight(liberDate);
}

QString RaceCode(const QString& liberCode, const QDate& liberDate)
{
    return liberCode + Formats::formatDate(QStringLiteral("mmdd"), liberDate);
}

bool isLiberationCodeChar(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool isValidLiberationCode(const QString& code)
{
    if (code.isEmpty() || code.size() > 4)
        return false;
    for (QChar c : code)
        if (!isLiberationCodeChar(c))
            return false;
    return true;
}

std::optional<StoredRace> findStoredRace(const TdmZAVR& dm, const RaceKey& key)
{
    const auto row = dm.locate(QStringLiteral("ZAVR_RaceData"),
                               {QStringLiteral("ClubID"), QStringLiteral("LiberCode"), QStringLiteral("LiberDate")},
                               {key.clubId, key.liberCode, raceDateKey(key.liberDate)});
    if (!row)
        return std::nullopt;
    StoredRace race;
    race.clubId = textOrEmpty(row->value(QStringLiteral("ClubID")));
    race.liberCode = textOrEmpty(row->value(QStringLiteral("LiberCode")));
    race.liberSite = textOrEmpty(row->value(QStringLiteral("LiberSite")));
    race.liberSiteAbbr = textOrEmpty(row->value(QStringLiteral("LiberSiteAbbr")));
    race.liberDate = Formats::fromDbDate(row->value(QStringLiteral("LiberDate")));
    race.liberTime = row->value(QStringLiteral("LiberTime"));
    race.liberLon = row->value(QStringLiteral("LiberLon"));
    race.liberLat = row->value(QStringLiteral("LiberLat"));
    race.raceCode = textOrEmpty(row->value(QStringLiteral("RaceCode")));
    return race;
}

void loadRaceList(const TdmZAVR& dm, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT ClubID, LiberCode, LiberSiteAbbr, LiberSite, LiberDate, LiberTime, "
                                         "LiberLon, LiberLat, Updatetime, SynchFlag, RaceCode FROM ZAVR_RaceData "
                                         "ORDER BY rowid"));
    rows.setQueryResult(q);
}

ListedRace listedRace(const RowSetModel& races, int row)
{
    ListedRace race;
    race.key.clubId = races.value(row, QStringLiteral("ClubID")).toString();
    race.key.liberCode = races.value(row, QStringLiteral("LiberCode")).toString();
    race.liberDate = races.value(row, QStringLiteral("LiberDate"));
    race.liberTime = races.value(row, QStringLiteral("LiberTime"));
    race.key.liberDate = Formats::fromDbDate(race.liberDate);
    race.liberSiteAbbr = races.value(row, QStringLiteral("LiberSiteAbbr")).toString();
    race.liberSite = races.value(row, QStringLiteral("LiberSite")).toString();
    return race;
}

int findListedRace(const RowSetModel& races, const RaceKey& key)
{
    for (int r = 0; r < races.rowCount(); ++r) {
        const RaceKey listed = listedRace(races, r).key;
        if (listed.clubId == key.clubId && listed.liberCode == key.liberCode && listed.liberDate == key.liberDate)
            return r;
    }
    return -1;
}

std::optional<LiberationPoint> findLiberationPointBySite(const TdmZAVR& dm, const QString& site)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LiberCode, LiberSite, LiberSiteAbbr, LiberLon, LiberLat "
                                         "FROM ZAVR_LiberateSite WHERE LiberSite = ? ORDER BY rowid LIMIT 1"),
                          {site});
    if (!q.next())
        return std::nullopt;
    return LiberationPoint{textOrEmpty(q.value(0)), textOrEmpty(q.value(1)), textOrEmpty(q.value(2)), q.value(3),
                           q.value(4)};
}

QStringList liberationSiteNames(const TdmZAVR& dm)
{
    return dm.texts(QStringLiteral("SELECT LiberSite FROM ZAVR_LiberateSite ORDER BY rowid"));
}

void deleteLiberationPoint(const TdmZAVR& dm, const QString& liberCode)
{
    TdmZAVR::Transaction tx(dm);
    dm.exec(QStringLiteral("DELETE FROM ZAVR_LiberateSite WHERE LiberCode = ?"), {liberCode});
    dm.exec(QStringLiteral("DELETE FROM ZAVR_LoftLibPointDist WHERE LiberCode = ?"), {liberCode});
    tx.commit();
}

QStringList clubNames(const TdmZAVR& dm)
{
    return dm.texts(QStringLiteral("SELECT ClubName FROM ZAVR_ClubMap ORDER BY rowid"));
}

std::optional<QString> clubIdForName(const TdmZAVR& dm, const QString& clubName)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT ClubID FROM ZAVR_ClubMap WHERE ClubName = ? ORDER BY rowid LIMIT 1"),
                          {clubName});
    if (!q.next())
        return std::nullopt;
    return textOrEmpty(q.value(0));
}

QString clubNameForId(const TdmZAVR& dm, const QString& clubId)
{
    return textOrEmpty(
        dm.scalar(QStringLiteral("SELECT ClubName FROM ZAVR_ClubMap WHERE ClubID = ? ORDER BY rowid LIMIT 1"), {clubId}));
}

void addClub(const TdmZAVR& dm, const QString& clubId, const QString& clubName)
{
    if (clubId.trimmed().isEmpty() || clubName.trimmed().isEmpty())
        throw CorvelError(QStringLiteral("Enter both the club code and the club name."));
    dm.append(QStringLiteral("ZAVR_ClubMap"), {{QStringLiteral("ClubID"), clubId}, {QStringLiteral("ClubName"), clubName}});
}

void deleteClubByName(const TdmZAVR& dm, const QString& clubName)
{
    dm.exec(QStringLiteral("DELETE FROM ZAVR_ClubMap WHERE ClubName = ?"), {clubName});
}

RaceSaveResult saveRace(const TdmZAVR& dm, const RaceInput& input, const QDateTime& now)
{
    const std::optional<QString> club = clubIdForName(dm, input.clubName);
    if (!club)
        throw CorvelError(QStringLiteral("The club \"%1\" is not in the club list. Choose a club from the list, "
                                         "or add it first; the race is not saved.")
                              .arg(input.clubName));
    if (!input.liberDate.isValid())
        throw CorvelError(QStringLiteral("The liberation date is not valid; the race is not saved."));
    const QString raceCode = RaceCode(input.liberCode, input.liberDate);
    const QVariant date = raceDateKey(input.liberDate);
    const QVariant time = input.liberTime.isValid() ? QVariant(Formats::toDbTime(input.liberTime)) : QVariant();
    const QVariant stamp = Formats::toDbDateTime(now);
    const RaceKey key{*club, input.liberCode, input.liberDate};

    TdmZAVR::Transaction tx(dm);
    RaceSaveResult result = RaceSaveResult::NewRace;
    if (findStoredRace(dm, key)) {
        dm.update(QStringLiteral("ZAVR_RaceData"),
                  {QStringLiteral("ClubID"), QStringLiteral("LiberCode"), QStringLiteral("LiberDate")},
                  {*club, input.liberCode, date},
                  {{QStringLiteral("LiberSite"), input.liberSite},
                   {QStringLiteral("LiberSiteAbbr"), input.liberSiteAbbr},
                   {QStringLiteral("LiberDate"), date},
                   {QStringLiteral("LiberTime"), time},
                   {QStringLiteral("LiberLon"), input.liberLon},
                   {QStringLiteral("LiberLat"), input.liberLat},
                   {QStringLiteral("Updatetime"), stamp},
                   {QStringLiteral("RaceCode"), raceCode},
                   {QStringLiteral("SynchFlag"), 1}});
        result = RaceSaveResult::Updated;
    } else {
        const QVariant lon = noCoordinates(input.liberLon) ? QVariant() : QVariant(input.liberLon);
        const QVariant lat = noCoordinates(input.liberLon) ? QVariant() : QVariant(input.liberLat);
        const bool pointExists = dm.locate(QStringLiteral("ZAVR_LiberateSite"), {QStringLiteral("LiberCode")},
                                           {input.liberCode})
                                     .has_value();
        if (!pointExists) {
            if (input.liberSiteAbbr.isEmpty() || input.liberSite.isEmpty() || input.liberCode.isEmpty())
                throw CorvelError(QStringLiteral("Set new liberate point find data entry error !"));
            dm.append(QStringLiteral("ZAVR_LiberateSite"), {{QStringLiteral("LiberCode"), input.liberCode},
                                                            {QStringLiteral("LiberSite"), input.liberSite},
                                                            {QStringLiteral("LiberSiteAbbr"), input.liberSiteAbbr},
                                                            {QStringLiteral("LiberLon"), lon},
                                                            {QStringLiteral("LiberLat"), lat}});
            // One distance row per member, both distances 0 (rows already there are kept).
            dm.exec(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Miles, Yards) "
                                   "SELECT ?, a.LoftNo, 0, 0 FROM ZAVR_LoftData a WHERE NOT EXISTS "
                                   "(SELECT 1 FROM ZAVR_LoftLibPointDist d WHERE d.LiberCode = ? AND d.LoftNo = a.LoftNo) "
                                   "ORDER BY a.rowid"),
                    {input.liberCode, input.liberCode});
            result = RaceSaveResult::NewPointAndRace;
        }
        dm.append(QStringLiteral("ZAVR_RaceData"), {{QStringLiteral("ClubID"), *club},
                                                    {QStringLiteral("LiberCode"), input.liberCode},
                                                    {QStringLiteral("LiberSite"), input.liberSite},
                                                    {QStringLiteral("LiberSiteAbbr"), input.liberSiteAbbr},
                                                    {QStringLiteral("LiberDate"), date},
                                                    {QStringLiteral("LiberTime"), time},
                                                    {QStringLiteral("LiberLon"), lon},
                                                    {QStringLiteral("LiberLat"), lat},
                                                    {QStringLiteral("Updatetime"), stamp},
                                                    {QStringLiteral("SynchFlag"), 1},
                                                    {QStringLiteral("RaceCode"), raceCode}});
    }
    tx.commit();
    return result;
}

void deleteRace(const TdmZAVR& dm, const RaceKey& key)
{
    const QVariant date = raceDateKey(key.liberDate);
    TdmZAVR::Transaction tx(dm);
    dm.remove(QStringLiteral("ZAVR_RaceData"),
              {QStringLiteral("ClubID"), QStringLiteral("LiberCode"), QStringLiteral("LiberDate")},
              {key.clubId, key.liberCode, date});
    dm.exec(QStringLiteral("DELETE FROM ZAVR_SunSet_SunRise WHERE RaceCode = ?"), {RaceCode(key.liberCode, key.liberDate)});
    dm.exec(QStringLiteral("DELETE FROM ZAVR_PigRaceData WHERE LiberCode = ? AND date(LiberDate) = date(?)"),
            {key.liberCode, date});
    tx.commit();
}

QList<SunRowText> readSunTableRows(const TdmZAVR& dm, const QString& raceCode)
{
    QList<SunRowText> rows;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT RaceDate, Location, SunSet, SunRise FROM ZAVR_SunSet_SunRise "
                                         "WHERE RaceCode = ? ORDER BY rowid"),
                          {raceCode});
    while (q.next()) {
        SunRowText row;
        row.raceDate = Formats::formatDate(QStringLiteral("yy-mm-dd"), Formats::fromDbDate(q.value(0)));
        row.location = textOrEmpty(q.value(1));
        const QTime sunSet = Formats::fromDbTime(q.value(2));
        const QTime sunRise = Formats::fromDbTime(q.value(3));
        row.sunSet = sunSet.isValid() ? Formats::longTime(sunSet) : QString();
        row.sunRise = sunRise.isValid() ? Formats::longTime(sunRise) : QString();
        rows << row;
    }
    return rows;
}

namespace {

// "yyyy-mm-dd" as the table asks for, and "yy-mm-dd" as it shows stored rows (years 2000-2099).
QDate sunTableDate(const QString& cell)
{
    const QString text = cell.trimmed();
    QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (date.isValid())
        return date;
    date = QDate::fromString(text, QStringLiteral("yy-MM-dd"));
    if (date.isValid())
        return date.addYears(100);  // Qt reads "yy" as 19yy
    return {};
}

QTime sunTableTime(const QString& cell)
{
    return QTime::fromString(cell.trimmed(), QStringLiteral("H:mm:ss"));
}

}  // namespace

void saveSunRows(const TdmZAVR& dm, const QString& raceCode, const QList<SunRowText>& rows)
{
    struct Checked {
        QDate date;
        QTime sunSet;
        QTime sunRise;
        QString location;
    };
    QList<Checked> checked;
    for (int i = 0; i < rows.size() && i < SunTableDayRows; ++i) {
        const SunRowText& row = rows.at(i);
        if (row.raceDate.trimmed().isEmpty())
            continue;
        Checked c{sunTableDate(row.raceDate), sunTableTime(row.sunSet), sunTableTime(row.sunRise), row.location};
        const QString where = QStringLiteral("Sun table, day row %1: ").arg(i + 1);
        if (!c.date.isValid())
            throw CorvelError(where + QStringLiteral("\"%1\" is not a date (yyyy-mm-dd). Nothing is saved.").arg(row.raceDate));
        if (!c.sunSet.isValid())
            throw CorvelError(where + QStringLiteral("the sunset \"%1\" is not a time (hh:nn:ss). Nothing is saved.").arg(row.sunSet));
        if (!c.sunRise.isValid())
            throw CorvelError(where + QStringLiteral("the sunrise \"%1\" is not a time (hh:nn:ss). Nothing is saved.").arg(row.sunRise));
        checked << c;
    }
    TdmZAVR::Transaction tx(dm);
    dm.exec(QStringLiteral("DELETE FROM ZAVR_SunSet_SunRise WHERE RaceCode = ?"), {raceCode});
    for (const Checked& c : checked)
        dm.append(QStringLiteral("ZAVR_SunSet_SunRise"), {{QStringLiteral("RaceCode"), raceCode},
                                                          {QStringLiteral("RaceDate"), Formats::toDbMidnight(c.date)},
                                                          {QStringLiteral("SunSet"), Formats::toDbTime(c.sunSet)},
                                                          {QStringLiteral("SunRise"), Formats::toDbTime(c.sunRise)},
                                                          {QStringLiteral("Location"), c.location}});
    tx.commit();
}
