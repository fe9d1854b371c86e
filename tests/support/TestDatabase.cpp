#include "TestDatabase.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "Schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>

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

QStringList rows(TdmZAVR& dm, const QString& sql, const QVariantList& params)
{
    QStringList out;
    QSqlQuery q = dm.exec(sql, params);
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i).toString();
        out << values.join(QLatin1Char('|'));
    }
    return out;
}

QStringList messageTexts()
{
    QStringList out;
    for (const Dialogs::ShownMessage& m : Dialogs::takeMessages())
        out << m.text;
    return out;
}

void writeHollowDatabase(const QString& path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("hollow"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const Schema::Table& table : Schema::tables())
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE %1 (Dummy INTEGER)").arg(table.name)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("hollow"));
}

QString thrownText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CorvelError& e) {
        return e.text();
    }
    return {};
}
