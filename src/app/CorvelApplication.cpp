#include "CorvelApplication.h"

#include "ErrorHandler.h"

CorvelApplication::CorvelApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("corvel-club"));
    setApplicationDisplayName(QStringLiteral("Corvel Club Management"));
    setApplicationVersion(QStringLiteral("6.0"));
}

bool CorvelApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    guarded(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
    return result;
}
