#include "DatabaseBackup.h"

#include "CorvelError.h"
#include "DataFolder.h"
#include "FileCopy.h"
#include "Formats.h"
#include "TdmZAVR.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace DatabaseBackup {

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

// Members and pigeons of an open database.
int membersAndPigeons(const TdmZAVR& dm)
{
    return dm.scalar(QStringLiteral("SELECT (SELECT count(*) FROM ZAVR_LoftData) + (SELECT count(*) FROM ZAVR_PigData)")).toInt();
}

// Whether the backup file holds any member or pigeon; false for a file that cannot be read as a
// club database (it has nothing worth keeping over the database).
bool backupHoldsMembersOrPigeons(const QString& path)
{
    TdmZAVR backup(path);
    backup.setReadOnly(true);
    if (!backup.open())
        return false;
    try {
        return membersAndPigeons(backup) > 0;
    } catch (const DbError&) {
        return false;
    }
}

// A copy of `source` beside `database` that passed whyNotABackup; its name is returned. Throws
// CorvelError (the copy is removed); notABackup is set when the file itself is the reason.
QString checkedCopyBeside(const QString& source, const QString& database, bool* notABackup = nullptr)
{
    const QFileInfo chosen(source);
    if (!chosen.exists())
        throw CorvelError(QStringLiteral("The file %1 does not exist.").arg(native(source)));
    if (!chosen.isFile())
        throw CorvelError(QStringLiteral("%1 is not a file.").arg(native(source)));
    // Work on a copy beside the database, so the chosen file is never touched and what is
    // checked is exactly what will be put in place.
    const QString temporary = FileCopy::temporaryNameFor(database);
    FileCopy::copyReplacing(source, temporary);
    const QString why = whyNotABackup(temporary);
    if (why.isEmpty())
        return temporary;
    QFile::remove(temporary);
    if (notABackup)
        *notABackup = true;
    throw CorvelError(QStringLiteral("%1 is not a backup of this program: %2").arg(native(source), why));
}

}  // namespace

StartupOutcome startupBackup(const TdmZAVR& dm, const DataFolder& folder, const QDateTime& now, QString* failure)
{
    if (!dm.isOpen() || dm.isReadOnly())
        return StartupOutcome::Skipped;
    const QString current = folder.currentBackupPath();
    try {
        const QDateTime currentDate = FileCopy::lastWriteTime(current);
        if (!currentDate.isValid()) {
            if (!QDir(folder.backupFolder()).exists() && !QDir().mkdir(folder.backupFolder()))
                throw CorvelError(QStringLiteral("Cannot create the folder %1").arg(native(folder.backupFolder())));
            dm.snapshotTo(current);
            return StartupOutcome::Created;
        }
        const int days = dm.clubSettings().DBBackupDays;
        const QString limit = now.addDays(-days).toString(QStringLiteral("yyyyMMdd"));
        const QString currentDay = currentDate.toString(QStringLiteral("yyyyMMdd"));
        if (limit < currentDay)
            return StartupOutcome::Kept;
        // A database that lost every member and pigeon (a new empty one, a wrong file) must not
        // push the club's last good backup out.
        if (membersAndPigeons(dm) == 0 && backupHoldsMembersOrPigeons(current))
            return StartupOutcome::KeptNotEmpty;
        // The first dated copy of a day stays; the current backup is only replaced.
        const QString dated = folder.datedBackupPath(currentDay);
        if (!QFileInfo::exists(dated))
            FileCopy::copyReplacing(current, dated);
        dm.snapshotTo(current);
        return StartupOutcome::Rotated;
    } catch (const CorvelError& e) {
        if (failure)
            *failure = e.text();
        return StartupOutcome::Failed;
    }
}

QString startupBackupStatus(StartupOutcome outcome, const QString& failure)
{
    switch (outcome) {
    case StartupOutcome::Failed:
        return QStringLiteral("The start-up backup failed: %1").arg(failure);
    case StartupOutcome::KeptNotEmpty:
        return QStringLiteral("The start-up backup was not taken: the club database holds no members and no pigeons, "
                              "so the backup Corvel_Europe.bak, which holds some, was kept.");
    case StartupOutcome::Created:
    case StartupOutcome::Rotated:
    case StartupOutcome::Kept:
    case StartupOutcome::Skipped:
        break;
    }
    return {};
}

QString whyNotABackup(const QString& path)
{
    TdmZAVR backup(path);
    backup.setReadOnly(true);
    if (!backup.open()) {
        // The data module names a file that is no club database; anything else the engine says
        // about a file that begins as a database means that the file is damaged.
        const QString reason = backup.openError().section(QLatin1Char('\n'), 1);
        return reason.startsWith(QLatin1String("it is ")) ? reason : QStringLiteral("it is damaged (%1).").arg(reason);
    }
    try {
        const QStringList problems = backup.texts(QStringLiteral("PRAGMA integrity_check"));
        if (problems != QStringList{QStringLiteral("ok")})
            return QStringLiteral("it is damaged (%1).").arg(problems.value(0));
    } catch (const DbError& e) {
        return QStringLiteral("it is damaged (%1).").arg(e.text());
    }
    return {};
}

QString restoreFailureMessage(const RestoreResult& result)
{
    if (result.notABackup)
        return result.failure;
    return RestoreFailedMessage + QStringLiteral("\n\n") + result.failure;
}

QString newestBackup(const DataFolder& folder)
{
    QFileInfoList candidates = QDir(folder.backupFolder()).entryInfoList({QStringLiteral("*.bak")}, QDir::Files, QDir::Time);
    for (const QFileInfo& candidate : candidates)
        if (whyNotABackup(candidate.filePath()).isEmpty())
            return candidate.filePath();
    return {};
}

void installBackup(const QString& source, const QString& database)
{
    const QString temporary = checkedCopyBeside(source, database);
    // The copy carries the backup's own last-write time.
    FileCopy::commitTemporary(temporary, database, QString());
}

QStringList removeInterruptedCopies(const DataFolder& folder, const QString& database)
{
    static const QRegularExpression leftover(QStringLiteral("^.+\\.tmp-[0-9a-f]{8}(-journal|-wal|-shm)?$"));
    QStringList folders{folder.path(), folder.backupFolder(), QFileInfo(database).absolutePath()};
    folders.removeDuplicates();
    QStringList removed;
    for (const QString& path : folders) {
        const QDir dir(path);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
            // The bench file is written by corvel-bench too, which may be at work right now.
            if (!leftover.match(name).hasMatch() || name.startsWith(QLatin1String("bench.json")))
                continue;
            if (QFile::remove(dir.filePath(name)))
                removed << dir.filePath(name);
        }
    }
    return removed;
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
    const bool wasOpen = dm.isOpen();
    QString temporary;
    bool closed = false;
    try {
        if (dm.isReadOnly())
            throw CorvelError(TdmZAVR::ReadOnlyMessage);
        if (database.isEmpty())
            throw CorvelError(QStringLiteral("No club database is named: correct ZAVR.udl first."));
        temporary = checkedCopyBeside(source, database, &result.notABackup);

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
