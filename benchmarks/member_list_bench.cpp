// The Member page shown with its member list, against the list's bare query.

#include "BenchHarness.h"
#include "MemberLogic.h"
#include "RaceSteps.h"
#include "TdmZAVR.h"
#include "TfrmMember.h"

#include <QCoreApplication>
#include <QWindow>

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("member-list"), QStringLiteral("Member list (Member page shown)"), QStringLiteral("its bare query"),
          [](Bench::Club& club) -> Bench::Runs {
              const DataFolder folder = club.dataFolder(club.databasePath());
              return {[&club, folder](Bench::Clock& clock) {
                          TfrmMember page(club.dm(), folder);
                          page.resize(1000, 700);
                          page.show();
                          while (!page.windowHandle()->isExposed())
                              QCoreApplication::processEvents();
                          clock.stop();
                      },
                      [&club](Bench::Clock&) {
                          QSqlQuery q = memberListQuery(club.dm());
                          RaceSteps::readAll(q);
                      }};
          }}});
}
