#include "Formats.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace Formats {
namespace {

const QLocale& numberLocale()
{
    // English (United States) always uses "," for thousands and "." for decimals.
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

int runLength(const QString& text, qsizetype from, QChar c)
{
    int n = 0;
    while (from + n < text.size() && text.at(from + n).toLower() == c)
        ++n;
    return n;
}

void appendQuoted(QString& out, const QString& literal)
{
    if (literal.isEmpty())
        return;
    QString escaped = literal;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    out += QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

}  // namespace

QString toQtFormat(const QString& pattern)
{
    QString out;
    QString literal;
    bool afterHour = false;
    qsizetype i = 0;
    auto flushLiteral = [&] {
        appendQuoted(out, literal);
        literal.clear();
    };
    while (i < pattern.size()) {
        const QChar ch = pattern.at(i);
        const QChar lower = ch.toLower();
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            const qsizetype end = pattern.indexOf(ch, i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            literal += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const int n = runLength(pattern, i, lower);
        QString token;
        if (lower == QLatin1Char('y')) {
            token = n >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy");
            afterHour = false;
        } else if (lower == QLatin1Char('d')) {
            if (n >= 5) {
                token = toQtFormat(QString::fromLatin1(ShortDatePattern));
            } else {
                token = n >= 2 ? QStringLiteral("dd") : QStringLiteral("d");
            }
            afterHour = false;
        } else if (lower == QLatin1Char('m')) {
            if (afterHour)
                token = n >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
            else
                token = n >= 2 ? QStringLiteral("MM") : QStringLiteral("M");
            afterHour = false;
        } else if (lower == QLatin1Char('n')) {
            token = n >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
            afterHour = false;
        } else if (lower == QLatin1Char('h')) {
            token = n >= 2 ? QStringLiteral("HH") : QStringLiteral("H");
            afterHour = true;
        } else if (lower == QLatin1Char('s')) {
            token = n >= 2 ? QStringLiteral("ss") : QStringLiteral("s");
            afterHour = false;
        } else if (lower == QLatin1Char('z')) {
            token = QStringLiteral("zzz");
            afterHour = false;
        } else if (lower == QLatin1Char('t') && n >= 2) {
            token = toQtFormat(QString::fromLatin1(LongTimePattern));
            afterHour = false;
        } else if (lower == QLatin1Char('c') && n == 1) {
            token = toQtFormat(QStringLiteral("ddddd tt"));
            afterHour = false;
        } else {
            literal += pattern.mid(i, n > 0 ? n : 1);
            i += n > 0 ? n : 1;
            continue;
        }
        flushLiteral();
        out += token;
        i += n;
    }
    flushLiteral();
    return out;
}

QString formatDateTime(const QString& pattern, const QDateTime& moment)
{
    if (!moment.isValid())
        return {};
    if (pattern == QLatin1String("c"))
        return dateTimeC(moment);
    return moment.toString(toQtFormat(pattern));
}

QString formatDate(const QString& pattern, const QDate& date)
{
    if (!date.isValid())
        return {};
    return moment(date, QTime(0, 0)).toString(toQtFormat(pattern));
}

QString shortDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString longTime(const QTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString dateTimeC(const QDateTime& moment)
{
    if (!moment.isValid())
        return {};
    if (moment.time() == QTime(0, 0))
        return shortDate(moment.date());
    return shortDate(moment.date()) + QLatin1Char(' ') + longTime(moment.time());
}

QString formatNumber(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    // A value that rounds to zero prints as "0.00", never "-0.00".
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0;
    return numberLocale().toString(value, 'f', decimals);
}

QString formatNumberWidth(double value, int width, int decimals)
{
    return formatNumber(value, decimals).rightJustified(width, QLatin1Char(' '));
}

QDateTime toWholeSecond(const QDateTime& dateTime)
{
    const QTime t = dateTime.time();
    return moment(dateTime.date(), QTime(t.hour(), t.minute(), t.second()));
}

QDate readShortDate(const QString& text, QString* reason)
{
    static const QRegularExpression form(QRegularExpression::anchoredPattern(QStringLiteral("(\\d{4})/(\\d{1,2})/(\\d{1,2})")));
    static const char* const monthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
    auto refuse = [&](const QString& why) {
        if (reason)
            *reason = why;
        return QDate();
    };
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return refuse(QStringLiteral("Enter a date as yyyy/mm/dd."));
    const QRegularExpressionMatch parts = form.match(typed);
    if (!parts.hasMatch())
        return refuse(QStringLiteral("\"%1\" is not a date: enter it as yyyy/mm/dd.").arg(typed));
    const int year = parts.captured(1).toInt();
    const int month = parts.captured(2).toInt();
    const int day = parts.captured(3).toInt();
    if (year < 1)
        return refuse(QStringLiteral("\"%1\" is not a date: there is no year 0.").arg(typed));
    if (month < 1 || month > 12)
        return refuse(QStringLiteral("\"%1\" is not a date: there is no month %2.").arg(typed).arg(month));
    const int days = QDate(year, month, 1).daysInMonth();
    if (day < 1 || day > days)
        return refuse(QStringLiteral("\"%1\" is not a date: %2 %3 has %4 days.")
                          .arg(typed, QLatin1String(monthNames[month - 1]))
                          .arg(year)
                          .arg(days));
    if (reason)
        reason->clear();
    return QDate(year, month, day);
}

QDateTime readShortDateLongTime(const QString& text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {};
    const QTime time = QTime::fromString(text.mid(blank + 1), QStringLiteral("HH:mm:ss"));
    return moment(readShortDate(text.left(blank)), time);
}

QString toDbDateTime(const QDateTime& moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString toDbDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString toDbMidnight(const QDate& date)
{
    return toDbDateTime(moment(date, QTime(0, 0)));
}

QString toDbTime(const QTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QDateTime fromDbDateTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDateTime)
        return asMoment(value.toDateTime());
    // The date and the time of day are read apart, so that no time zone takes part.
    const QString text = value.toString().trimmed();
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (text.size() == 10)
        return moment(date, QTime(0, 0));
    if (text.size() < 10 || (text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T')))
        return {};
    const QString timeText = text.mid(11);
    for (const char* form : {"HH:mm:ss", "HH:mm:ss.zzz", "HH:mm"}) {
        const QTime time = QTime::fromString(timeText, QString::fromLatin1(form));
        if (time.isValid())
            return moment(date, time);
    }
    return {};
}

QDate fromDbDate(const QVariant& value)
{
    return fromDbDateTime(value).date();
}

QTime fromDbTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    const QTime time = QTime::fromString(value.toString().trimmed(), QStringLiteral("HH:mm:ss"));
    if (time.isValid())
        return time;
    return fromDbDateTime(value).time();
}

}  // namespace Formats
