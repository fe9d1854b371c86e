#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

class DataFolder;
class TdmZAVR;

namespace DatabaseBackup {

enum class StartupOutcome {
    Created,  // the first current backup was written
    Rotated,  // the old current backup was kept under its date and replaced
    Kept,     // the current backup is young enough
    Skipped,  // the database is not open: nothing to copy
    Failed,   // a copy failed; nothing was changed
};

// The backup that runs at every start: keeps Backup/Corvel_Europe.bak no older than the club's
// DBBackupDays, moving an old one to Backup/Corvel_Europe_yyyymmdd.bak (named after its own
// date) before replacing it. Shows no message; `failure` receives the reason of a failed copy.
StartupOutcome startupBackup(const TdmZAVR& dm, const DataFolder& folder,
                             const QDateTime& now = QDateTime::currentDateTime(), QString* failure = nullptr);

inline const QString BackupFileFilter = QStringLiteral("Access BackUp files (*.Bak)|*.Bak");
inline const QString BackupSucceededMessage = QStringLiteral("backup was successful!");
inline const QString BackupFailedMessage = QStringLiteral("backup failed, please retry!");
inline const QString RestoreSucceededMessage = QStringLiteral("successful recovery of data!");
inline const QString RestoreFailedMessage = QStringLiteral("recovery failed, please try again!");

// The file a backup on demand writes: the chosen name as typed, "_", the date as yymmdd and
// ".Bak" ("club" on 10 May 2024 gives "club_240510.Bak", "club.Bak" gives "club.Bak_240510.Bak").
QString backupNowTarget(const QString& chosenName, const QDate& today);

// Writes a consistent copy of the open database to `target`, replacing it. Throws CorvelError.
void backupNow(const TdmZAVR& dm, const QString& target);

// Puts a checked temporary file in place of the database file (the last step of a restore).
using PutInPlace = std::function<void(const QString& temporary, const QString& database)>;
void renameIntoPlace(const QString& temporary, const QString& database);

struct RestoreResult {
    bool restored = false;
    QString failure;     // why the restore failed
    QString safetyCopy;  // where the replaced database was kept
};

// Replaces the club database by the backup file `source`. The backup is copied beside the
// database and checked to be a database of this program before anything is replaced; the current
// database is kept as a dated copy in the Backup folder; the connection is closed and the copy
// renamed into place. On success the connection stays closed (the program ends and is started
// again). On any failure the previous database file is still in place and open again.
RestoreResult restoreDatabase(TdmZAVR& dm, const DataFolder& folder, const QString& source,
                              const QDateTime& now = QDateTime::currentDateTime(),
                              const PutInPlace& putInPlace = renameIntoPlace);

// The name of the copy that keeps the replaced database: Backup/Corvel_Europe_yyyymmdd_hhmmss_before_restore.bak
// (a free name; never one of the start-up backup's files).
QString safetyCopyPath(const DataFolder& folder, const QDateTime& now);

}  // namespace DatabaseBackup
