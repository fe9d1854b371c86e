#pragma once

#include "Moment.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

// The program's fixed formats. They never follow the desktop's locale, so stored texts and file
// layouts are the same on every machine:
//   short date "yyyy/mm/dd", long time "hh:nn:ss" (24-hour), date and time "c",
//   decimal point ".", thousands separator ",".
// Format patterns use the letters "yyyy", "yy", "mm", "m", "dd", "d", "hh", "h", "nn", "n",
// "ss", "s", "zzz", "ddddd" (short date), "tt" (long time) and "c" (short date and long time,
// the time left out at midnight); "mm" or "m" right after an hour stands for minutes.
// Text between double or single quotes is copied as it stands.
namespace Formats {

inline constexpr const char* ShortDatePattern = "yyyy/mm/dd";
inline constexpr const char* LongTimePattern = "hh:nn:ss";

// Converts a pattern in the letters above into a Qt date-time format.
QString toQtFormat(const QString& pattern);

QString formatDateTime(const QString& pattern, const QDateTime& moment);
QString formatDate(const QString& pattern, const QDate& date);

QString shortDate(const QDate& date);          // 2024/05/10
QString longTime(const QTime& time);           // 08:05:09
QString dateTimeC(const QDateTime& moment);    // 2024/05/10 08:05:09, or 2024/05/10 at midnight

// Number with thousands separators and `decimals` decimals ("%n" has two): 1234 -> "1,234.00".
QString formatNumber(double value, int decimals = 2);
// "%W.Dn": formatNumber right-aligned in a field of at least `width` characters.
QString formatNumberWidth(double value, int width, int decimals);

// The moment without its milliseconds, as the pickers and stored texts hold it.
QDateTime toWholeSecond(const QDateTime& moment);

// A date typed in the short date format: "yyyy/mm/dd" (month and day may have one digit). A text
// that is not such a date, or names a day that does not exist (2026/02/30), gives an invalid date
// and, in `reason`, why it was refused.
QDate readShortDate(const QString& text, QString* reason = nullptr);
// The short date and the long time with one blank between, as arrival texts are stored
// ("2024/07/19 07:15:30"), as a moment; invalid when the text is not such a date and time.
QDateTime readShortDateLongTime(const QString& text);

// Storage forms of the database: "YYYY-MM-DD HH:MM:SS", a date alone as "YYYY-MM-DD", a time of
// day alone as "HH:MM:SS".
QString toDbDateTime(const QDateTime& moment);
QString toDbDate(const QDate& date);
// A date stored in a date-time column: the moment of its midnight, "YYYY-MM-DD 00:00:00".
QString toDbMidnight(const QDate& date);
QString toDbTime(const QTime& time);
// Read a stored value in any of the storage forms; null or unreadable values give invalid
// results. fromDbTime also reads a time of day stored alone. Date-times are read as moments.
QDateTime fromDbDateTime(const QVariant& value);
QDate fromDbDate(const QVariant& value);
QTime fromDbTime(const QVariant& value);

}  // namespace Formats
