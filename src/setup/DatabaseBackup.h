#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

class DataFolder;
class TdmZAVR;

namespace DatabaseBackup {

enum class StartupOutcome {
    Created,       // the first current backup was written
    Rotated,       // the old current backup was kept under its date and replaced
    Kept,          // the current backup is young enough
    KeptNotEmpty,  // the database holds no member and no pigeon, the current backup does: kept
    Skipped,       // the database is not open, or open read-only: nothing to copy
    Failed,        // a copy failed; nothing was changed
};

// The backup that runs at every start: keeps Backup/Corvel_Europe.bak no older than the club's
// DBBackupDays, moving an old one to Backup/Corvel_Europe_yyyymmdd.bak (named after its own
// date) before replacing it. Two rules keep a good backup from being lost: a dated copy that
// exists is never overwritten (a second rotation on the same date keeps the first one), and a
// current backup that holds members or pigeons is never replaced by a database that holds
// neither. Shows no message; `failure` receives the reason of a failed copy.
StartupOutcome startupBackup(const TdmZAVR& dm, const DataFolder& folder,
                             const QDateTime& now = QDateTime::currentDateTime(), QString* failure = nullptr);

// What the status bar says after the start-up backup; empty when all went as it should.
QString startupBackupStatus(StartupOutcome outcome, const QString& failure);

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

// Why the file at `path` is not a backup this program can restore, or empty when it is one:
// "it is an empty file", "it is not a database", "it is a database of another program (the
// table X has no column Y)", "it is damaged (...)" when SQLite's integrity check fails. The file
// is only read.
QString whyNotABackup(const QString& path);

struct RestoreResult {
    bool restored = false;
    bool notABackup = false;  // the chosen file is not a backup of this program (see failure)
    QString failure;          // why the restore failed
    QString safetyCopy;       // where the replaced database was kept
};

// The message a failed restore shows: why the file is not a backup of this program, or
// RestoreFailedMessage with the reason.
QString restoreFailureMessage(const RestoreResult& result);

// Replaces the club database by the backup file `source`. The backup is copied beside the
// database and must pass whyNotABackup before anything is replaced; the current database is
// kept as a dated copy in the Backup folder; the connection is closed and the copy renamed into
// place. On success the connection stays closed (the program ends and is started again). On any
// failure the previous database file is still in place and open again. A database open
// read-only is not replaced.
RestoreResult restoreDatabase(TdmZAVR& dm, const DataFolder& folder, const QString& source,
                              const QDateTime& now = QDateTime::currentDateTime(),
                              const PutInPlace& putInPlace = renameIntoPlace);

// The newest backup in the Backup folder (by last-write time) that passes whyNotABackup; empty
// when there is none.
QString newestBackup(const DataFolder& folder);

// Puts a checked copy of the backup `source` in place of the database file `database`, which does
// not exist (the start-up restore). Throws CorvelError with the reason; nothing is left behind.
void installBackup(const QString& source, const QString& database);

// Removes what interrupted copies left: "<name>.tmp-xxxxxxxx" files and their journals in the data
// folder, the Backup folder and the database's folder. Run at start-up only by the program that
// holds the data folder. Returns the removed files.
QStringList removeInterruptedCopies(const DataFolder& folder, const QString& database);

// The name of the copy that keeps the replaced database: Backup/Corvel_Europe_yyyymmdd_hhmmss_before_restore.bak
// (a free name; never one of the start-up backup's files).
QString safetyCopyPath(const DataFolder& folder, const QDateTime& now);

}  // namespace DatabaseBackup
