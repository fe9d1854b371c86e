#include "TestDatabase.h"

#include "CorvelError.h"
#include "Dialogs.h"

#include <gtest/gtest.h>

TestDatabase::TestDatabase() : folderPath_(dir_.path() + QStringLiteral("/data")), folder_(folderPath_)
{
    Dialogs::resetTestHooks();
    folder_.prepare();
    dm_ = std::make_unique<TdmZAVR>(folder_.databasePath());
    if (!dm_->open())
        ADD_FAILURE() << dm_->openError().toStdString();
}

void TestDatabase::run(const QString& sql, const QVariantList& params)
{
    try {
        dm_->exec(sql, params);
    } catch (const CorvelError& e) {
        ADD_FAILURE() << "Statement failed: " << sql.toStdString() << ": " << e.text().toStdString();
    }
}
