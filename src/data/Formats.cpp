#include "Formats.h"

#include <QLocale>
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
    return QDateTime(date, QTime(0, 0)).toString(toQtFormat(pattern));
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

QDateTime toWholeSecond(const QDateTime& moment)
{
    const QTime t = moment.time();
    return QDateTime(moment.date(), QTime(t.hour(), t.minute(), t.second()));
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
    return toDbDateTime(QDateTime(date, QTime(0, 0)));
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
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    for (const char* form : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm"}) {
        const QDateTime moment = QDateTime::fromString(text, QString::fromLatin1(form));
        if (moment.isValid())
            return moment;
    }
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (date.isValid())
        return QDateTime(date, QTime(0, 0));
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
