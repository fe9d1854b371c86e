#include "TdmZAVR.h"

#include "BlockWritingVfs.h"
#include "CorvelError.h"
#include "FileCopy.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <atomic>
#include <sqlite3.h>

namespace {

std::atomic<int> connectionCounter{0};

QString engineText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

const Schema::Table& knownTable(const QString& table)
{
    const Schema::Table* t = Schema::table(table);
    if (!t)
        throw DbError(QStringLiteral("Unknown table %1").arg(table));
    return *t;
}

const Schema::Column& knownColumn(const Schema::Table& t, const QString& column)
{
    const Schema::Column* c = t.column(column);
    if (!c)
        throw DbError(QStringLiteral("Unknown column %1 of %2").arg(column, t.name));
    return *c;
}

// "A row with the same LoftNo already exists in ZAVR_LoftData." from the engine's list of
// "Table.Column" names, or from "index 'Name'" for a key on an expression.
QString uniqueKeyMessage(const QString& failed)
{
    QString table;
    QStringList columns;
    static const QRegularExpression indexName(QStringLiteral("^index '(\\w+)'$"));
    if (const auto m = indexName.match(failed); m.hasMatch()) {
        for (const Schema::Table& t : Schema::tables())
            for (const Schema::Index& ix : t.indexes)
                if (ix.name == m.captured(1)) {
                    table = t.name;
                    for (const QString& expression : ix.expressions)
                        columns << (expression.startsWith(QLatin1String("date(")) ? expression.mid(5).chopped(1) : expression);
                }
    } else {
        for (const QString& part : failed.split(QLatin1Char(','))) {
            table = part.trimmed().section(QLatin1Char('.'), 0, 0);
            columns << part.trimmed().section(QLatin1Char('.'), 1);
        }
    }
    if (columns.isEmpty())
        return QStringLiteral("A row with the same key already exists (%1).").arg(failed);
    return QStringLiteral("A row with the same %1 already exists in %2.").arg(columns.join(QStringLiteral(", ")), table);
}

// Why a file cannot be a database at all, from its size and its first bytes; empty when it may be.
QString fileProblem(const QString& path)
{
    QFile file(path);
    if (file.size() == 0)
        return QStringLiteral("it is an empty file.");
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    if (file.read(16) != QByteArray("SQLite format 3", 16))
        return QStringLiteral("it is not a database.");
    return {};
}

}  // namespace

QString ClubSettings::speedUnit() const
{
    return yards() ? QStringLiteral("yds/min") : QStringLiteral("m/min");
}

TdmZAVR::TdmZAVR(const QString& databasePath)
    : path_(databasePath), connectionName_(QStringLiteral("adocZAVR%1").arg(connectionCounter++))
{
}

TdmZAVR::~TdmZAVR()
{
    close();
}

bool TdmZAVR::open()
{
    close();
    openError_ = connect();
    if (openError_.isEmpty())
        return true;
    openError_ = QStringLiteral("Cannot open the club database %1:\n%2").arg(QDir::toNativeSeparators(path_), openError_);
    close();
    return false;
}

QString TdmZAVR::connect()
{
    const QFileInfo file(path_);
    const bool isNew = !file.exists();
    if (isNew && !file.dir().exists())
        return QStringLiteral("the folder %1 does not exist.").arg(QDir::toNativeSeparators(file.absolutePath()));
    if (isNew && readOnly_)
        return QStringLiteral("the file does not exist.");
    if (!isNew && file.isDir())
        return QStringLiteral("it is a folder, not a file.");
    if (const QString problem = isNew ? createNew() : fileProblem(path_); !problem.isEmpty())
        return problem;

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyWaitMsecs) +
                         (readOnly_ ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    if (!db.open())
        return engineText(db.lastError());
    open_ = true;
    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("PRAGMA schema_version")) || !probe.next())
            return engineText(probe.lastError());
        // A page cache that holds the pages of a national race (the engine's default is 2 MB),
        // so its views do not read the same pages from the file again and again.
        if (!probe.exec(QStringLiteral("PRAGMA cache_size = -%1").arg(PageCacheKiB)))
            return engineText(probe.lastError());
    }
    try {
        if (const QString mismatch = Schema::mismatch(db); !mismatch.isEmpty())
            return QStringLiteral("it is a database of another program (%1).").arg(mismatch);
    } catch (const DbError& e) {
        return e.text();
    }
    if (readOnly_)
        return {};
    // A database that another program keeps locked for writing cannot be worked on.
    QSqlQuery lock(db);
    if (!lock.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return engineText(lock.lastError());
    lock.exec(QStringLiteral("ROLLBACK"));
    return {};
}

