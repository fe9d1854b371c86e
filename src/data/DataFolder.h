#pragma once

#include <QString>
#include <QStringList>

// The folder that holds the club's files: ZAVR.udl (which database), ZAVR.ini (settings), the
// database file and the Backup folder.
class DataFolder {
public:
    explicit DataFolder(const QString& path);

    // --data-dir DIR, else $CORVEL_DATA_DIR, else the user's application data folder.
    static QString resolve(const QStringList& arguments);

    // Creates the folder and writes ZAVR.udl and ZAVR.ini with their defaults where missing (each
    // whole or not at all). Throws CorvelError when the folder cannot be created or a file cannot
    // be written.
    void prepare() const;

    const QString& path() const { return path_; }
    QString udlPath() const;
    QString iniPath() const;
    // The database file named by ZAVR.udl ("Data Source"), relative to this folder or absolute.
    // Throws CorvelError when ZAVR.udl is larger than 1 MB or not a UTF-8 text.
    QString databasePath() const;
    QString backupFolder() const;       // <data>/Backup
    QString currentBackupPath() const;  // <data>/Backup/Corvel_Europe.bak
    QString datedBackupPath(const QString& yyyymmdd) const;

    static constexpr const char* DefaultDatabaseName = "Corvel_Europe.db";

private:
    QString path_;
};
