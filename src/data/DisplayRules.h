#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

class TdmZAVR;

// Display rules shared by grids and reports.
namespace DisplayRules {

// A distance (Miles or Yards of a loft's distance row): empty for null, otherwise the whole
// number with thousands separators: 1234 -> "1,234", 0 -> "0".
QString distanceText(const QVariant& value);

// A member number shown as the member's name; empty for null or a number no member has.
QString memberName(const TdmZAVR& dm, const QVariant& loftNo);

// A stored date-time without a rule of its own: short date and long time, the time left out at
// midnight; empty for null; an unreadable value as it is stored.
QString dateTimeText(const QVariant& moment);
// The date of a stored date-time in the short date format; empty for null or unreadable.
QString dateText(const QVariant& moment);
// A stored time of day (alone or in a date-time) in the long time format; empty for null or
// unreadable.
QString timeOfDayText(const QVariant& time);

// Pigeon register.
// Sex: "H" -> "Hen", "C" -> "Cock", anything else empty.
QString sexText(const QVariant& sex);
// Sex of a pigeon in a race (clock grids and race reports): empty for null, "Hen" for "H", "Cock"
// for any other value.
QString raceSexText(const QVariant& sex);
// Updatetime: empty when null, else "mm/dd hh:nn:ss".
QString ringUpdateTimeText(const QVariant& moment);
// The name shown for a colour code that has no row in ZAVR_FeatherColor.
inline constexpr const char* OtherColourName = "Other";
// A ring as its four parts separated by single blanks: "BELG 24  1234567".
QString ringPartsText(const QVariant& country, const QVariant& year, const QVariant& letters, const QVariant& number);

// Race entries.
// BackTime: the stored arrival text without its date (from its twelfth character on).
QString backTimeText(const QVariant& backTime);
// FlySpeed: empty for 0, else "%8.3n".
QString flySpeedText(const QVariant& flySpeed);

}  // namespace DisplayRules

// Member names by member number, read once for grids and reports that show many rows: the whole
// club's, or only those of the given members. A number without a name shows empty.
class LoftNameLookup {
public:
    explicit LoftNameLookup(const TdmZAVR& dm);
    LoftNameLookup(const TdmZAVR& dm, const QStringList& loftNos);
    QString name(const QVariant& loftNo) const;

private:
    QHash<QString, QString> names_;
};

// The colour names of the club by code, read once: the name of a code's first row, or
// unknownName ("Other" unless given) for a code without a row (an empty or null code included).
class ColourNameLookup {
public:
    explicit ColourNameLookup(const TdmZAVR& dm, const QString& unknownName = QString::fromLatin1(DisplayRules::OtherColourName));
    QString name(const QVariant& code) const;

private:
    QHash<QString, QString> names_;
    QString unknownName_;
};

// Rings as their parts, gathered from the rows that show them. A ring that was not added (not, or
// no longer, in the register) shows its stored number; null shows empty.
class RingPartsLookup {
public:
    void add(const QVariant& ringNo, const QVariant& country, const QVariant& year, const QVariant& letters,
             const QVariant& number);
    QString text(const QVariant& ringNo) const;

private:
    // The parts as they were read; joined only for the rings that are shown.
    QHash<QString, std::array<QVariant, 4>> parts_;
};