QString TdmZAVR::createNew()
{
    const QString temporary = FileCopy::temporaryNameFor(path_);
    const QString name = connectionName_ + QStringLiteral("_new");
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temporary);
        if (db.open()) {
            try {
                Schema::create(db);
            } catch (const DbError& e) {
                failure = e.text();
            }
            db.close();
        } else {
            failure = engineText(db.lastError());
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (failure.isEmpty()) {
        try {
            FileCopy::commitTemporary(temporary, path_, QString());
            return {};
        } catch (const CorvelError& e) {
            failure = e.text();
        }
    }
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
    return failure;
}

void TdmZAVR::close()
{
    if (QSqlDatabase::contains(connectionName_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connectionName_);
    }
    open_ = false;
    transactionDepth_ = 0;
}

QSqlDatabase TdmZAVR::database() const
{
    if (!open_)
        throw DbError(openError_.isEmpty() ? QStringLiteral("The club database is not open.") : openError_);
    return QSqlDatabase::database(connectionName_, false);
}

QSqlQuery TdmZAVR::exec(const QString& sql, const QVariantList& params) const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(readableError(engineText(q.lastError())));
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec()) {
        const QString text = engineText(q.lastError());
        if (readOnly_ && text.contains(QLatin1String("readonly database")))
            throw DbError(ReadOnlyMessage);
        throw DbError(readableError(text));
    }
    return q;
}

QStringList TdmZAVR::texts(const QString& sql, const QVariantList& params) const
{
    QSqlQuery q = exec(sql, params);
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QVariant TdmZAVR::scalar(const QString& sql, const QVariantList& params) const
{
    QSqlQuery q = exec(sql, params);
    return q.next() ? q.value(0) : QVariant();
}

QString TdmZAVR::whereClause(const QString& table, const QStringList& keyColumns, const QVariantList& keyValues) const
{
    const Schema::Table& t = knownTable(table);
    if (keyColumns.isEmpty() || keyColumns.size() != keyValues.size())
        throw DbError(QStringLiteral("Key columns and values of %1 do not match").arg(table));
    QStringList terms;
    for (const QString& name : keyColumns) {
        const Schema::Column& c = knownColumn(t, name);
        if (c.type == Schema::ColumnType::DateTime)
            terms << QStringLiteral("date(%1) = date(?)").arg(c.name);
        else
            terms << QStringLiteral("%1 = ?").arg(c.name);
    }
    return terms.join(QStringLiteral(" AND "));
}

std::optional<QSqlRecord> TdmZAVR::locate(const QString& table, const QStringList& keyColumns,
                                          const QVariantList& keyValues) const
{
    const QString where = whereClause(table, keyColumns, keyValues);
    QSqlQuery q = exec(QStringLiteral("SELECT * FROM %1 WHERE %2 LIMIT 1").arg(knownTable(table).name, where), keyValues);
    if (!q.next())
        return std::nullopt;
    return q.record();
}

void TdmZAVR::append(const QString& table, const FieldValues& values) const
{
    const Schema::Table& t = knownTable(table);
    QStringList names;
    QStringList marks;
    QVariantList params;
    for (const auto& [name, value] : values) {
        names << knownColumn(t, name).name;
        marks << QStringLiteral("?");
        params << value;
    }
    exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
             .arg(t.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
         params);
}

int TdmZAVR::update(const QString& table, const QStringList& keyColumns, const QVariantList& keyValues,
                    const FieldValues& values) const
{
    const Schema::Table& t = knownTable(table);
    if (values.isEmpty())
        return 0;
    QStringList sets;
    QVariantList params;
    for (const auto& [name, value] : values) {
        sets << knownColumn(t, name).name + QStringLiteral(" = ?");
        params << value;
    }
    const QString where = whereClause(table, keyColumns, keyValues);
    params << keyValues;
    QSqlQuery q = exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(t.name, sets.join(QStringLiteral(", ")), where), params);
    return q.numRowsAffected();
}

int TdmZAVR::remove(const QString& table, const QStringList& keyColumns, const QVariantList& keyValues) const
{
    const QString where = whereClause(table, keyColumns, keyValues);
    QSqlQuery q = exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(knownTable(table).name, where), keyValues);
    return q.numRowsAffected();
}

ClubSettings TdmZAVR::clubSettings() const
{
    ClubSettings s;
    QSqlQuery q = exec(QStringLiteral("SELECT ClubID, ClubName, Street, City, PostCode, AssociationCode, Logo, "
                                      "Language, Mode, DBBackupDays FROM ZAVR_ClubData ORDER BY rowid LIMIT 1"));
    if (!q.next())
        return s;
    s.exists = true;
    s.ClubID = q.value(0).toString();
    s.ClubName = q.value(1).toString();
    s.Street = q.value(2).toString();
    s.City = q.value(3).toString();
    s.PostCode = q.value(4).toString();
    s.AssociationCode = q.value(5).toString();
    s.Logo = q.value(6).toString();
    s.Language = q.value(7).toInt();
    s.Mode = q.value(8).toInt();
    s.DBBackupDays = q.value(9).toInt();
    return s;
}

