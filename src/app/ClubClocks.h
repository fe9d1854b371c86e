#pragma once

#include "GridColumns.h"

class RowSetModel;
class TdmZAVR;

// The club's clocks as the Home page lists them.

// Every clock with its member's name and the date it was last programmed: ClockID, LoftName
// (empty for a clock whose member is gone), LastSynchDate.
void loadClubClocks(const TdmZAVR& dm, RowSetModel& rows);

// The three columns, centred, titled by their field names; the date without its time.
GridColumns clubClockColumns();
