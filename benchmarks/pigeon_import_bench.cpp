// The import of 10,000 new pigeons (at size 1; five for every member) from an xlsx file, as the
// Member page's import runs it, against reading the same file plus the same inserts, bare, in one
// transaction.

#include "BenchHarness.h"
#include "CorvelError.h"
#include "Formats.h"
#include "PigeonSpreadsheet.h"
#include "RingLogic.h"
#include "RowSetModel.h"
#include "SpreadsheetReader.h"
#include "SpreadsheetWriter.h"
#include "TdmZAVR.h"

#include <QSqlError>
#include <cmath>
#include <memory>

namespace {

constexpr int PigeonsPerMember = 5;
const QString NewYear = QStringLiteral("25");  // the year of the imported rings only

// A workbook in the import's full layout of `count` pigeons new to the club, spread over its
// members, as a member's export gives it.
void writePigeonFile(const TdmZAVR& dm, const QString& path, int count)
{
    const QStringList colours = dm.texts(QStringLiteral("SELECT ColorType FROM ZAVR_FeatherColor ORDER BY ColorType"));
    QList<QVariantList> rows;
    for (int i = 0; i < count; ++i) {
        const QString loftNo = QStringLiteral("%1").arg(i / PigeonsPerMember + 1, 5, 10, QLatin1Char('0'));
        const QString letters(QChar(u'A' + i % 26));
        const QString number = QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0'));
        rows << QVariantList{loftNo,
                             QStringLiteral("GB"),
                             NewYear,
                             letters,
                             number,
                             i % 2 ? QStringLiteral("Hen") : QStringLiteral("Cock"),
                             colours.at(i % colours.size()),
                             composeRingNumber(QStringLiteral("GB"), NewYear, letters, number),
                             QStringLiteral("%1").arg(0xD0000000u + static_cast<quint32>(i), 8, 16, QLatin1Char('0')).toUpper()};
    }
    RowSetModel sheet;
    sheet.setRows({QStringLiteral("LoftNo"), QStringLiteral("RCountry"), QStringLiteral("RYear"), QStringLiteral("RRegLetter"),
                   QStringLiteral("RRegNumber"), QStringLiteral("Sex"), QStringLiteral("ColorType"), QStringLiteral("PRingNo"),
                   QStringLiteral("E_Ring")},
                  std::move(rows));
    const SheetColumn text{0, "@"};
    writeWorkbook(path, sheet, {{}, {}, text, {}, text});
}

// Takes the imported pigeons out again, so that every run imports into the same register.
void removeImported(const TdmZAVR& dm)
{
    TdmZAVR::Transaction tx(dm);
    dm.exec(QStringLiteral("DELETE FROM ZAVR_PigData WHERE RYear = ?"), {NewYear});
    tx.commit();
}

// The file read, and its rows inserted with one prepared statement in one transaction.
int bareImport(const TdmZAVR& dm, const QString& path, const QDateTime& now)
{
    const QList<QVariantList> sheet = readFirstSheet(path);
    const QString today = Formats::toDbMidnight(now.date());
    const QString stamp = Formats::toDbDateTime(now);
    QSqlDatabase db = dm.database();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo, RCountry, RYear, RRegLetter, RRegNumber, Sex, "
                                  "ColorType, Comment, SynchFlag, CreateDate, Updatetime, E_Ring) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, NULL, 1, ?, ?, ?)"));
    for (qsizetype r = 1; r < sheet.size(); ++r) {
        const QVariantList& cells = sheet.at(r);
        const QVariantList values = {cells.value(0), cells.value(7), cells.value(1), cells.value(2),
                                     cells.value(3), cells.value(4),
                                     cells.value(5).toString() == QLatin1String("Hen") ? QStringLiteral("H") : QStringLiteral("C"),
                                     cells.value(6), today, stamp, cells.value(8)};
        for (qsizetype i = 0; i < values.size(); ++i)
            insert.bindValue(static_cast<int>(i), values.at(i));
        if (!insert.exec())
            qFatal("%s", qPrintable(insert.lastError().text()));
    }
    db.commit();
    return static_cast<int>(sheet.size() - 1);
}

struct ImportRound {
    std::unique_ptr<TdmZAVR> dm;
    QString file;
    int count = 0;
    QDateTime now;
};

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("pigeon-import"), QStringLiteral("Pigeon import from xlsx, 10,000 pigeons at size 1"),
          QStringLiteral("the file read, the same inserts bare in one transaction"),
          [](Bench::Club& club) -> Bench::Runs {
              auto round = std::make_shared<ImportRound>();
              round->dm = club.openCopy(QStringLiteral("import.db"));
              round->file = club.scratch(QStringLiteral("pigeons.xlsx"));
              round->count = static_cast<int>(std::lround(10000 * club.size()));
              round->now = Formats::moment(QDate(2025, 1, 10), QTime(20, 0));
              writePigeonFile(*round->dm, round->file, round->count);
              return {[round](Bench::Clock& clock) {
                          const PigeonImportResult done = importPigeonFile(*round->dm, round->file, round->now);
                          clock.stop();
                          if (done.inserted != round->count)
                              throw CorvelError(QStringLiteral("%1 of %2 pigeons imported").arg(done.inserted).arg(round->count));
                          removeImported(*round->dm);
                      },
                      [round](Bench::Clock& clock) {
                          const int inserted = bareImport(*round->dm, round->file, round->now);
                          clock.stop();
                          if (inserted != round->count)
                              throw CorvelError(QStringLiteral("%1 of %2 pigeons inserted").arg(inserted).arg(round->count));
                          removeImported(*round->dm);
                      }};
          },
          2.0, true}});
}
