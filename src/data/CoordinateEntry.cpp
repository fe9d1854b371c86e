#include "CoordinateEntry.h"

#include <optional>

namespace {

// The number of a group of the mask when every position holds a digit.
std::optional<int> digitGroup(const QString& text, qsizetype from, qsizetype length)
{
    if (from + length > text.size())
        return std::nullopt;
    int value = 0;
    for (qsizetype i = from; i < from + length; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

}  // namespace

QString coordinateEntryError(const QString& text, CoordinateAxis axis, const QString& fieldName)
{
    if (text.size() < 10 || text.at(4) != QLatin1Char('\'') || text.at(7) != QLatin1Char(':'))
        return {};
    const QString shown = text.trimmed();
    const std::optional<int> degrees = digitGroup(text, 1, 3);
    const std::optional<int> minutes = digitGroup(text, 5, 2);
    const std::optional<int> seconds = digitGroup(text, 8, 2);
    const std::optional<int> hundredths = text.size() >= 13 && text.at(10) == QLatin1Char('.') ? digitGroup(text, 11, 2)
                                                                                               : std::optional<int>(0);
    if (minutes && *minutes >= 60)
        return QStringLiteral("%1 \"%2\": the minutes must be below 60.").arg(fieldName, shown);
    if (seconds && *seconds >= 60)
        return QStringLiteral("%1 \"%2\": the seconds must be below 60.").arg(fieldName, shown);
    if (!degrees)
        return {};
    // In hundredths of a second of arc, so that the limit itself is allowed exactly.
    const qint64 total = ((qint64{*degrees} * 60 + minutes.value_or(0)) * 60 + seconds.value_or(0)) * 100 + hundredths.value_or(0);
    const bool longitude = axis == CoordinateAxis::Longitude;
    const qint64 limit = qint64{longitude ? 180 : 90} * 3600 * 100;
    if (total > limit)
        return longitude ? QStringLiteral("%1 \"%2\": a longitude may not be over 180 degrees.").arg(fieldName, shown)
                         : QStringLiteral("%1 \"%2\": a latitude may not be over 90 degrees.").arg(fieldName, shown);
    return {};
}