void TdmZAVR::snapshotTo(const QString& target) const
{
    const auto failed = [&target](const QString& reason) {
        return DbError(QStringLiteral("Cannot copy the club database to %1: %2").arg(QDir::toNativeSeparators(target), reason));
    };
    const QVariant handle = database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw failed(QStringLiteral("the connection is not an SQLite connection."));
    sqlite3* source = *static_cast<sqlite3* const*>(handle.constData());
    if (!source)
        throw failed(QStringLiteral("the connection is closed."));
    // Only what is committed is copied.
    if (!sqlite3_get_autocommit(source))
        throw failed(QStringLiteral("a change is still in progress."));

    // The online backup copies the database page by page under one read lock: a consistent copy
    // of the open database, without rebuilding its tables and indexes. The copy is written in
    // large blocks, and needs no journal of its own, since it only takes the target's name once it
    // is complete and flushed (its commit syncs it, so a failed write cannot go unnoticed). Every
    // page passes through the connection's page cache: a small cache while the copy runs keeps it
    // from filling the program's memory with pages no view is looking at.
    const QString temporary = FileCopy::temporaryNameFor(target);
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temporary).constData(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             BlockWritingVfs::name());
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(copy, "PRAGMA journal_mode = OFF; PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        if (sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main")) {
            sqlite3_exec(source, "PRAGMA cache_size = -2000", nullptr, nullptr, nullptr);
            sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
            const QByteArray pageCache = "PRAGMA cache_size = -" + QByteArray::number(PageCacheKiB);
            sqlite3_exec(source, pageCache.constData(), nullptr, nullptr, nullptr);
        } else {
            rc = sqlite3_errcode(copy);
        }
    }
    QString reason;
    if (rc != SQLITE_OK)
        reason = QString::fromUtf8(copy ? sqlite3_errmsg(copy) : sqlite3_errstr(rc));
    if (const int closed = sqlite3_close(copy); closed != SQLITE_OK && rc == SQLITE_OK) {
        rc = closed;
        reason = QString::fromUtf8(sqlite3_errstr(closed));
    }
    if (rc != SQLITE_OK) {
        QFile::remove(temporary);
        throw failed(reason);
    }
    FileCopy::commitTemporary(temporary, target, path_);
}

QString TdmZAVR::readableError(const QString& engineText)
{
    static const QRegularExpression checkFailed(QStringLiteral("CHECK constraint failed: (\\w+)\\.(\\w+): (.*)$"));
    static const QRegularExpression uniqueFailed(QStringLiteral("UNIQUE constraint failed: (.*)$"));
    static const QRegularExpression notNullFailed(QStringLiteral("NOT NULL constraint failed: \\w+\\.(\\w+)"));
    if (const auto m = checkFailed.match(engineText); m.hasMatch())
        return QStringLiteral("The value of %1 is not accepted: %2.").arg(m.captured(2), m.captured(3).trimmed());
    if (const auto m = uniqueFailed.match(engineText); m.hasMatch())
        return uniqueKeyMessage(m.captured(1).trimmed());
    if (const auto m = notNullFailed.match(engineText); m.hasMatch())
        return QStringLiteral("The value of %1 must be given.").arg(m.captured(1));
    return QStringLiteral("Database error: %1").arg(engineText);
}

TdmZAVR::Transaction::Transaction(const TdmZAVR& dm)
    : dm_(dm), name_(QStringLiteral("corvel_tx%1").arg(dm.transactionDepth_))
{
    // The outer transaction takes the write lock now, with the busy wait, rather than at its first
    // write, where a lock held by another program would fail it at once.
    dm_.exec(dm_.transactionDepth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT ") + name_);
    ++dm_.transactionDepth_;
}

TdmZAVR::Transaction::~Transaction()
{
    if (done_ || !dm_.isOpen())
        return;
    --dm_.transactionDepth_;
    try {
        if (dm_.transactionDepth_ == 0) {
            dm_.exec(QStringLiteral("ROLLBACK"));
        } else {
            dm_.exec(QStringLiteral("ROLLBACK TO ") + name_);
            dm_.exec(QStringLiteral("RELEASE ") + name_);
        }
    } catch (const DbError&) {
        // The connection is gone; nothing was committed.
    }
}

void TdmZAVR::Transaction::commit()
{
    if (done_)
        return;
    dm_.exec(dm_.transactionDepth_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + name_);
    done_ = true;
    --dm_.transactionDepth_;
}
