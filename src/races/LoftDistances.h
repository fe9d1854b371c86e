#pragma once

#include "RaceLogic.h"

#include <QString>
#include <QStringList>

class RowSetModel;
class TdmZAVR;

// The two distance columns of a loft's distance row for a distance in metres: in metres mode
// whole kilometres and metres, in yards mode whole miles and the whole distance in yards.
struct LoftDistanceColumns {
    int miles = 0;
    int yards = 0;
};
LoftDistanceColumns distanceColumns(int metres, bool yardsMode);

struct LoftDistUpdateResult {
    int membersUpdated = 0;   // rows written (including those added)
    int rowsAdded = 0;        // members that had no distance row for the point
    int membersSkipped = 0;   // members whose loft longitude is null keep their values
    QStringList messages;     // coordinate messages, in the order they arose
};

// Computes the distance of every member's loft to the point of the race, with the coordinates
// stored in the race row, and stores it in the member's distance row for the race's code (added
// when missing). One transaction. Members whose loft longitude is null are skipped; a blank or
// invalid coordinate gives 0 in both columns. Throws CorvelError when the race row cannot be
// found (nothing is written).
LoftDistUpdateResult LoftDistUpdate(const TdmZAVR& dm, const RaceKey& race);

// The Distance view's rows: the point's distance row of every member, in stored order, with the
// member's name. Fields LoftName, LoftNo, Miles, Yards, LiberCode.
void loadDistanceRows(const TdmZAVR& dm, const QString& liberCode, RowSetModel& rows);

// Stores a distance typed by hand. Throws CorvelError when the row does not exist.
void saveLoftDistance(const TdmZAVR& dm, const QString& liberCode, const QString& loftNo, int miles, int yards);
