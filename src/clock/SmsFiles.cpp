#include "SmsFiles.h"

#include "CorvelError.h"
#include "Formats.h"
#include "TdmZAVR.h"
#include "WholeFile.h"


namespace SmsFiles {
namespace {

// A field's text on one line: control characters (line breaks of a comment) as blanks.
QString oneLine(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    return out;
}

QString padded(const QString& text, int width) { return oneLine(text).leftJustified(width, QLatin1Char(' '), false); }
QString fitted(const QString& text, int width) { return oneLine(text).leftJustified(width, QLatin1Char(' '), true); }
QString cut(const QString& text, int width) { return oneLine(text).left(width); }

// A coordinate field that was never filled holds at most the input mask's literals.
bool hasCoordinate(const QString& coordinate)
{
    for (const QChar c : coordinate)
        if (c.isLetterOrNumber())
            return true;
    return false;
}

// The compact coordinate, or `missing` for a coordinate never filled.
QString compactOr(const QString& coordinate, const QString& missing)
{
    return hasCoordinate(coordinate) ? compactCoordinate(oneLine(coordinate)) : missing;
}

// Entries of the race: the race code is the liberation code followed by the date as "mmdd".
const char* const RaceEntries =
    "from (ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b on a.PRingNo=b.PRingNo) "
    "LEFT JOIN ZAVR_LoftData c on b.LoftNo=c.LoftNo "
    "where a.LiberCode=? and strftime('%m%d', a.LiberDate)=? ";

QVariantList raceEntryKey(const QString& raceCode)
{
    if (raceCode.size() < 4)
        return {QString(), QString()};  // matches no entry
    return {raceCode.chopped(4), raceCode.right(4)};
}

QSqlQuery raceEntries(const TdmZAVR& dm, const QString& columns, const QString& rest, const QString& raceCode)
{
    return dm.exec(QStringLiteral("select ") + columns + QLatin1Char(' ') + QString::fromLatin1(RaceEntries) + rest,
                   raceEntryKey(raceCode));
}

QStringList loftLines(const TdmZAVR& dm, const QString& raceCode)
{
    QSqlQuery q = raceEntries(dm, QStringLiteral("b.LoftNo,c.LoftName,c.PhoneNo,c.LoftLon,c.LoftLat"),
                              QStringLiteral("group by b.LoftNo,c.LoftName,c.PhoneNo,c.LoftLon,c.LoftLat order by b.LoftNo"),
                              raceCode);
    QStringList lines;
    while (q.next())
        lines << loftLine({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                           q.value(4).toString()});
    return lines;
}

QStringList ringLines(const TdmZAVR& dm, const QString& raceCode)
{
    QSqlQuery q = raceEntries(dm, QStringLiteral("b.PRingNo,b.E_Ring,b.UID,b.LoftNo,c.LoftName,b.Comment"),
                              QStringLiteral("order by b.LoftNo,b.RRegNumber"), raceCode);
    QStringList lines;
    while (q.next())
        lines << ringLine({q.value(3).toString(), q.value(4).toString(), q.value(0).toString(), q.value(1).toString(),
                           q.value(2).toString(), q.value(5).toString()});
    return lines;
}

QStringList keyLines(const TdmZAVR& dm, const QString& raceCode)
{
    QSqlQuery q = dm.exec(QStringLiteral("select LiberSite,LiberDate,LiberTime,LiberLon,LiberLat from ZAVR_RaceData "
                                         "where RaceCode=? order by rowid limit 1"),
                          {raceCode});
    if (!q.next())
        throw CorvelError(QStringLiteral("The race %1 is not in the race list.").arg(raceCode));
    return {keyLine({raceCode, q.value(0).toString(), Formats::fromDbDate(q.value(1)), Formats::fromDbTime(q.value(2)),
                     q.value(3).toString(), q.value(4).toString()})};
}

}  // namespace

QString fileName(File file)
{
    switch (file) {
    case File::Loft:
        return QStringLiteral("COTE.txt");
    case File::Ring:
        return QStringLiteral("RING.txt");
    case File::Key:
        break;
    }
    return QStringLiteral("CRVLKEY.txt");
}

QString dialogFilter(File file) { return QStringLiteral("Texe file | ") + fileName(file); }

QString compactCoordinate(const QString& c)
{
    return c.mid(0, 4) + c.mid(5, 2) + c.mid(8, 2) + c.mid(10, 5);
}

QString loftLine(const LoftFields& loft)
{
    return fitted(loft.loftNo, 10) + fitted(loft.loftName, 30) + padded(loft.phoneNo, 15)
           + compactOr(loft.loftLon, {}) + compactOr(loft.loftLat, {});
}

QString ringLine(const RingFields& ring)
{
    const QString loftNo = ring.loftNo.size() > 10 ? cut(ring.loftNo, 10).trimmed() : padded(ring.loftNo, 10);
    const QString comment = ring.comment.size() > 30 ? cut(ring.comment, 30) : padded(oneLine(ring.comment).trimmed(), 30);
    return loftNo + fitted(ring.loftName, 30) + padded(ring.ringNo, 20) + cut(ring.eRing, 8) + cut(ring.uid, 8)
           + QString(6, QLatin1Char(' ')) + comment;
}

QString keyLine(const RaceFields& race)
{
    const QString missing(13, QLatin1Char(' '));
    const QTime liberTime = race.liberTime.isValid() ? race.liberTime : QTime(0, 0);
    return padded(race.raceCode, 8) + padded(race.liberSite, 20) + QString(16, QLatin1Char(' '))
           + Formats::shortDate(race.liberDate) + Formats::longTime(liberTime)
           + Formats::shortDate(race.liberDate.addDays(2)) + Formats::longTime(QTime(18, 0))
           + compactOr(race.liberLon, missing) + compactOr(race.liberLat, missing);
}

QSqlQuery entryQuery(const TdmZAVR& dm, const QString& raceCode)
{
    return raceEntries(dm, QStringLiteral("b.RRegNumber,b.E_Ring,b.UID,b.LoftNo,c.LoftName"),
                       QStringLiteral("order by b.LoftNo,b.RRegNumber"), raceCode);
}

QStringList fileLines(const TdmZAVR& dm, File file, const QString& raceCode)
{
    if (raceCode.isEmpty())
        throw CorvelError(QString::fromLatin1(NoRaceMessage));
    switch (file) {
    case File::Loft:
        return loftLines(dm, raceCode);
    case File::Ring:
        return ringLines(dm, raceCode);
    case File::Key:
        break;
    }
    return keyLines(dm, raceCode);
}

EncodedText encodeLines(const QStringList& lines)
{
    EncodedText out;
    for (const QString& line : lines) {
        for (const QChar c : line) {
            if (c.unicode() <= 0xff) {
                out.bytes.append(static_cast<char>(c.unicode()));
            } else {
                out.bytes.append('?');
                ++out.replaced;
            }
        }
        out.bytes.append("\r\n");
    }
    return out;
}

int writeFile(const TdmZAVR& dm, File file, const QString& raceCode, const QString& path)
{
    const EncodedText text = encodeLines(fileLines(dm, file, raceCode));
    writeWholeFile(path, text.bytes);
    return text.replaced;
}

}  // namespace SmsFiles
