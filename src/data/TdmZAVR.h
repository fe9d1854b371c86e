#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>

// The club settings row of ZAVR_ClubData. A missing row reads as empty texts and zeros.
struct ClubSettings {
    QString ClubID;
    QString ClubName;
    QString Street;
    QString City;
    QString PostCode;
    QString AssociationCode;
    QString Logo;
    int Language = 0;
    int Mode = 0;  // 0 metres ("m/min"), 1 yards ("yds/min")
    int DBBackupDays = 0;
    bool exists = false;  // whether the row is there

    bool yards() const { return Mode == 1; }
    QString speedUnit() const;  // "m/min" or "yds/min"
};

// Column name and value pairs, in the order they are written.
using FieldValues = QList<std::pair<QString, QVariant>>;

// The data module: the one connection to the club database, shared by every page and report.
// Every statement binds its values as parameters. Errors raise DbError with a readable text.
class TdmZAVR {
public:
    explicit TdmZAVR(const QString& databasePath);
    ~TdmZAVR();
    TdmZAVR(const TdmZAVR&) = delete;
    TdmZAVR& operator=(const TdmZAVR&) = delete;

    // Opens the database file, creating it with the schema when it does not exist (under a
    // temporary name first, so that a creation that fails leaves no file). An existing file that
    // is not a database of this program (empty, not a database, a table or column of the schema
    // missing) is never modified. Returns false on failure, with the reason (including the
    // engine's text) in openError().
    bool open();
    void close();
    bool isOpen() const { return open_; }

    // Read-only: set before open(). The file is opened for reading only and never created; every
    // change is refused with ReadOnlyMessage.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }
    static inline const QString ReadOnlyMessage =
        QStringLiteral("The club is open read-only in this window: changes cannot be saved here.");

    // How long a statement waits for another program that is writing to the same database.
    static constexpr int BusyWaitMsecs = 5000;
    const QString& openError() const { return openError_; }
    const QString& databasePath() const { return path_; }

    // The connection; throws DbError when the database is not open.
    QSqlDatabase database() const;

    // Prepares `sql`, binds `params` in order and runs it. The returned query is positioned
    // before its first row. Throws DbError.
    QSqlQuery exec(const QString& sql, const QVariantList& params = {}) const;
    // The first column of every row as text (null as an empty text), in the rows' order.
    QStringList texts(const QString& sql, const QVariantList& params = {}) const;
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {}) const;

    // Row access by key columns of one table. Key columns of date-time type match by their date
    // part, as the keys of races do. Table and column names are checked against the schema.
    std::optional<QSqlRecord> locate(const QString& table, const QStringList& keyColumns,
                                     const QVariantList& keyValues) const;
    void append(const QString& table, const FieldValues& values) const;
    // Returns the number of rows changed.
    int update(const QString& table, const QStringList& keyColumns, const QVariantList& keyValues,
               const FieldValues& values) const;
    int remove(const QString& table, const QStringList& keyColumns, const QVariantList& keyValues) const;

    ClubSettings clubSettings() const;

    // Writes a consistent copy of the open database to `target` (SQLite's online backup), replacing
    // it only once the copy is complete and flushed. The copy keeps the database file's last-write
    // time. Refused while a transaction is open. Throws DbError, CorvelError.
    void snapshotTo(const QString& target) const;

    // The size of the connection's page cache.
    static constexpr int PageCacheKiB = 64 * 1024;

    // All or nothing: rolled back when destroyed before commit(). Transactions nest. The outer one
    // takes the database's write lock at once (waiting up to BusyWaitMsecs for another program),
    // so that it never fails half-way because another program started writing in the meantime.
    class Transaction {
    public:
        explicit Transaction(const TdmZAVR& dm);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        const TdmZAVR& dm_;
        QString name_;
        bool done_ = false;
    };

    // A readable text for an engine error (for a failed check: which field and its rule).
    static QString readableError(const QString& engineText);

private:
    QString connect();  // the reason when the database cannot be used, else empty
    QString createNew();  // writes a new database with the schema at path_; the reason on failure
    QString whereClause(const QString& table, const QStringList& keyColumns, const QVariantList& keyValues) const;

    QString path_;
    QString connectionName_;
    bool open_ = false;
    bool readOnly_ = false;
    QString openError_;
    mutable int transactionDepth_ = 0;
};
