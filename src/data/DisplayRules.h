#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

class TdmZAVR;

// Display rules shared by grids and reports.
namespace DisplayRules {

// A distance (Miles or Yards of a loft's distance row): empty for null, otherwise the whole
// number with thousands separators: 1234 -> "1,234", 0 -> "0".
QString distanceText(const QVariant& value);

// A member number shown as the member's name; empty for null or a number no member has.
QString memberName(const TdmZAVR& dm, const QVariant& loftNo);

}  // namespace DisplayRules

// The member names of the whole club, read once, for grids and reports that show many rows.
class LoftNameLookup {
public:
    explicit LoftNameLookup(const TdmZAVR& dm);
    QString name(const QVariant& loftNo) const;

private:
    QHash<QString, QString> names_;
};
