#include "CorvelApplication.h"

#include "ErrorHandler.h"

CorvelApplication::CorvelApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    nameApplication();
}

void CorvelApplication::nameApplication()
{
    setApplicationName(QStringLiteral("corvel-club"));
    setApplicationVersion(QStringLiteral("6.0"));
    // No display name: the window system would append it to every window's title, and the main
    // window and the report previews carry their own titles alone.
}

bool CorvelApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    guarded(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
    return result;
}
