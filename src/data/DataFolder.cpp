#include "DataFolder.h"

#include "CorvelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QString readUdlValue(const QString& udlPath, const QString& key)
{
    QFile file(udlPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        // A data-link text may hold several "Key=Value" pairs separated by ";".
        for (const QString& part : line.split(QLatin1Char(';'))) {
            const qsizetype eq = part.indexOf(QLatin1Char('='));
            if (eq <= 0)
                continue;
            if (part.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                return part.mid(eq + 1).trimmed();
        }
    }
    return {};
}

void writeIfMissing(const QString& path, const QByteArray& contents)
{
    if (QFileInfo::exists(path))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
        throw CorvelError(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

}  // namespace

DataFolder::DataFolder(const QString& path) : path_(QDir::cleanPath(QDir(path).absolutePath())) {}

QString DataFolder::resolve(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == QLatin1String("--data-dir") && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (arg.startsWith(QLatin1String("--data-dir=")))
            return arg.mid(static_cast<qsizetype>(qstrlen("--data-dir=")));
    }
    const QString fromEnvironment = qEnvironmentVariable("CORVEL_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void DataFolder::prepare() const
{
    if (!QDir().mkpath(path_))
        throw CorvelError(QStringLiteral("Cannot create the data folder %1").arg(QDir::toNativeSeparators(path_)));
    writeIfMissing(udlPath(), QByteArrayLiteral("[oledb]\n"
                                                "; Everything after this line is a data-link text\n"
                                                "Provider=SQLite;Data Source=")
                                  + DefaultDatabaseName + "\n");
    writeIfMissing(iniPath(), QByteArrayLiteral("[Parameter]\n"
                                                "SysID=\n"
                                                "CountryRingCode=BELG,NL,GB\n"
                                                "\n"
                                                "[Devices]\n"
                                                "Library=simulator\n"
                                                "COM1=/dev/ttyS0\n"
                                                "COM2=/dev/ttyS1\n"));
}

QString DataFolder::udlPath() const { return path_ + QStringLiteral("/ZAVR.udl"); }
QString DataFolder::iniPath() const { return path_ + QStringLiteral("/ZAVR.ini"); }

QString DataFolder::databasePath() const
{
    QString source = readUdlValue(udlPath(), QStringLiteral("Data Source"));
    if (source.isEmpty())
        source = QString::fromLatin1(DefaultDatabaseName);
    return QDir::cleanPath(QDir(path_).absoluteFilePath(source));
}

QString DataFolder::backupFolder() const { return path_ + QStringLiteral("/Backup"); }
QString DataFolder::currentBackupPath() const { return backupFolder() + QStringLiteral("/Corvel_Europe.bak"); }
QString DataFolder::datedBackupPath(const QString& yyyymmdd) const
{
    return backupFolder() + QStringLiteral("/Corvel_Europe_") + yyyymmdd + QStringLiteral(".bak");
}
