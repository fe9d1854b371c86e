// The Result view of the largest race, against the bare ranking statement; and of a 10-bird race,
// against the same on a register that holds only that race's pigeons.

#include "BenchHarness.h"
#include "RaceSteps.h"
#include "TdmZAVR.h"

#include <memory>

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("result-view"), QStringLiteral("Result view, largest race"), QStringLiteral("bare RANK() query"),
          [](Bench::Club& club) -> Bench::Runs {
              auto view = std::make_shared<RaceSteps::ResultView>();
              return {[&club, view](Bench::Clock&) { RaceSteps::openResultView(club.dm(), club.largestRace(), *view); },
                      [&club](Bench::Clock&) {
                          QSqlQuery q = RaceSteps::bareResultQuery(club.dm(), club.largestRace());
                          RaceSteps::readAll(q);
                      }};
          },
          1.5, true},
         {QStringLiteral("result-view-10"), QStringLiteral("Result view, 10-bird race"),
          QStringLiteral("the same on an empty register"),
          [](Bench::Club& club) -> Bench::Runs {
              auto view = std::make_shared<RaceSteps::ResultView>();
              auto alone = std::make_shared<TdmZAVR>(club.smallRaceDatabasePath());
              if (!alone->open())
                  qFatal("%s", qPrintable(alone->openError()));
              return {[&club, view](Bench::Clock&) { RaceSteps::openResultView(club.dm(), club.smallRace(), *view); },
                      [&club, view, alone](Bench::Clock&) { RaceSteps::openResultView(*alone, club.smallRace(), *view); }};
          },
          1.25}});
}
