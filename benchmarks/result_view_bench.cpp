// The Result view of the largest race, against the bare ranking statement; and of a 10-bird race,
// against the same on a register that holds only that race's pigeons.

#include "BenchHarness.h"
#include "RaceResultView.h"
#include "RaceSteps.h"
#include "TdmZAVR.h"

#include <memory>

namespace {

using ResultView = RaceSteps::ShownView<RaceResultView>;

// The rows with their counts and display, the grid sized to its contents and painted, and the
// summary line.
void open(ResultView& view, const ClubGenerator::Race& race)
{
    RaceSteps::openView(view, race, "dbgrdRaceRec");
}

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("result-view"), QStringLiteral("Result view, largest race"), QStringLiteral("bare RANK() query"),
          [](Bench::Club& club) -> Bench::Runs {
              auto view = std::make_shared<ResultView>(club.dm());
              return {[&club, view](Bench::Clock&) { open(*view, club.largestRace()); },
                      [&club](Bench::Clock&) {
                          QSqlQuery q = RaceSteps::bareResultQuery(club.dm(), club.largestRace());
                          RaceSteps::readAll(q);
                      }};
          },
          1.5, true},
         {QStringLiteral("result-view-10"), QStringLiteral("Result view, 10-bird race"),
          QStringLiteral("the same on an empty register"),
          [](Bench::Club& club) -> Bench::Runs {
              auto alone = std::make_shared<TdmZAVR>(club.smallRaceDatabasePath());
              if (!alone->open())
                  qFatal("%s", qPrintable(alone->openError()));
              auto view = std::make_shared<ResultView>(club.dm());
              auto aloneView = std::make_shared<ResultView>(*alone);
              return {[&club, view](Bench::Clock&) { open(*view, club.smallRace()); },
                      [&club, alone, aloneView](Bench::Clock&) { open(*aloneView, club.smallRace()); }};
          },
          1.25}});
}
