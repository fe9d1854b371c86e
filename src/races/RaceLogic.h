#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <optional>

class RowSetModel;
class TdmZAVR;

// A race in full: one liberation of one point on one date for one club.
struct RaceKey {
    QString clubId;
    QString liberCode;
    QDate liberDate;
};

// A race's date as it is stored with the race and with everything that belongs to it (the
// moment of its midnight), and as it is bound in the conditions that select them, which compare
// the date part only: "date(LiberDate) = date(?)".
QString raceDateKey(const QDate& liberDate);

// The race code: the liberation code followed by the liberation date as "mmdd"
// ("1A2F" on 19 August -> "1A2F0819").
QString RaceCode(const QString& liberCode, const QDate& liberDate);

// A liberation code as typed: one to four characters, digits and "A" to "F".
bool isLiberationCodeChar(QChar c);
bool isValidLiberationCode(const QString& code);

// The stored row of a race.
struct StoredRace {
    QString clubId;
    QString liberCode;
    QString liberSite;
    QString liberSiteAbbr;
    QDate liberDate;
    QVariant liberTime;  // time of day, null when not stored
    QVariant liberLon;   // coordinate texts, null when not stored
    QVariant liberLat;
    QString raceCode;
};
std::optional<StoredRace> findStoredRace(const TdmZAVR& dm, const RaceKey& key);

// The race list: every race row, in the order the rows were stored. Fields ClubID, LiberCode,
// LiberSiteAbbr, LiberSite, LiberDate, LiberTime, then LiberLon, LiberLat, Updatetime, SynchFlag,
// RaceCode.
void loadRaceList(const TdmZAVR& dm, RowSetModel& rows);

// A race of the race list as the page's views use it.
struct ListedRace {
    RaceKey key;
    QString liberSiteAbbr;
    QString liberSite;
    QVariant liberDate;  // as stored, for printed titles
    QVariant liberTime;
};
// The race of row `row` of the race list.
ListedRace listedRace(const RowSetModel& races, int row);
// The row of the race list holding the race `key`; -1 when none does.
int findListedRace(const RowSetModel& races, const RaceKey& key);

// A liberation point of ZAVR_LiberateSite.
struct LiberationPoint {
    QString liberCode;
    QString liberSite;
    QString liberSiteAbbr;
    QVariant liberLon;
    QVariant liberLat;
};
// The first point with this site name, in table order.
std::optional<LiberationPoint> findLiberationPointBySite(const TdmZAVR& dm, const QString& site);
// Site names of every point, in table order.
QStringList liberationSiteNames(const TdmZAVR& dm);
// Deletes the point with this code and its loft distance rows (one transaction). Races that use
// the code are not touched.
void deleteLiberationPoint(const TdmZAVR& dm, const QString& liberCode);

// Clubs of ZAVR_ClubMap.
QStringList clubNames(const TdmZAVR& dm);
// The ClubID of the first club with this name, empty when none.
std::optional<QString> clubIdForName(const TdmZAVR& dm, const QString& clubName);
QString clubNameForId(const TdmZAVR& dm, const QString& clubId);
// Adds a club; the code and the name must both be given (CorvelError otherwise).
void addClub(const TdmZAVR& dm, const QString& clubId, const QString& clubName);
void deleteClubByName(const TdmZAVR& dm, const QString& clubName);

// What the detail group holds when a race is saved. Coordinates are the masked texts as they
// stand; a longitude whose first character is a space means no coordinates were typed.
struct RaceInput {
    QString clubName;
    QString liberCode;
    QString liberSite;
    QString liberSiteAbbr;
    QString liberLon;
    QString liberLat;
    QDate liberDate;
    QTime liberTime;
};

enum class RaceSaveResult {
    NewPointAndRace,  // a new liberation point (with its distance rows) and a new race
    NewRace,
    Updated,  // exactly the race with the same club, code and date
};

// Saves a race in one transaction: a race with the same club, code and date is updated, else a
// new race is inserted, creating its liberation point first when the code has none. Throws
// CorvelError ("Set new liberate point find data entry error !" when a new point lacks its
// abbreviation, site or code; a message when the club is not in the club list) or DbError; in
// every failure nothing is written.
RaceSaveResult saveRace(const TdmZAVR& dm, const RaceInput& input, const QDateTime& now);

// Deletes a race, the sun rows of its race code and all its entries (one transaction). Its clock
// times, its liberation point and the point's distances stay. A race row that is not found is
// simply not deleted; the sun rows and entries are deleted all the same.
void deleteRace(const TdmZAVR& dm, const RaceKey& key);

// One day row of a race's sunrise and sunset table, as shown and typed.
struct SunRowText {
    QString raceDate;  // shown as "yy-mm-dd"; typed as "yyyy-mm-dd" (or "yy-mm-dd")
    QString location;
    QString sunSet;   // "hh:nn:ss"
    QString sunRise;  // "hh:nn:ss"
};
inline constexpr int SunTableDayRows = 6;

// The sun rows of a race code in stored order, formatted for the sun table.
QList<SunRowText> readSunTableRows(const TdmZAVR& dm, const QString& raceCode);
// Replaces all sun rows of the race code by the rows whose date cell is not empty (one
// transaction). Every row is checked first: a date that is not a date or a time that is not a
// time raises CorvelError naming the day row, and nothing is replaced.
void saveSunRows(const TdmZAVR& dm, const QString& raceCode, const QList<SunRowText>& rows);
