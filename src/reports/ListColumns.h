#pragma once

#include "GridColumns.h"

#include <QStringList>

class TdmZAVR;
struct ClubSettings;

// The columns of the six lists that a page shows in a grid and prints as a list report: which
// fields the grid shows, in which order, under which titles, and the display rule of each. The
// page's grid and the list report take them from here, so a rule changed here changes both. The
// descriptions that show member or colour names read them from the database when they are made;
// the result's member names and ring parts are those read with its rows.
namespace ListColumns {

// Member list (Member page): LoftNo, LoftName, clockCnt, titled by their field names.
GridColumns memberList();

// Ring list of one member (Member page): ring number, colour name, sex, eRing, the dates.
GridColumns ringList(const TdmZAVR& dm);

// Race list (Races page): club, code, abbreviation, site, liberation date and time.
GridColumns raceList();

// Distance view (Races page): member name, loft number and the two distances, titled by the
// club's unit.
GridColumns memberDistances(const ClubSettings& club);

// Status view (Races page): member name, clock, birds marked and arrived.
GridColumns raceStatus(const TdmZAVR& dm);

// Result view (Races page): position, member name, ring parts, arrival time, flying time, speed
// titled by the club's unit, distance. The member and pigeon columns show the rows by the rules
// read with them (RaceResults::loadResultRows).
GridColumns raceResult(const ClubSettings& club, const GridColumn::DisplayRule& memberName,
                       const GridColumn::DisplayRule& ringParts);

}  // namespace ListColumns

// Titles of the two distance columns: "Miles" and "Yards" in yards mode, else "KM" and "M".
QStringList distanceTitles(bool yardsMode);

// Title of the result's speed column: "Yds/Min" in yards mode, "MPM" in metres mode.
QString resultSpeedTitle(const ClubSettings& club);
