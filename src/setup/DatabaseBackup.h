#pragma once

#include <QDateTime>
#include <QString>

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

}  // namespace DatabaseBackup
