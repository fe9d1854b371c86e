#include "CorvelApplication.h"
#include "CorvelError.h"
#include "DataFolder.h"
#include "ErrorHandler.h"
#include "TdmZAVR.h"
#include "TfrmDeviceSimulator.h"
#include "TfrmMenu.h"

int main(int argc, char* argv[])
{
    CorvelApplication app(argc, argv);

    DataFolder folder(DataFolder::resolve(QCoreApplication::arguments()));
    guarded(nullptr, [&folder] { folder.prepare(); });

    // The data module is created first and destroyed last.
    TdmZAVR dmZAVR(folder.databasePath());
    if (!dmZAVR.open())
        showError(nullptr, dmZAVR.openError());

    int result = 0;
    {
        TfrmMenu frmMenu(dmZAVR, folder);
        frmMenu.show();
        // --simulator: the Device simulator window beside the main window, for training.
        if (QCoreApplication::arguments().contains(QStringLiteral("--simulator")))
            TfrmDeviceSimulator::showWindow(dmZAVR, folder, &frmMenu);
        result = CorvelApplication::exec();
    }
    return result;
}
