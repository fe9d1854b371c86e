#include "PigeonSpreadsheet.h"

#include "CorvelError.h"
#include "Formats.h"
#include "RingLogic.h"
#include "RowSetModel.h"
#include "SpreadsheetReader.h"
#include "SpreadsheetWriter.h"
#include "TdmZAVR.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace {

constexpr int ShortLayoutColumns = 7;

// What the columns hold, as the messages name them.
const char* const ColumnMeanings[] = {"member number", "country code", "year", "registration letters", "registration number",
                                      "sex", "colour code", "ring number", "eRing number"};

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

QString columnName(int column)  // column from 1
{
    return QStringLiteral("the %1 (column %2)").arg(QString::fromLatin1(ColumnMeanings[column - 1])).arg(column);
}

// The text of a cell; a whole number zero-filled to `width` digits.
QString cellText(const QVariantList& cells, int column, int width = 0)
{
    // An empty cell is an empty text, stored as such (not null).
    const QString empty(QLatin1String(""));
    if (column > cells.size())
        return empty;
    const QVariant& cell = cells.at(column - 1);
    switch (cell.metaType().id()) {
    case QMetaType::UnknownType:
        return empty;
    case QMetaType::Double: {
        const double value = cell.toDouble();
        if (!std::isfinite(value) || value != std::trunc(value) || std::fabs(value) >= 1e15) {
            throw CorvelError(capitalised(columnName(column))
                              + QStringLiteral(" holds the number %1, not a whole number.").arg(QString::number(value, 'g', 15)));
        }
        return QString::number(static_cast<qint64>(value)).rightJustified(width, QLatin1Char('0'));
    }
    case QMetaType::Bool:
        return cell.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default: {
        const QString text = cell.toString();
        return text.isNull() ? empty : text;
    }
    }
}

bool isBlankRow(const QVariantList& cells)
{
    for (const QVariant& cell : cells)
        if (!cell.isNull() && !cell.toString().trimmed().isEmpty())
            return false;
    return true;
}

// A statement prepared once and run for every row of a sheet.
class RowStatement {
public:
    RowStatement(const TdmZAVR& dm, const QString& sql) : query_(dm.database())
    {
        query_.setForwardOnly(true);
        if (!query_.prepare(sql))
            fail();
    }
    QSqlQuery& run(const QVariantList& params)
    {
        for (qsizetype i = 0; i < params.size(); ++i)
            query_.bindValue(static_cast<int>(i), params.at(i));
        if (!query_.exec())
            fail();
        return query_;
    }

private:
    [[noreturn]] void fail() const
    {
        const QSqlError error = query_.lastError();
        const QString text = error.databaseText().trimmed();
        throw DbError(TdmZAVR::readableError(text.isEmpty() ? error.text().trimmed() : text));
    }
    QSqlQuery query_;
};

CorvelError rowError(int sheetRow, const QString& reason)
{
    return CorvelError(QStringLiteral("Import stopped at row %1 of the sheet: %2 Nothing of the file was imported.")
                           .arg(sheetRow)
                           .arg(reason));
}

}  // namespace

PigeonSheetRow pigeonSheetRow(const QVariantList& cells)
{
    PigeonSheetRow row;
    row.loftNo = cellText(cells, 1);
    row.country = cellText(cells, 2);
    row.year = cellText(cells, 3, 2);
    row.letters = cellText(cells, 4);
    row.number = cellText(cells, 5);
    row.sex = cellText(cells, 6);
    row.colourCode = cellText(cells, 7);
    row.ringNo = cellText(cells, 8);
    row.eRing = cellText(cells, 9, 8);
    return row;
}

QString importRingNumber(const PigeonSheetRow& row, bool fullLayout)
{
    if (fullLayout && !row.ringNo.isEmpty())
        return row.ringNo;
    return row.country + row.year + row.letters + row.number;
}

