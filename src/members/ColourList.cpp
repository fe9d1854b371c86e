#include "ColourList.h"

#include "CorvelError.h"
#include "TdmZAVR.h"

void addColour(const TdmZAVR& dm, const QString& code, const QString& name)
{
    if (code.trimmed().isEmpty() || name.trimmed().isEmpty())
        throw CorvelError(QStringLiteral("Enter both the color code and the color name."));
    const QVariant taken = dm.scalar(QStringLiteral("select FeathColor from ZAVR_FeatherColor where ColorType=?"), {code});
    if (taken.isValid())
        throw CorvelError(QStringLiteral("The color code %1 is already used by the color %2.").arg(code, taken.toString()));
    dm.exec(QStringLiteral("insert into ZAVR_FeatherColor (ColorType,FeathColor) values(?,?)"), {code, name});
}

int deleteColour(const TdmZAVR& dm, const QString& name)
{
    return dm.exec(QStringLiteral("delete from ZAVR_FeatherColor where FeathColor=?"), {name}).numRowsAffected();
}
