#include "Schema.h"

#include "CorvelError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace Schema {
namespace {

Column text(const char* name, int width) { return {QString::fromLatin1(name), ColumnType::Text, width}; }
Column moment(const char* name) { return {QString::fromLatin1(name), ColumnType::DateTime, 0}; }
Column u16(const char* name) { return {QString::fromLatin1(name), ColumnType::U16, 0}; }
Column i32(const char* name) { return {QString::fromLatin1(name), ColumnType::I32, 0}; }
Column real(const char* name) { return {QString::fromLatin1(name), ColumnType::Real, 0}; }
Column yesNo(const char* name) { return {QString::fromLatin1(name), ColumnType::YesNo, 0}; }
Column memo(const char* name) { return {QString::fromLatin1(name), ColumnType::Memo, 0}; }

QStringList list(std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* n : names)
        out << QString::fromLatin1(n);
    return out;
}

Index index(const char* name, std::initializer_list<const char*> expressions, bool unique = false)
{
    return {QString::fromLatin1(name), list(expressions), unique};
}

std::vector<Table> buildTables()
{
    std::vector<Table> t;
    t.push_back({QStringLiteral("ZAVR_LoftData"),
                 {text("AssociationCode", 10), text("LoftNo", 10), text("LoftName", 30), text("Street", 50),
                  text("City", 30), text("PostCode", 10), text("PhoneNo", 15), text("EMail", 50),
                  text("LoftLon", 15), text("LoftLat", 15), memo("Notes"), moment("UpdateTime")},
                 list({"LoftNo"}),
                 {index("IX_LoftData_LoftName", {"LoftName"})}});
    t.push_back({QStringLiteral("ZAVR_LoftClocks"),
                 {text("LoftNo", 10), text("ClockID", 10), moment("LastSynchDate"), u16("SynchStat")},
                 list({"LoftNo", "ClockID"}),
                 {index("IX_LoftClocks_ClockID", {"ClockID"})}});
    t.push_back({QStringLiteral("ZAVR_RaceData"),
                 {text("ClubID", 10), text("LiberCode", 8), text("LiberSite", 20), text("LiberSiteAbbr", 10),
                  moment("LiberDate"), moment("LiberTime"), text("LiberLon", 10), text("LiberLat", 10),
                  moment("Updatetime"), yesNo("SynchFlag"), text("RaceCode", 8)},
                 {},
                 {index("UX_RaceData_Key", {"ClubID", "LiberCode", "date(LiberDate)"}, true),
                  index("IX_RaceData_Race", {"LiberCode", "date(LiberDate)"}),
                  index("IX_RaceData_RaceCode", {"RaceCode"})}});
    t.push_back({QStringLiteral("ZAVR_PigRaceData"),
                 {text("ClubID", 10), text("LiberCode", 8), moment("LiberDate"), text("PRingNo", 20),
                  text("BackTime", 25), text("FlyTime", 10), real("FlySpeed"), i32("Dist"), u16("RandomCode"),
                  text("ClockID", 10), text("UID_Real", 8), i32("TimeVari"), moment("MarkedTime"),
                  text("RealRandom", 2)},
                 {},
                 {index("UX_PigRaceData_Key", {"LiberCode", "date(LiberDate)", "PRingNo"}, true),
                  index("IX_PigRaceData_PRingNo", {"PRingNo"})}});
    t.push_back({QStringLiteral("ZAVR_PigData"),
                 {text("LoftNo", 10), text("PRingNo", 20), text("RCountry", 4), text("RYear", 2),
                  text("RRegLetter", 4), text("RRegNumber", 7), text("Sex", 1), text("E_Ring", 8),
                  text("ColorType", 4), memo("Comment"), yesNo("ActiveStat"), moment("Updatetime"),
                  yesNo("SynchFlag"), u16("RandomCode"), text("UID", 8), moment("CreateDate"),
                  moment("AssignDate")},
                 list({"PRingNo"}),
                 {index("IX_PigData_LoftNo", {"LoftNo", "PRingNo"}), index("IX_PigData_UID", {"UID"}),
                  index("IX_PigData_E_Ring", {"E_Ring"})}});
    t.push_back({QStringLiteral("ZAVR_ClubData"),
                 {text("ClubID", 10), text("ClubName", 50), text("Street", 50), text("City", 30),
                  text("PostCode", 10), text("AssociationCode", 10), text("Logo", 100), u16("Language"),
                  u16("Mode"), u16("DBBackupDays")},
                 {},
                 {}});
    t.push_back({QStringLiteral("ZAVR_SunSet_SunRise"),
                 {text("RaceCode", 8), moment("RaceDate"), moment("SunSet"), moment("SunRise"), text("Location", 30)},
                 {},
                 {index("IX_SunSetRise_RaceCode", {"RaceCode", "RaceDate"})}});
    t.push_back({QStringLiteral("ZAVR_FeatherColor"),
                 {text("ColorType", 4), text("FeathColor", 20)},
                 list({"ColorType"}),
                 {}});
    t.push_back({QStringLiteral("ZAVR_ClubMap"),
                 {text("ClubID", 10), text("ClubName", 50)},
                 list({"ClubID"}),
                 {index("IX_ClubMap_ClubName", {"ClubName"})}});
    t.push_back({QStringLiteral("ZAVR_LiberateSite"),
                 {text("LiberCode", 8), text("LiberSite", 50), text("LiberSiteAbbr", 20), text("LiberLon", 10),
                  text("LiberLat", 10)},
                 list({"LiberCode"}),
                 {index("IX_LiberateSite_LiberSite", {"LiberSite"})}});
    t.push_back({QStringLiteral("ZAVR_LoftLibPointDist"),
                 {text("LiberCode", 8), text("LoftNo", 10), i32("Miles"), i32("Yards"), text("LoftName", 10)},
                 list({"LiberCode", "LoftNo"}),
                 {index("IX_LoftLibPointDist_LoftNo", {"LoftNo"})}});
    t.push_back({QStringLiteral("ZAVR_RaceClockTime"),
                 {text("LiberCode", 10), moment("LiberDate"), text("LoftNo", 10), text("ClockID", 10),
                  moment("DLMarkedTime"), moment("ULMasterTime"), moment("ULClockTime")},
                 {},
                 {index("UX_RaceClockTime_Key", {"LiberCode", "date(LiberDate)", "LoftNo"}, true),
                  index("IX_RaceClockTime_Clock", {"LiberCode", "date(LiberDate)", "ClockID"})}});
    return t;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// A named check: the engine reports a failed check by its name, which is then shown to the user.
QString check(const QString& table, const Column& c, const QString& condition, const QString& rule)
{
    const QString name = table + QLatin1Char('.') + c.name + QStringLiteral(": ") + rule;
    return QStringLiteral("CONSTRAINT %1 CHECK (%2 IS NULL OR (%3))").arg(quoted(name), c.name, condition);
}

QString columnDefinition(const QString& table, const Column& c, bool inKey)
{
    QString def = c.name;
    switch (c.type) {
    case ColumnType::Text:
        def += QStringLiteral(" TEXT ") + check(table, c, QStringLiteral("length(%1) <= %2").arg(c.name).arg(c.width),
                                                 QStringLiteral("at most %1 characters").arg(c.width));
        break;
    case ColumnType::Memo:
        def += QStringLiteral(" TEXT");
        break;
    case ColumnType::DateTime:
        def += QStringLiteral(" TEXT");
        break;
    case ColumnType::U16:
        def += QStringLiteral(" INTEGER DEFAULT 0 ")
               + check(table, c, QStringLiteral("typeof(%1) = 'integer' AND %1 BETWEEN 0 AND 65535").arg(c.name),
                       QStringLiteral("a whole number from 0 to 65535"));
        break;
    case ColumnType::I32:
        def += QStringLiteral(" INTEGER ")
               + check(table, c,
                       QStringLiteral("typeof(%1) = 'integer' AND %1 BETWEEN -2147483648 AND 2147483647").arg(c.name),
                       QStringLiteral("a whole number from -2147483648 to 2147483647"));
        break;
    case ColumnType::Real:
        def += QStringLiteral(" REAL ")
               + check(table, c, QStringLiteral("typeof(%1) IN ('real', 'integer')").arg(c.name),
                       QStringLiteral("a number"));
        break;
    case ColumnType::YesNo:
        def += QStringLiteral(" INTEGER NOT NULL DEFAULT 0 ")
               + check(table, c, QStringLiteral("%1 IN (0, 1)").arg(c.name), QStringLiteral("yes or no"));
        break;
    }
    if (inKey)
        def += QStringLiteral(" NOT NULL");
    return def;
}

}  // namespace

