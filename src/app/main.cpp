#include "CorvelApplication.h"
#include "DataFolder.h"
#include "StartUp.h"
#include "TfrmDeviceSimulator.h"
#include "TfrmMenu.h"

int main(int argc, char* argv[])
{
    CorvelApplication app(argc, argv);

    const DataFolder folder(DataFolder::resolve(QCoreApplication::arguments()));
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
