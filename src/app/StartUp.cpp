#include "StartUp.h"

#include "CorvelError.h"
#include "DataFolder.h"
#include "DatabaseBackup.h"
#include "ErrorHandler.h"
#include "FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace StartUp {
namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

// Takes the data folder's lock, or lets the user choose between read-only and quitting. Returns
// false to quit; `lock` stays empty when the club is opened read-only.
bool lockFolder(const DataFolder& folder, QWidget* parent, std::unique_ptr<QLockFile>& lock, bool& readOnly)
{
    auto file = std::make_unique<QLockFile>(QDir(folder.path()).filePath(LockFileName));
    // Held as long as the program runs; the lock of a program that ended is taken over.
    file->setStaleLockTime(0);
    if (file->tryLock(0)) {
        lock = std::move(file);
        return true;
    }
    if (file->error() != QLockFile::LockFailedError)
        return true;  // a folder where no lock can be made: the database says what it allows
    qint64 pid = 0;
    QString host;
    QString program;
    file->getLockInfo(&pid, &host, &program);
    const QString text = QStringLiteral("The club in %1 is already open in another window of Corvel Club Management "
                                        "(process %2 on %3).\n\nOpen it read-only here (nothing can be changed), or quit?")
                             .arg(native(folder.path()))
                             .arg(pid)
                             .arg(host);
    const auto answer = Dialogs::choice(parent, text, {{OpenReadOnly, QStringLiteral("Open read-only")}, {QuitProgram, QStringLiteral("Quit")}},
                                        QuitProgram);
    readOnly = answer == OpenReadOnly;
    return readOnly;
}

// Whether the database file is missing, or an empty file (which holds nothing to lose).
bool databaseMissing(const QString& database)
{
    const QFileInfo file(database);
    return !file.exists() || (file.isFile() && file.size() == 0);
}

// A missing database while Backup holds a backup: restore it, start anew or quit. Returns false
// to quit.
bool replaceMissingDatabase(const DataFolder& folder, const QString& database, QWidget* parent)
{
    const QString newest = DatabaseBackup::newestBackup(folder);
    if (newest.isEmpty())
        return true;
    for (;;) {
        const QString text =
            QStringLiteral("The club database %1 does not exist.\n\nThe folder Backup holds a backup of %2:\n%3\n\n"
                           "Restore this backup, create a new empty club database, or quit?")
                .arg(native(database), FileCopy::lastWriteTime(newest).toString(QStringLiteral("yyyy/MM/dd HH:mm")), native(newest));
        const auto answer = Dialogs::choice(parent, text,
                                            {{RestoreNewestBackup, QStringLiteral("Restore the newest backup")},
                                             {CreateEmptyDatabase, QStringLiteral("Create a new empty club database")},
                                             {QuitWithoutDatabase, QStringLiteral("Quit")}},
                                            RestoreNewestBackup);
        if (answer == CreateEmptyDatabase)
            return true;
        if (answer != RestoreNewestBackup)
            return false;
        if (guarded(parent, [&] { DatabaseBackup::installBackup(newest, database); }))
            return true;
    }
}

}  // namespace

Club openClub(const DataFolder& folder, QWidget* parent)
{
    Club club;
    guarded(parent, [&folder] { folder.prepare(); });
    bool readOnly = false;
    if (!lockFolder(folder, parent, club.lock, readOnly)) {
        club.quit = true;
        return club;
    }
    QString database;
    if (!guarded(parent, [&] { database = folder.databasePath(); })) {
        club.dm = std::make_unique<TdmZAVR>(QString());
        return club;
    }
    if (club.lock)
        DatabaseBackup::removeInterruptedCopies(folder, database);
    if (!readOnly && databaseMissing(database)) {
        if (!replaceMissingDatabase(folder, database, parent)) {
            club.quit = true;
            return club;
        }
        // An empty file is no database: it gives way to the restored or new one.
        if (QFileInfo(database).size() == 0)
            QFile::remove(database);
    }
    club.dm = std::make_unique<TdmZAVR>(database);
    club.dm->setReadOnly(readOnly);
    if (!club.dm->open())
        showError(parent, club.dm->openError());
    return club;
}

}  // namespace StartUp
