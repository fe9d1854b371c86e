#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class TdmZAVR;

// The pigeon ring register: ring numbers, single and range inserts, edits and deletes of
// ZAVR_PigData rows, and the lists the ring form offers.

// True for the countries whose ring numbers are written with hyphens: "AU", "IF", "CU", "MX".
bool hasHyphenatedRingNumber(const QString& country);

// The ring number PRingNo from country code, year, registration letters and number text.
// Hyphenated countries: C + Y + "-" + L + "-" + N, N left-padded with "0" to 4 characters.
// Every other country: C + Y + L + N as they stand.
QString composeRingNumber(const QString& country, const QString& year, const QString& letters,
                          const QString& number);

// The number texts of a range from `lower` to `upper` (both whole numbers of digits only),
// each zero-filled on the left to the width of `lower`. A range holds at most 256 numbers.
// Throws CorvelError with a message for a number that is not whole, an upper number below the
// lower one, or a range that is too long.
QStringList rangeNumberTexts(const QString& lower, const QString& upper);

inline constexpr int MaxRangeSteps = 255;  // upper - lower, at most

// Everything the ring form gives for a save.
struct RingInput {
    QString loftNo;       // the selected member
    QString country;      // C
    QString year;         // Y
    QString letters;      // L
    QString number;       // N, or the lower number of a range
    QString upperNumber;  // the upper number of a range; empty for one pigeon
    QString sex;          // "H" or "C"
    QString colourCode;   // empty when the colour is not in ZAVR_FeatherColor
    QString comment;
};

struct RingSaveResult {
    bool updated = false;       // an existing ring number was updated
    QStringList written;        // ring numbers written, in order
    QString lastRingNo() const { return written.isEmpty() ? QString() : written.last(); }
};

// Saves the ring form. When the composed ring number is the member's own pigeon, only its sex,
// colour code, comment and update time change and the upper number is ignored; when it belongs to
// another member (or to none) nothing is written and the message names the owner. Otherwise one
// pigeon, or the range up to the upper number, is inserted: all or nothing; an empty number, or
// empty letters where the country's ring layout needs letters, is refused. Empty texts are stored
// as empty texts, never null. Throws CorvelError (the refusals above, a bad range) or DbError (a
// key or length violation; a duplicate ring number is named).
RingSaveResult saveRing(const TdmZAVR& dm, const RingInput& input, const QDateTime& now);

// The refusal of a ring number that is stored for another member: it names the owner by name and
// loft number (`ownerLoftNo` null or empty: stored without a member).
QString ringOwnerError(const QString& ringNo, const QVariant& ownerLoftNo, const QString& ownerName);

// Deletes the pigeon of that loft and ring number; its race entries stay. Returns rows deleted.
int deleteRing(const TdmZAVR& dm, const QString& loftNo, const QString& ringNo);

// The pigeon row as the ring form loads it for editing.
struct PigeonRecord {
    QString country, year, letters, number, sex, colourCode, comment;
};
std::optional<PigeonRecord> loadPigeon(const TdmZAVR& dm, const QString& loftNo, const QString& ringNo);

// The ring list of one member, every field of ZAVR_PigData, in the order the rows were stored.
QSqlQuery ringListQuery(const TdmZAVR& dm, const QString& loftNo);

// "H" for exactly "Hen", otherwise "C".
QString sexCode(const QString& sexText);

// Colours: the names of ZAVR_FeatherColor in table order; a name's code (empty text, not null,
// when no row has that name, as for "Other"). A code's name comes from ColourNameLookup.
QStringList colourNames(const TdmZAVR& dm);
QString colourCode(const TdmZAVR& dm, const QString& colourName);

// The country codes offered by the ring form, from the text of ZAVR.ini [Parameter]
// CountryRingCode: cut at each comma, each piece trimmed; the piece after the last comma only
// when not empty.
QStringList parseCountryRingCodes(const QString& text);
// Reads ZAVR.ini at `iniPath`; a missing key gives an empty list. Throws CorvelError for a file
// larger than 1 MB.
QStringList readCountryRingCodes(const QString& iniPath);

// The birth years offered: nine years before `today`'s year to one after, as two digits.
QStringList birthYears(const QDate& today);
QString twoDigitYear(const QDate& date);
