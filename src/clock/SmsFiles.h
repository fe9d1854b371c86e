#pragma once

#include <QByteArray>
#include <QDate>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTime>

class TdmZAVR;

// The three fixed-width text files that describe one race for the club's SMS service: the lofts
// taking part ("COTE.txt"), the rings basketed ("RING.txt") and the race ("CRVLKEY.txt"). Lines
// end in CR LF; the text is Latin-1, a character outside it written as "?".
namespace SmsFiles {

inline constexpr const char* NoRaceMessage = "Pls. Select Race Code !";
// Shown once when characters of a race's files had to be written as "?".
inline constexpr const char* ReplacedCharactersMessage =
    "Some characters cannot be written in the SMS files and were replaced by \"?\".";

enum class File { Loft, Ring, Key };
inline constexpr File AllFiles[] = {File::Loft, File::Ring, File::Key};

// "COTE.txt", "RING.txt", "CRVLKEY.txt": the name the save dialog proposes.
QString fileName(File file);
// "Texe file | COTE.txt" and so on: the save dialog's filter.
QString dialogFilter(File file);

// A coordinate text without its apostrophe and colon: characters 1 to 4, 6 to 7, 9 to 10 and 11
// to 15 ("E121'23:24.33" gives "E1212324.33", "E121'23:24" gives "E1212324").
QString compactCoordinate(const QString& coordinate);

struct LoftFields {
    QString loftNo, loftName, phoneNo, loftLon, loftLat;
};
struct RingFields {
    QString loftNo, loftName, ringNo, eRing, uid, comment;
};
struct RaceFields {
    QString raceCode, liberSite;
    QDate liberDate;
    QTime liberTime;
    QString liberLon, liberLat;
};

// One line of each file, without its line end. Fields are padded with blanks or cut to their
// widths; a line break or other control character in a field is written as a blank.
//   loft: LoftNo 10, LoftName 30, PhoneNo padded to 15, then the compact longitude and latitude.
//   ring: LoftNo 10 (when longer: cut and trimmed), LoftName 30, PRingNo padded to 20, E_Ring and
//         UID cut to 8, six blanks, Comment 30 (when not longer: trimmed, then padded).
//   key:  race code padded to 8, LiberSite padded to 20, 16 blanks, liberation date and time,
//         closing date (two days later) and 18:00:00, compact longitude and latitude (13 blanks
//         each when missing).
QString loftLine(const LoftFields& loft);
QString ringLine(const RingFields& ring);
QString keyLine(const RaceFields& race);

// The entries of the race with their pigeon and member, by member number and registration
// number: RRegNumber, E_Ring, UID, LoftNo, LoftName (the tab's grid).
QSqlQuery entryQuery(const TdmZAVR& dm, const QString& raceCode);

// The lines of one file for the race (race code: liberation code and "mmdd"): one loft line per
// member with entries in the race, one ring line per entry, the key line of the race. Throws
// CorvelError when the race code is empty or, for the key file, the race is unknown.
QStringList fileLines(const TdmZAVR& dm, File file, const QString& raceCode);

struct EncodedText {
    QByteArray bytes;
    int replaced = 0;  // characters written as "?"
};
// The lines as Latin-1 text, each ended by CR LF.
EncodedText encodeLines(const QStringList& lines);

// Builds one file for the race and writes it to `path`, replacing an existing file, whole or not
// at all. Returns the number of characters written as "?". Throws CorvelError with the reason.
int writeFile(const TdmZAVR& dm, File file, const QString& raceCode, const QString& path);

}  // namespace SmsFiles
