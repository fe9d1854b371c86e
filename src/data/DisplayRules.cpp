#include "DisplayRules.h"

#include "Formats.h"
#include "TdmZAVR.h"

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

}  // namespace DisplayRules

LoftNameLookup::LoftNameLookup(const TdmZAVR& dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LoftNo, LoftName FROM ZAVR_LoftData ORDER BY rowid"));
    while (q.next()) {
        const QString loftNo = q.value(0).toString();
        if (!names_.contains(loftNo))
            names_.insert(loftNo, q.value(1).toString());
    }
}

QString LoftNameLookup::name(const QVariant& loftNo) const
{
    if (loftNo.isNull() || !loftNo.isValid())
        return {};
    return names_.value(loftNo.toString());
}
