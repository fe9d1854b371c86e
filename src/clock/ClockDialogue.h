#pragma once

#include "DeviceCodec.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class ClockLibrary;
class TPigModuV6;
class TdmZAVR;
class ClockOpState;
struct ClockOpValues;

// What the programming and the upload of a clock share: the race they work on, the race number,
// and the first steps of every dialogue with a clock.

// Shows a message to the operator and returns when it was seen; the dialogue then goes on.
using ShowMessage = std::function<void(const QString&)>;

// The race chosen on a clock tab, found by its race code.
struct ClockRace {
    QString raceCode;    // liberation code and "mmdd"
    QString clubId;
    QString liberCode;
    QDate liberDate;
    QDateTime liberation;  // LiberDate with the time of day of LiberTime, to the second; invalid when not stored
};

// The first race of ZAVR_RaceData (in table order) whose RaceCode is raceCode.
std::optional<ClockRace> findClockRace(const TdmZAVR& dm, const QString& raceCode);

// Choosing a race on a clock tab from its list entry ("1A2F / 0819"): raceCode becomes the entry's
// race code; when a race has that RaceCode, its LiberCode, LiberDate (short date) and ClubID
// become the chosen race's, otherwise they keep their values. Returns the race then chosen.
ClockRace chooseClockRace(const TdmZAVR& dm, ClockOpValues& values, const QString& choice);
// The race that the page-wide values name, with the liberation moment of its row.
ClockRace chosenClockRace(const TdmZAVR& dm, const ClockOpValues& values);

// The race number a clock holds for a race: the race code followed by "0" up to 8 characters
// ("120305" -> "12030500"). A training is always TrainingRaceNo.
QString raceNumber(const QString& raceCode);
inline constexpr char TrainingRaceNo[] = "F0000001";

// The system identity as the clock takes it, made from the clock link's texts by HexToBin.
struct ClockIdentity {
    DesBlock sysIdBlock{};
    DesBlock sysIdCipherBlock{};
    // The identity as text: the 8 characters of sysIdBlock.
    QByteArray sysIdText() const;
};

// The clock link of the page and its device library.
struct ClockOnLink {
    ClockLibrary& library;
    TPigModuV6& link;
};
// Throws CorvelError "IFD_Connect NOT OK !" when the page has no clock link (its device libraries
// could not be opened), as a connection to no clock fails.
ClockOnLink clockOnLink(const ClockOpState& state);

// Makes the identity blocks from the link's SysIDHex and SysIDCipherHex and connects to the clock
// on the link's port. Throws CorvelError "IFD_Connect NOT OK !" when the clock does not accept it.
ClockIdentity connectClock(ClockLibrary& library, const TPigModuV6& link);

// The race authentication block: the 8 characters of raceNo encrypted under the identity's cipher.
DesBlock raceAuthBlock(ClockLibrary& library, const QByteArray& raceNo, const ClockIdentity& identity);

// Throws CorvelError with failText (a device call's message) unless done.
void requireClock(bool done, const char* failText);

// The clock's number (GetDevNo, read up to 9 characters). Throws CorvelError with failText when
// the clock does not give it.
QString readClockNumber(TPigModuV6& link, const char* failText);

// The moment as the device libraries take it (days since 1899-12-30).
double clockDays(const QDateTime& moment);

// The race key of an entry or a clock row as the statements bind it: LiberCode, then the date.
QVariantList raceKeyValues(const ClockRace& race);
