#pragma once

#include "DataFolder.h"
#include "QtPrinters.h"
#include "TdmZAVR.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A fresh data folder with a new, open club database, removed after the test.
class TestDatabase {
public:
    TestDatabase();

    const QString& path() const { return folderPath_; }
    const DataFolder& folder() const { return folder_; }
    TdmZAVR& dm() { return *dm_; }

    // Runs statements that prepare a test's rows; fails the test on an error.
    void run(const QString& sql, const QVariantList& params = {});

private:
    QTemporaryDir dir_;
    QString folderPath_;
    DataFolder folder_;
    std::unique_ptr<TdmZAVR> dm_;
};

// The rows a statement returns, each as its values joined by "|".
QStringList rows(TdmZAVR& dm, const QString& sql, const QVariantList& params = {});

// The texts of the messages shown since the last call (the dialogs run without interaction).
QStringList messageTexts();

// Writes an SQLite file with the table names of the schema, each with one column of its own only.
void writeHollowDatabase(const QString& path);

// The text of the CorvelError that `action` throws; empty when it throws none.
QString thrownText(const std::function<void()>& action);
