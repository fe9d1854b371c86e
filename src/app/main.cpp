#include "CorvelApplication.h"
#include "DataFolder.h"
#include "DemoClub.h"
#include "StartUp.h"
#include "TfrmDeviceSimulator.h"
#include "TfrmMenu.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    CorvelApplication app(argc, argv);

    QString dataFolder = DataFolder::resolve(QCoreApplication::arguments());
    // --demo DIR: a new data folder with the demo club, then the program opens it.
    if (const std::optional<QString> demo = DemoClub::folderArgument(QCoreApplication::arguments())) {
        const QString failure = DemoClub::create(*demo);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "corvel-club: %s\n", qUtf8Printable(failure));
            return 1;
        }
        dataFolder = *demo;
    }
    const DataFolder folder(dataFolder);
    // The data module is created first and destroyed last.
    StartUp::Club club = StartUp::openClub(folder);
    if (club.quit)
        return 0;

    int result = 0;
    {
        TfrmMenu frmMenu(*club.dm, folder);
        frmMenu.show();
        // --simulator: the Device simulator window beside the main window, for training.
        if (QCoreApplication::arguments().contains(QStringLiteral("--simulator")))
            TfrmDeviceSimulator::showWindow(*club.dm, folder, &frmMenu);
        result = CorvelApplication::exec();
    }
    return result;
}
