#include "DataFolder.h"

#include "CorvelError.h"
#include "SettingsFile.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

// A value of the data-link file; empty when the file or the key is missing. Throws CorvelError
// for a file that is too large or not a UTF-8 text: its name could not be read as written.
QString readUdlValue(const QString& udlPath, const QString& key)
{
    checkSettingsFileSize(udlPath);
    QFile file(udlPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(MaxSettingsFileBytes + 1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() || text.contains(QChar(0)))
        throw CorvelError(QStringLiteral("%1 is not a text file in UTF-8: the database it names cannot be read. "
                                         "Correct the line \"Data Source=\" or remove the file.")
                              .arg(QDir::toNativeSeparators(udlPath)));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
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
    if (!QFileInfo::exists(path))
        writeWholeFile(path, contents);
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
