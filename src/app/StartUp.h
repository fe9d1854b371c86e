#pragma once

#include "Dialogs.h"
#include "TdmZAVR.h"

#include <QLockFile>
#include <QString>
#include <memory>

class DataFolder;
class QWidget;

// Opening the club when the program starts: the data folder's files, the lock that keeps a
// second copy of the program from writing to the same club, the leftovers of interrupted copies,
// a missing database, and the data module.
namespace StartUp {

// "The club is open in another window": open it read-only, or quit.
inline constexpr QMessageBox::StandardButton OpenReadOnly = QMessageBox::Yes;
inline constexpr QMessageBox::StandardButton QuitProgram = QMessageBox::No;
// "The club database does not exist, Backup holds a backup": restore it, start anew, or quit.
inline constexpr QMessageBox::StandardButton RestoreNewestBackup = QMessageBox::Yes;
inline constexpr QMessageBox::StandardButton CreateEmptyDatabase = QMessageBox::No;
inline constexpr QMessageBox::StandardButton QuitWithoutDatabase = QMessageBox::Cancel;

// The lock file in the data folder, held while the program runs.
inline const QString LockFileName = QStringLiteral("corvel-club.lock");

struct Club {
    std::unique_ptr<TdmZAVR> dm;      // the data module; open unless an error was shown
    std::unique_ptr<QLockFile> lock;  // the data folder's lock; none when the club is read-only
    bool quit = false;                // the user chose to quit: nothing else is done
};

// Prepares the data folder (ZAVR.udl and ZAVR.ini where missing) and takes its lock. When another
// copy of the program holds it, the user chooses to open the club read-only or to quit. With the
// lock held, leftovers of interrupted backups and restores are removed. A database that ZAVR.udl
// names but that does not exist (or is an empty file) is not created silently while the Backup
// folder holds a backup: the user restores the newest backup, creates a new empty club database,
// or quits. Then the data module opens the database. Errors are shown; the program goes on.
Club openClub(const DataFolder& folder, QWidget* parent = nullptr);

}  // namespace StartUp
