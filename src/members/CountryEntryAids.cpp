#include "CountryEntryAids.h"

CountryEntryAid countryEntryAid(const QString& country)
{
    using L = CountryEntryAid::Letters;
    const QString dashHint = QStringLiteral("Field value : '-' ");
    const QString aToZHint = QStringLiteral("Field value : 'A' ~ 'Z'");
    if (country == QLatin1String("BELG") || country == QLatin1String("NL"))
        return {L::Dash, 0, 7, dashHint};
    if (country == QLatin1String("FR"))
        return {L::Dash, 0, 6, dashHint};
    if (country == QLatin1String("IHU"))
        return {L::NorthSouth, 1, 6, QStringLiteral("Field value : 'N' Or 'S'")};
    if (country == QLatin1String("GB") || country == QLatin1String("NWHU") || country == QLatin1String("WHU"))
        return {L::AToZ, 1, 5, aToZHint};
    if (country == QLatin1String("SU"))
        return {L::AToZOrDash, 1, 5, aToZHint};
    if (country == QLatin1String("NEHU"))
        return {L::NehuCode, 4, 5, QStringLiteral("Field value : AP,BOR... ")};
    if (country == QLatin1String("DV"))
        return {L::Dash, 0, 5, dashHint};
    return {};
}

bool letterKeyAllowed(const CountryEntryAid& aid, QChar key)
{
    using L = CountryEntryAid::Letters;
    const bool aToZ = key >= QLatin1Char('A') && key <= QLatin1Char('Z');
    switch (aid.letters) {
    case L::Free:
        return true;
    case L::Dash:
        return key == QLatin1Char('-');
    case L::NorthSouth:
        return key == QLatin1Char('N') || key == QLatin1Char('S');
    case L::AToZ:
    case L::NehuCode:
        return aToZ;
    case L::AToZOrDash:
        return aToZ || key == QLatin1Char('-');
    }
    return true;
}

const QStringList& nehuCodes()
{
    static const QStringList codes{
        QStringLiteral("AP"),  QStringLiteral("BOR"), QStringLiteral("BV"),  QStringLiteral("CD"),   QStringLiteral("CF"),
        QStringLiteral("CLS"), QStringLiteral("CON"), QStringLiteral("CR"),  QStringLiteral("DAR"),  QStringLiteral("DC"),
        QStringLiteral("EC"),  QStringLiteral("FUT"), QStringLiteral("GF"),  QStringLiteral("HAR"),  QStringLiteral("HET"),
        QStringLiteral("HOU"), QStringLiteral("MDS"), QStringLiteral("MT"),  QStringLiteral("N"),    QStringLiteral("NEC"),
        QStringLiteral("NOR"), QStringLiteral("NP"),  QStringLiteral("NW"),  QStringLiteral("NY"),   QStringLiteral("SAC"),
        QStringLiteral("SED"), QStringLiteral("SHOT"), QStringLiteral("SP"), QStringLiteral("SS"),   QStringLiteral("SUN"),
        QStringLiteral("TD"),  QStringLiteral("TEE"), QStringLiteral("TN"),  QStringLiteral("TR"),   QStringLiteral("TV"),
        QStringLiteral("WAN"), QStringLiteral("WD"),  QStringLiteral("X"),   QStringLiteral("Z")};
    return codes;
}

bool lettersRequired(const CountryEntryAid& aid)
{
    using L = CountryEntryAid::Letters;
    return aid.letters != L::Free && aid.letters != L::Dash;
}

bool lettersAcceptedOnLeaving(const CountryEntryAid& aid, const QString& letters)
{
    return aid.letters != CountryEntryAid::Letters::NehuCode || nehuCodes().contains(letters);
}
