#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

QString programLibraryFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" CORVEL_PROGRAM_LIBRARY_FOLDER));
}