const Column* Table::column(const QString& columnName) const
{
    for (const Column& c : columns)
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const std::vector<Table>& tables()
{
    static const std::vector<Table> all = buildTables();
    return all;
}

const Table* table(const QString& tableName)
{
    for (const Table& t : tables())
        if (t.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QStringList createStatements(const Table& t)
{
    QStringList parts;
    for (const Column& c : t.columns)
        parts << columnDefinition(t.name, c, t.primaryKey.contains(c.name));
    if (!t.primaryKey.isEmpty())
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(t.primaryKey.join(QStringLiteral(", ")));
    QStringList statements;
    statements << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\n  %2\n)").arg(t.name, parts.join(QStringLiteral(",\n  ")));
    for (const Index& ix : t.indexes) {
        statements << QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                          .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), ix.name, t.name,
                               ix.expressions.join(QStringLiteral(", ")));
    }
    return statements;
}

void create(QSqlDatabase& db)
{
    auto run = [&db](const QString& sql) {
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw DbError(QStringLiteral("Cannot create the club database: %1").arg(q.lastError().text()));
    };
    if (!db.transaction())
        throw DbError(QStringLiteral("Cannot create the club database: %1").arg(db.lastError().text()));
    try {
        for (const Table& t : tables())
            for (const QString& sql : createStatements(t))
                run(sql);
        run(QStringLiteral("PRAGMA user_version = %1").arg(Version));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DbError(QStringLiteral("Cannot create the club database: %1").arg(db.lastError().text()));
}

QString mismatch(const QSqlDatabase& db)
{
    const auto read = [&db](const QString& sql, const QString& name) {
        QSqlQuery q(db);
        if (!q.prepare(sql))
            throw DbError(q.lastError().text());
        if (!name.isEmpty())
            q.addBindValue(name);
        if (!q.exec())
            throw DbError(q.lastError().text());
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        return names;
    };
    const QStringList present = read(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), {});
    for (const Table& t : tables()) {
        if (!present.contains(t.name, Qt::CaseInsensitive))
            return QStringLiteral("the table %1 is missing").arg(t.name);
        const QStringList columns = read(QStringLiteral("SELECT name FROM pragma_table_info(?)"), t.name);
        for (const Column& c : t.columns)
            if (!columns.contains(c.name, Qt::CaseInsensitive))
                return QStringLiteral("the table %1 has no column %2").arg(t.name, c.name);
    }
    return {};
}

}  // namespace Schema
