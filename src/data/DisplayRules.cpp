#include "DisplayRules.h"

#include "Formats.h"
#include "TdmZAVR.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace DisplayRules {

QString distanceText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    const QString text = Formats::formatNumber(value.toDouble(), 2);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return dot < 0 ? text : text.left(dot);
}

QString memberName(const TdmZAVR& dm, const QVariant& loftNo)
{
    if (loftNo.isNull() || !loftNo.isValid())
        return {};
    return dm.scalar(QStringLiteral("SELECT LoftName FROM ZAVR_LoftData WHERE LoftNo = ? LIMIT 1"), {loftNo.toString()})
        .toString();
}

QString dateTimeText(const QVariant& moment)
{
    if (moment.isNull() || !moment.isValid())
        return {};
    const QDateTime value = Formats::fromDbDateTime(moment);
    return value.isValid() ? Formats::dateTimeC(value) : moment.toString();
}

QString dateText(const QVariant& moment)
{
    return Formats::shortDate(Formats::fromDbDate(moment));
}

QString timeOfDayText(const QVariant& time)
{
    return Formats::longTime(Formats::fromDbTime(time));
}

QString sexText(const QVariant& sex)
{
    const QString code = sex.toString();
    if (code == QLatin1String("H"))
        return QStringLiteral("Hen");
    if (code == QLatin1String("C"))
        return QStringLiteral("Cock");
    return {};
}

QString raceSexText(const QVariant& sex)
{
    if (sex.isNull() || !sex.isValid())
        return {};
    return sex.toString() == QLatin1String("H") ? QStringLiteral("Hen") : QStringLiteral("Cock");
}

QString ringUpdateTimeText(const QVariant& moment)
{
    if (moment.isNull() || !moment.isValid())
        return {};
    return Formats::formatDateTime(QStringLiteral("mm/dd hh:nn:ss"), Formats::fromDbDateTime(moment));
}

QString ringPartsText(const QVariant& country, const QVariant& year, const QVariant& letters, const QVariant& number)
{
    return country.toString() + QLatin1Char(' ') + year.toString() + QLatin1Char(' ') + letters.toString() + QLatin1Char(' ')
           + number.toString();
}

QString backTimeText(const QVariant& backTime)
{
    if (backTime.isNull() || !backTime.isValid())
        return {};
    return backTime.toString().mid(11);
}

QString flySpeedText(const QVariant& flySpeed)
{
    if (flySpeed.isNull() || !flySpeed.isValid() || flySpeed.toDouble() == 0.0)
        return {};
    return Formats::formatNumberWidth(flySpeed.toDouble(), 8, 3);
}

}  // namespace DisplayRules

namespace {

// The first name of each member number the query returns (number, name).
QHash<QString, QString> firstNames(QSqlQuery& q)
{
    QHash<QString, QString> names;
    while (q.next()) {
        const QString loftNo = q.value(0).toString();
        if (!names.contains(loftNo))
            names.insert(loftNo, q.value(1).toString());
    }
    return names;
}

}  // namespace

LoftNameLookup::LoftNameLookup(const TdmZAVR& dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LoftNo, LoftName FROM ZAVR_LoftData ORDER BY rowid"));
    names_ = firstNames(q);
}

LoftNameLookup::LoftNameLookup(const TdmZAVR& dm, const QStringList& loftNos)
{
    if (loftNos.isEmpty())
        return;
    // The numbers go in as one bound JSON array.
    const QByteArray numbers = QJsonDocument(QJsonArray::fromStringList(loftNos)).toJson(QJsonDocument::Compact);
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LoftNo, LoftName FROM ZAVR_LoftData "
                                         "WHERE LoftNo IN (SELECT value FROM json_each(?)) ORDER BY rowid"),
                          {QString::fromUtf8(numbers)});
    names_ = firstNames(q);
}

QString LoftNameLookup::name(const QVariant& loftNo) const
{
    if (loftNo.isNull() || !loftNo.isValid())
        return {};
    return names_.value(loftNo.toString());
}

ColourNameLookup::ColourNameLookup(const TdmZAVR& dm, const QString& unknownName) : unknownName_(unknownName)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT ColorType, FeathColor FROM ZAVR_FeatherColor ORDER BY rowid"));
    while (q.next())
        if (!names_.contains(q.value(0).toString()))
            names_.insert(q.value(0).toString(), q.value(1).toString());
}

QString ColourNameLookup::name(const QVariant& code) const
{
    if (code.isNull() || !code.isValid())
        return unknownName_;
    return names_.value(code.toString(), unknownName_);
}

void RingPartsLookup::add(const QVariant& ringNo, const QVariant& country, const QVariant& year, const QVariant& letters,
                          const QVariant& number)
{
    parts_.insert(ringNo.toString(), {country, year, letters, number});
}

QString RingPartsLookup::text(const QVariant& ringNo) const
{
    if (ringNo.isNull() || !ringNo.isValid())
        return {};
    const QString key = ringNo.toString();
    const auto found = parts_.constFind(key);
    if (found == parts_.constEnd())
        return key;
    const std::array<QVariant, 4>& p = *found;
    return DisplayRules::ringPartsText(p[0], p[1], p[2], p[3]);
}
