#include "DatabaseBackup.h"

#include "CorvelError.h"
#include "DataFolder.h"
#include "FileCopy.h"
#include "TdmZAVR.h"

#include <QDir>

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

}  // namespace DatabaseBackup
