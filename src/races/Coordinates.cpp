#include "Coordinates.h"

#include <QRegularExpression>
#include <cmath>

namespace {

constexpr QChar DegreeSign(0x00B0);
constexpr QChar AcuteAccent(0x00B4);

// Trims spaces and control characters at both ends.
QString trimControls(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

// A decimal number: optional leading spaces, an optional sign, digits with an optional "." and
// further digits, and an optional exponent; nothing after it, not even a line break.
bool toNumber(const QString& text, double& number)
{
    static const QRegularExpression form(QStringLiteral("\\A *[+-]?\\d+(\\.\\d+)?([eE][+-]?\\d+)?\\z"));
    if (!form.match(text).hasMatch())
        return false;
    bool ok = false;
    number = text.trimmed().toDouble(&ok);
    return ok;
}

bool isFirstSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\'') || c == QLatin1Char(',') || c == QLatin1Char(':') || c == DegreeSign;
}

bool isAfterFirstSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char(':') || c == DegreeSign || c == AcuteAccent;
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\'') || c == QLatin1Char(',') || c == QLatin1Char(':') || c == AcuteAccent;
}

}  // namespace

bool ParseCoordinate(const QString& text, double& value, QStringList* messages)
{
    value = 0;
    QString t = trimControls(text);
    if (t.isEmpty())
        return false;
    // "000" degrees with no minutes or seconds either is the coordinate left at zero: not given.
    // With minutes or seconds it is a place within a degree of the meridian or the equator.
    const bool zeroDegrees = t.mid(1, 3) == QLatin1String("000");

    double sign = 1;
    auto isMark = [](QChar c) {
        return c == QLatin1Char('-') || c == QLatin1Char('E') || c == QLatin1Char('N') || c == QLatin1Char('S')
               || c == QLatin1Char('W');
    };
    QChar mark;
    if (isMark(t.front().toUpper())) {
        mark = t.front().toUpper();
        t.remove(0, 1);
    } else if (isMark(t.back().toUpper())) {
        mark = t.back().toUpper();
        t.chop(1);
    }
    if (mark == QLatin1Char('-') || mark == QLatin1Char('S') || mark == QLatin1Char('W'))
        sign = -1;

    t += QLatin1Char(',');
    QString degreesText = QStringLiteral("0");
    QString minutesText = QStringLiteral("0");
    QString secondsText = QStringLiteral("0.0");
    int part = 0;
    qsizetype i = 0;
    while (i < t.size()) {
        const QChar c = t.at(i);
        if (part == 0 && isFirstSeparator(c)) {
            degreesText = t.left(i);
            t.remove(0, i + 1);
            while (!t.isEmpty() && isAfterFirstSeparator(t.front()))
                t.remove(0, 1);
            part = 1;
            i = 0;
        } else if (isSeparator(c)) {
            if (part == 1)
                minutesText = t.left(i);
            else if (part == 2)
                secondsText = t.left(i);
            t.remove(0, i + 1);
            while (!t.isEmpty() && isSeparator(t.front()))
                t.remove(0, 1);
            ++part;
            i = 0;
        } else {
            ++i;
        }
    }

    const std::pair<const QString*, const char*> parts[] = {
        {&degreesText, "degrees"}, {&minutesText, "minutes"}, {&secondsText, "seconds"}};
    double numbers[3] = {0, 0, 0};
    for (int n = 0; n < 3; ++n) {
        if (!toNumber(*parts[n].first, numbers[n])) {
            if (messages)
                messages->append(QStringLiteral("Invalid character in %1 field in string %2")
                                     .arg(QLatin1String(parts[n].second), text));
            return false;
        }
    }
    if (zeroDegrees && numbers[0] == 0 && numbers[1] == 0 && numbers[2] == 0)
        return false;
    value = (numbers[1] / 60 + numbers[0] + numbers[2] / 3600) * sign;
    return true;
}

double CoordDistanceKm(double loftLon, double loftLat, double pointLon, double pointLat)
{
    // pi rounded to nine decimals, over 180; the kilometre factors are fixed decimal values.
    constexpr double k = 0.0174532925222222222;
    constexpr double kmPerDegreeLon = 111.3200144;
    constexpr double kmPerDegreeLat = 110.9481458;
    const double x = (std::cos(loftLat * k) * kmPerDegreeLon + std::cos(pointLat * k) * kmPerDegreeLon)
                     * (loftLon - pointLon) / 2;
    const double y = kmPerDegreeLat * (loftLat - pointLat);
    return std::sqrt(x * x + y * y);
}

int LoftDistanceMetres(const QString& loftLon, const QString& loftLat, const QString& pointLon,
                       const QString& pointLat, QStringList* messages)
{
    if (loftLat.startsWith(QLatin1Char(' ')))
        return 0;
    double lat = 0;
    double lon = 0;
    double pLat = 0;
    double pLon = 0;
    if (!ParseCoordinate(loftLat, lat, messages) || !ParseCoordinate(loftLon, lon, messages)
        || !ParseCoordinate(pointLat, pLat, messages) || !ParseCoordinate(pointLon, pLon, messages))
        return 0;
    const double metres = std::trunc(CoordDistanceKm(lon, lat, pLon, pLat) * 1000);
    if (!(metres >= 0 && metres <= 2147483647.0))
        return 0;
    return static_cast<int>(metres);
}
