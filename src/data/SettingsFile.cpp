#include "SettingsFile.h"

#include "CorvelError.h"

#include <QDir>
#include <QFileInfo>

void checkSettingsFileSize(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && info.size() > MaxSettingsFileBytes)
        throw CorvelError(QStringLiteral("%1 is too large (%2 bytes): a settings file of this program holds at most %3 bytes. "
                                         "Replace it by a correct file or remove it.")
                              .arg(QDir::toNativeSeparators(path))
                              .arg(info.size())
                              .arg(MaxSettingsFileBytes));
}

std::unique_ptr<const QSettings> readIniFile(const QString& path)
{
    checkSettingsFileSize(path);
    return std::make_unique<const QSettings>(path, QSettings::IniFormat);
}

QString iniText(const QSettings& ini, const QString& key)
{
    const QVariant value = ini.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}
