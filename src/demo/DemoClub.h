#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The demo club: a small, living club made in a new data folder so that every page, every
// report and the race-day round trip on the simulated bench can be tried at once. It is built
// through the same save functions as the pages use, always with the same names, rings and times.
namespace DemoClub {

// What the demo club holds, for the tests and the README.
inline const QString ClubName = QStringLiteral("Corvel Valley Flyers");
inline const QString ClubId = QStringLiteral("CVF");
inline constexpr int MemberCount = 12;
inline constexpr int PigeonCount = 150;
// The finished race (liberation code and date) and the open race, whose pigeons are marked.
inline const QString FinishedRaceCode = QStringLiteral("1A");
inline const QString OpenRaceCode = QStringLiteral("2B");
// The member whose clock is on the bench (COM2) and one of whose pigeons has its ring on the
// reader (COM1).
inline const QString BenchMember = QStringLiteral("001");

// --demo DIR (or --demo=DIR): the folder to make the demo club in; none without the option. An
// option without its folder gives an empty text.
std::optional<QString> folderArgument(const QStringList& arguments);

// Makes the demo club in the data folder `folder` (created when missing): ZAVR.udl and ZAVR.ini
// where missing, the database and the bench (bench.json). A folder whose database exists already
// is refused and nothing is written to it. On failure everything the call created is removed
// again. Returns an empty text on success, else the reason.
QString create(const QString& folder);

}  // namespace DemoClub