PigeonImportResult importPigeonSheet(const TdmZAVR& dm, const QList<QVariantList>& sheet, const QDateTime& now,
                                     const ImportProgress& progress)
{
    PigeonImportResult result;
    const bool fullLayout = sheet.isEmpty() || sheet.first().size() != ShortLayoutColumns;
    const int total = static_cast<int>(std::max<qsizetype>(sheet.size() - 1, 0));
    const QString today = Formats::toDbMidnight(now.date());
    const QString stamp = Formats::toDbDateTime(now);
    const auto cancelled = [&](int done) {
        if (!progress || progress(done, total))
            return false;
        result = PigeonImportResult{};
        result.cancelled = true;
        return true;
    };

    TdmZAVR::Transaction tx(dm);
    RowStatement findOwner(dm, QStringLiteral("select a.LoftNo, b.LoftName from ZAVR_PigData a "
                                              "left join ZAVR_LoftData b on b.LoftNo = a.LoftNo where a.PRingNo=?"));
    RowStatement insert(dm, QStringLiteral("Insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,"
                                           "RRegNumber,Sex,ColorType,Comment,SynchFlag,CreateDate,Updatetime,E_Ring) "
                                           "Values(?,?,?,?,?,?,?,?,NULL,1,?,?,?)"));
    RowStatement update(dm, fullLayout ? QStringLiteral("update ZAVR_PigData set sex=?,ColorType=?,E_Ring=?,Updatetime=? "
                                                        "where PRingNo=?")
                                       : QStringLiteral("update ZAVR_PigData set sex=?,ColorType=?,Updatetime=? "
                                                        "where PRingNo=?"));
    for (int i = 0; i < total; ++i) {
        if (cancelled(i))
            return result;
        const QVariantList& cells = sheet.at(i + 1);
        const int sheetRow = i + 2;
        if (isBlankRow(cells))
            continue;
        try {
            const PigeonSheetRow row = pigeonSheetRow(cells);
            const QString ringNo = importRingNumber(row, fullLayout);
            const bool composed = !fullLayout || row.ringNo.isEmpty();
            if (row.loftNo.isEmpty())
                throw CorvelError(capitalised(columnName(1)) + QStringLiteral(" is empty."));
            if (composed && row.number.isEmpty())
                throw CorvelError(capitalised(columnName(5)) + QStringLiteral(" is empty."));
            const QString sex = sexCode(row.sex);
            const QVariant eRing = row.eRing.isEmpty() ? QVariant() : QVariant(row.eRing);
            QSqlQuery& found = findOwner.run({ringNo});
            const bool known = found.next();
            const QVariant owner = known ? found.value(0) : QVariant();
            const QString ownerName = known ? found.value(1).toString() : QString();
            found.finish();
            if (!known) {
                insert.run({row.loftNo, ringNo, row.country, row.year, row.letters, row.number, sex, row.colourCode, today,
                            stamp, fullLayout ? eRing : QVariant()});
                ++result.inserted;
            } else if (!owner.isNull() && owner.toString() == row.loftNo) {
                if (fullLayout)
                    update.run({sex, row.colourCode, eRing, stamp, ringNo});
                else
                    update.run({sex, row.colourCode, stamp, ringNo});
                ++result.updated;
            } else {
                throw CorvelError(ringOwnerError(ringNo, owner, ownerName));
            }
        } catch (const CorvelError& e) {
            throw rowError(sheetRow, e.text());
        }
    }
    if (cancelled(total))
        return result;
    tx.commit();
    return result;
}

PigeonImportResult importPigeonFile(const TdmZAVR& dm, const QString& path, const QDateTime& now,
                                    const ImportProgress& progress)
{
    return importPigeonSheet(dm, readFirstSheet(path), now, progress);
}

void exportPigeons(const TdmZAVR& dm, const QString& loftNo, const QString& path)
{
    QSqlQuery q = dm.exec(QStringLiteral("select a.LoftNo,a.RCountry, a.RYear,a.RRegLetter,a.RRegNumber,"
                                         "iif(a.Sex='C','Cock','Hen') as Sex,a.ColorType ,a.PRingNo,a.E_Ring "
                                         "from ZAVR_PigData a where a.LoftNo=? order by a.PRingNo"),
                          {loftNo});
    RowSetModel rows;
    rows.setQueryResult(q);
    // Year and registration number as text, so that 07 and 0098 keep their zeros.
    const SheetColumn text{0, "@"};
    writeWorkbook(path, rows, {{}, {}, text, {}, text});
}
