// Start-up to the shown main window, against the same start-up on an empty database.

#include "BenchHarness.h"
#include "StartUp.h"
#include "TdmZAVR.h"
#include "TfrmMenu.h"

#include <QCoreApplication>
#include <QWindow>

namespace {

// As main() starts the program, until the main window is on the screen.
void startUp(const DataFolder& folder, Bench::Clock& clock)
{
    // The data folder's lock, the leftovers of interrupted copies, the data module.
    const StartUp::Club club = StartUp::openClub(folder);
    if (club.quit || !club.lock)
        qFatal("the data folder is not the program's alone");
    if (!club.dm->isOpen())
        qFatal("%s", qPrintable(club.dm->openError()));
    TfrmMenu frmMenu(*club.dm, folder);
    frmMenu.show();
    // The backup notice and the start-up backup come once the window is shown; the backup is a
    // step of its own.
    QCoreApplication::removePostedEvents(&frmMenu, QEvent::MetaCall);
    while (!frmMenu.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    clock.stop();
    if (frmMenu.startupBackupRan())
        qFatal("the start-up backup ran");
}

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(argc, argv,
                       {{QStringLiteral("startup"), QStringLiteral("Start-up to the shown main window"),
                         QStringLiteral("the same on an empty database"), [](Bench::Club& club) -> Bench::Runs {
                             const DataFolder full = club.dataFolder(club.databasePath());
                             const DataFolder empty = club.dataFolder(club.emptyDatabasePath());
                             return {[full](Bench::Clock& clock) { startUp(full, clock); },
                                     [empty](Bench::Clock& clock) { startUp(empty, clock); }};
                         }}});
}
