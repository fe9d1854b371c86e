#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>

class RowSetModel;
class TdmZAVR;

// What the tabs of the Clock Operation page share: member and race choices and the display rules
// of their grids.
namespace ClockOp {

// The LoftName of every member, in table order.
QStringList memberNames(const TdmZAVR& dm);
// The LoftNo of the first member (in table order) whose LoftName is exactly name.
std::optional<QString> loftNoOfName(const TdmZAVR& dm, const QString& name);

// The Marking tab's race list: each race as its LiberCode, two blanks and the date as "mm/dd"
// ("1A2F  08/19"), in table order.
QStringList markingRaceList(const TdmZAVR& dm);
// The other tabs' race list: LiberCode, " / " and the date as "mmdd" ("1A2F / 0819").
QStringList raceList(const TdmZAVR& dm);
// The race code of an entry of raceList: the text before the first "/" trimmed, followed by the
// text after it trimmed ("1A2F / 0819" -> "1A2F0819"); text without "/" trimmed as a whole.
QString raceCodeOfChoice(const QString& entry);
// A Marking race entry split at its first blank: the liberation code and the date text ("mm/dd"),
// both trimmed; an entry without a blank gives an empty code.
std::pair<QString, QString> splitMarkingChoice(const QString& entry);

// Display rules of the page's grids. A null field shows as empty text.
// Sex: "Hen" for "H", "Cock" for any other value.
QString sexText(const QVariant& sex);
// Sets the rules on the fields the model has: Sex and ColorType (the colour's name, empty when the
// code has none), LoftNo as the member's name when loftNoAsName, BackTime, FlySpeed and Dist
// of the upload's results, and date-time fields in the short date and long time format.
void applyDisplayRules(const TdmZAVR& dm, RowSetModel& rows, bool loftNoAsName);

// A grid column: the query field it shows and its title, in the order the grid shows them.
struct GridColumn {
    QString field;
    QString title;
};

}  // namespace ClockOp
