#include "DatabaseBackup.h"

#include "CorvelError.h"
#include "DataFolder.h"
#include "FileCopy.h"
#include "TdmZAVR.h"

#include "Formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DatabaseBackup {

StartupOutcome startupBackup(const TdmZAVR& dm, const DataFolder& folder, const QDateTime& now, QString* failure)
{
    if (!dm.isOpen())
        return StartupOutcome::Skipped;
    const QString current = folder.currentBackupPath();
    try {
        const QDateTime currentDate = FileCopy::lastWriteTime(current);
        if (!currentDate.isValid()) {
            if (!QDir(folder.backupFolder()).exists() && !QDir().mkdir(folder.backupFolder()))
                throw CorvelError(QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(folder.backupFolder())));
            dm.snapshotTo(current);
            return StartupOutcome::Created;
        }
        const int days = dm.clubSettings().DBBackupDays;
        const QString limit = now.addDays(-days).toString(QStringLiteral("yyyyMMdd"));
        const QString currentDay = currentDate.toString(QStringLiteral("yyyyMMdd"));
        if (limit < currentDay)
            return StartupOutcome::Kept;
        FileCopy::copyReplacing(current, folder.datedBackupPath(currentDay));
        dm.snapshotTo(current);
        return StartupOutcome::Rotated;
    } catch (const CorvelError& e) {
        if (failure)
            *failure = e.text();
        return StartupOutcome::Failed;
    }
}

QString backupNowTarget(const QString& chosenName, const QDate& today)
{
    return chosenName + QLatin1Char('_') + Formats::formatDate(QStringLiteral("yymmdd"), today) + QStringLiteral(".Bak");
}

void backupNow(const TdmZAVR& dm, const QString& target)
{
    dm.snapshotTo(target);
}

void renameIntoPlace(const QString& temporary, const QString& database)
{
    // The temporary copy already carries the backup's own last-write time.
    FileCopy::commitTemporary(temporary, database, QString());
}

QString safetyCopyPath(const DataFolder& folder, const QDateTime& now)
{
    const QString stem = folder.backupFolder() + QStringLiteral("/Corvel_Europe_") +
                         now.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral("_before_restore");
    QString path = stem + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("_%1.bak").arg(n);
    return path;
}

RestoreResult restoreDatabase(TdmZAVR& dm, const DataFolder& folder, const QString& source, const QDateTime& now,
                              const PutInPlace& putInPlace)
{
    RestoreResult result;
    const QString database = dm.databasePath();
    const auto native = [](const QString& path) { return QDir::toNativeSeparators(path); };
    const bool wasOpen = dm.isOpen();
    QString temporary;
    bool closed = false;
    try {
        const QFileInfo chosen(source);
        if (!chosen.exists())
            throw CorvelError(QStringLiteral("The file %1 does not exist.").arg(native(source)));
        if (!chosen.isFile())
            throw CorvelError(QStringLiteral("%1 is not a file.").arg(native(source)));

        // Work on a copy beside the database, so the chosen file is never touched and what is
        // checked is exactly what will be put in place.
        temporary = FileCopy::temporaryNameFor(database);
        FileCopy::copyReplacing(source, temporary);
        {
            TdmZAVR probe(temporary);
            if (!probe.open())
                throw CorvelError(QStringLiteral("%1 cannot be restored: %2")
                                      .arg(native(source), probe.openError().section(QLatin1Char('\n'), 1)));
        }

        // Keep the database that is about to be replaced.
        if (!QDir().mkpath(folder.backupFolder()))
            throw CorvelError(QStringLiteral("Cannot create the folder %1").arg(native(folder.backupFolder())));
        const QString safety = safetyCopyPath(folder, now);
        if (dm.isOpen()) {
            dm.snapshotTo(safety);
            result.safetyCopy = safety;
        } else if (QFileInfo::exists(database)) {
            // A database that could not be opened is kept as it is.
            FileCopy::copyReplacing(database, safety);
            result.safetyCopy = safety;
        }

        dm.close();
        closed = true;
        // Unfinished changes of the old file would be applied to the new one when it is opened.
        for (const char* suffix : {"-journal", "-wal"}) {
            if (QFileInfo::exists(database + QLatin1String(suffix)))
                throw CorvelError(QStringLiteral("The club database still has unfinished changes (%1).")
                                      .arg(native(database + QLatin1String(suffix))));
        }
        putInPlace(temporary, database);
        temporary.clear();
        result.restored = true;
        return result;
    } catch (const CorvelError& e) {
        result.failure = e.text();
    } catch (const std::exception& e) {
        result.failure = QString::fromLocal8Bit(e.what());
    }
    if (!temporary.isEmpty())
        QFile::remove(temporary);
    // Only a database that was open is opened again: never create an empty one in its place.
    if (closed && wasOpen && !dm.open())
        result.failure += QLatin1Char('\n') + dm.openError();
    return result;
}

}  // namespace DatabaseBackup
