#pragma once

#include "GridColumns.h"

#include <QSqlQuery>
#include <QString>
#include <optional>

class ClockLibrary;
class DataFolder;
class TdmZAVR;

// The clocks of a member (ZAVR_LoftClocks): the clock list, registering a clock after asking the
// clock on the serial port for its serial number, and deleting one.
namespace LoftClocks {

inline constexpr const char* GetDevNoFail = "IFDGetDevNo Fail !";
inline constexpr const char* DeleteQuestion = "This will delete the data ?";

// The member's clocks: every column of ZAVR_LoftClocks (LoftNo, ClockID, LastSynchDate,
// SynchStat), in table order.
QSqlQuery clockListQuery(const TdmZAVR& dm, const QString& loftNo);
// The columns the clock list shows: serial number, last synchronisation, whether one is required.
GridColumns clockListColumns();
// The number of clocks the member has.
int clockCount(const TdmZAVR& dm, const QString& loftNo);
// "<name>'s Clock List"
QString clockListTitle(const QString& loftName);
// "Number of clocks <count>" (no leading zeros).
QString clockCountText(int count);

// What asking the clock on the serial port for its serial number came to. The link is released,
// and 300 ms have passed, before the answer is given, so the port is free again.
struct Discovery {
    bool portActive = false;          // a clock port was found; else show ComPortNotActive (PortScan.h)
    bool connected = false;           // the clock accepted the system identity; else nothing is shown
    std::optional<QString> serialNo;  // the serial number (up to 9 characters); none when it could
                                      // not be read although connected: show GetDevNoFail
};
// Through the given device library, with the system identity of the ZAVR.ini at iniPath.
Discovery discoverClock(ClockLibrary& library, const QString& iniPath);
// Through the device libraries that ZAVR.ini of the folder chooses. Throws CorvelError when they
// cannot be opened.
Discovery discoverClock(const DataFolder& folder);

// The result of "Save".
struct SaveOutcome {
    enum Kind {
        Saved,          // the clock is registered: re-read the list and its count, hide the box
        Duplicate,      // the member has that serial number already: show message, hide the box
        UnknownMember,  // no member has the typed name: show message, keep the box open
    };
    Kind kind = Saved;
    QString message;
};
// Registers the serial number clockId for the member loftNo (named loftName). memberName, the
// name typed in the box, must be a member's name, but does not choose the member. Throws DbError
// when the database refuses the row (for example a serial number over 10 characters).
SaveOutcome saveClock(const TdmZAVR& dm, const QString& loftNo, const QString& loftName, const QString& clockId,
                      const QString& memberName);

// Deletes the member's clock of that serial number.
void deleteClock(const TdmZAVR& dm, const QString& loftNo, const QString& clockId);

}  // namespace LoftClocks
