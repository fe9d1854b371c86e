// The result export of the largest race to xlsx, against its bare ranking statement written as CSV.

#include "BenchHarness.h"
#include "RaceResults.h"
#include "RaceSteps.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QFile>
#include <QSqlRecord>
#include <memory>

namespace {

void writeCsv(QSqlQuery& query, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    const int columns = query.record().count();
    QByteArray line;
    while (query.next()) {
        line.clear();
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                line += ',';
            line += query.value(c).toString().toUtf8();
        }
        line += '\n';
        file.write(line);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("result-export"), QStringLiteral("Result export to xlsx, largest race"),
          QStringLiteral("bare query written as CSV"), [](Bench::Club& club) -> Bench::Runs {
              auto rows = std::make_shared<RowSetModel>();
              const ClubGenerator::Race& race = club.largestRace();
              RaceResults::loadResultRows(club.dm(), race.liberCode, race.liberDate, *rows);
              return {[&club, rows](Bench::Clock&) {
                          RaceResults::exportResultRows(*rows, club.scratch(QStringLiteral("result.xlsx")));
                      },
                      [&club](Bench::Clock&) {
                          QSqlQuery q = RaceSteps::bareResultQuery(club.dm(), club.largestRace());
                          writeCsv(q, club.scratch(QStringLiteral("result.csv")));
                      }};
          }}});
}
