#include "RingLogic.h"

#include "CorvelError.h"
#include "CountryEntryAids.h"
#include "Formats.h"
#include "SettingsFile.h"
#include "TdmZAVR.h"


bool hasHyphenatedRingNumber(const QString& country)
{
    return country == QLatin1String("AU") || country == QLatin1String("IF") || country == QLatin1String("CU")
           || country == QLatin1String("MX");
}

QString composeRingNumber(const QString& country, const QString& year, const QString& letters, const QString& number)
{
    if (hasHyphenatedRingNumber(country))
        return country + year + QLatin1Char('-') + letters + QLatin1Char('-') + number.rightJustified(4, QLatin1Char('0'));
    return country + year + letters + number;
}

namespace {

bool isWholeNumber(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

}  // namespace

QStringList rangeNumberTexts(const QString& lower, const QString& upper)
{
    // Both fields hold at most 7 characters; anything longer is not a registration number.
    if (!isWholeNumber(lower) || !isWholeNumber(upper) || lower.size() > 7 || upper.size() > 7)
        throw CorvelError(QStringLiteral("The lower and upper registration numbers of a range must be whole numbers."));
    const qint64 first = lower.toLongLong();
    const qint64 last = upper.toLongLong();
    if (last < first)
        throw CorvelError(QStringLiteral("The upper registration number must not be below the lower one."));
    if (last - first > MaxRangeSteps)
        throw CorvelError(QStringLiteral("A range holds at most %1 ring numbers: the upper registration number may "
                                         "be at most %2 above the lower one.")
                              .arg(MaxRangeSteps + 1)
                              .arg(MaxRangeSteps));
    QStringList out;
    for (qint64 n = first; n <= last; ++n)
        out << QString::number(n).rightJustified(lower.size(), QLatin1Char('0'));
    return out;
}

namespace {

// A text as it is stored: an empty text stays an empty text, never null (a null QString binds as
// null).
QString storedText(const QString& text)
{
    return text.isNull() ? QString(QLatin1String("")) : text;
}

void insertPigeon(const TdmZAVR& dm, const RingInput& in, const QString& ringNo, const QString& number,
                  const QDateTime& now)
{
    try {
        dm.exec(QStringLiteral("Insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,"
                               "ColorType,Comment,SynchFlag,CreateDate,Updatetime) Values(?,?,?,?,?,?,?,?,?,1,?,?)"),
                {in.loftNo, ringNo, storedText(in.country), storedText(in.year), storedText(in.letters),
                 storedText(number), storedText(in.sex), storedText(in.colourCode), storedText(in.comment),
                 Formats::toDbMidnight(now.date()), Formats::toDbDateTime(now)});
    } catch (const DbError& e) {
        // Name the ring that was refused, so a duplicate in the middle of a range can be found.
        throw DbError(QStringLiteral("%1 Ring number: %2").arg(e.text(), ringNo));
    }
}

// The message that refuses a new pigeon whose ring number lacks its number, or its letters where
// the country's ring layout needs them; empty when it may be inserted.
QString newRingInputError(const RingInput& in)
{
    if (in.number.trimmed().isEmpty())
        return QStringLiteral("The Registration Number is empty: nothing is saved.");
    if (in.letters.trimmed().isEmpty() && lettersRequired(countryEntryAid(in.country)))
        return QStringLiteral("The Registration Letter is empty: a %1 ring number needs one. Nothing is saved.")
            .arg(in.country);
    return {};
}

}  // namespace

QString ringOwnerError(const QString& ringNo, const QVariant& ownerLoftNo, const QString& ownerName)
{
    const QString loftNo = ownerLoftNo.toString();
    if (loftNo.isEmpty())
        return QStringLiteral("The ring number %1 is already stored without a member: it is not saved for this member.")
            .arg(ringNo);
    const QString owner = ownerName.isEmpty() ? QStringLiteral("loft %1").arg(loftNo)
                                              : QStringLiteral("%1 (loft %2)").arg(ownerName, loftNo);
    return QStringLiteral("The ring number %1 belongs to %2: it is not saved for this member.").arg(ringNo, owner);
}

RingSaveResult saveRing(const TdmZAVR& dm, const RingInput& in, const QDateTime& now)
{
    RingSaveResult result;
    const QString ringNo = composeRingNumber(in.country, in.year, in.letters, in.number);
    QSqlQuery existing = dm.exec(QStringLiteral("select a.LoftNo, b.LoftName from ZAVR_PigData a "
                                                "left join ZAVR_LoftData b on b.LoftNo = a.LoftNo where a.PRingNo=?"),
                                 {ringNo});
    if (existing.next()) {
        // Only the member's own pigeon is changed; another member's pigeon stays as it is.
        if (existing.isNull(0) || existing.value(0).toString() != in.loftNo)
            throw CorvelError(ringOwnerError(ringNo, existing.value(0), existing.value(1).toString()));
        dm.exec(QStringLiteral("update ZAVR_PigData set sex=?,ColorType=?,Comment=?,Updatetime=? where PRingNo=?"),
                {storedText(in.sex), storedText(in.colourCode), storedText(in.comment), Formats::toDbDateTime(now), ringNo});
        result.updated = true;
        result.written << ringNo;
        return result;
    }
    if (const QString error = newRingInputError(in); !error.isEmpty())
        throw CorvelError(error);
    // One pigeon, or a range (an upper number equal to the lower one gives the number as typed).
    const QStringList numbers = in.upperNumber.isEmpty() ? QStringList{in.number} : rangeNumberTexts(in.number, in.upperNumber);
    TdmZAVR::Transaction tx(dm);
    for (const QString& number : numbers) {
        const QString rangeRingNo = composeRingNumber(in.country, in.year, in.letters, number);
        insertPigeon(dm, in, rangeRingNo, number, now);
        result.written << rangeRingNo;
    }
    tx.commit();
    return result;
}

int deleteRing(const TdmZAVR& dm, const QString& loftNo, const QString& ringNo)
{
    return dm.remove(QStringLiteral("ZAVR_PigData"), {QStringLiteral("LoftNo"), QStringLiteral("PRingNo")},
                     {loftNo, ringNo});
}

std::optional<PigeonRecord> loadPigeon(const TdmZAVR& dm, const QString& loftNo, const QString& ringNo)
{
    const auto row = dm.locate(QStringLiteral("ZAVR_PigData"), {QStringLiteral("LoftNo"), QStringLiteral("PRingNo")},
                               {loftNo, ringNo});
    if (!row)
        return std::nullopt;
    PigeonRecord p;
    p.country = row->value(QStringLiteral("RCountry")).toString();
    p.year = row->value(QStringLiteral("RYear")).toString();
    p.letters = row->value(QStringLiteral("RRegLetter")).toString();
    p.number = row->value(QStringLiteral("RRegNumber")).toString();
    p.sex = row->value(QStringLiteral("Sex")).toString();
    p.colourCode = row->value(QStringLiteral("ColorType")).toString();
    p.comment = row->value(QStringLiteral("Comment")).toString();
    return p;
}

QSqlQuery ringListQuery(const TdmZAVR& dm, const QString& loftNo)
{
    return dm.exec(QStringLiteral("select * from ZAVR_PigData where LoftNo=? order by rowid"), {loftNo});
}

QString sexCode(const QString& sexText)
{
    return sexText == QLatin1String("Hen") ? QStringLiteral("H") : QStringLiteral("C");
}

QStringList colourNames(const TdmZAVR& dm)
{
    return dm.texts(QStringLiteral("select FeathColor from ZAVR_FeatherColor order by rowid"));
}

QString colourCode(const TdmZAVR& dm, const QString& name)
{
    const QVariant code = dm.scalar(
        QStringLiteral("select ColorType from ZAVR_FeatherColor where FeathColor=? order by rowid limit 1"), {name});
    return storedText(code.toString());
}

QStringList parseCountryRingCodes(const QString& text)
{
    QStringList codes;
    const QStringList pieces = text.split(QLatin1Char(','));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString piece = pieces.at(i).trimmed();
        if (i + 1 < pieces.size() || !piece.isEmpty())
            codes << piece;
    }
    return codes;
}

QStringList readCountryRingCodes(const QString& iniPath)
{
    return parseCountryRingCodes(iniText(*readIniFile(iniPath), QStringLiteral("Parameter/CountryRingCode")));
}

QString twoDigitYear(const QDate& date)
{
    return QString::number(date.year() % 100).rightJustified(2, QLatin1Char('0'));
}

QStringList birthYears(const QDate& today)
{
    QStringList years;
    for (int offset = -9; offset <= 1; ++offset)
        years << twoDigitYear(today.addYears(offset));
    return years;
}
