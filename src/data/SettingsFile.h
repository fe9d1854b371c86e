#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// ZAVR.udl and ZAVR.ini are small text files: one larger than this is refused, not read.
inline constexpr qint64 MaxSettingsFileBytes = 1024 * 1024;

// Throws CorvelError naming the file when it is larger than MaxSettingsFileBytes. A missing file
// passes (its readers treat it as empty).
void checkSettingsFileSize(const QString& path);

// The INI file at `path` for reading, once its size is checked. Throws CorvelError.
std::unique_ptr<const QSettings> readIniFile(const QString& path);

// The value of `key` ("Section/Key") as written: an unquoted value with commas, which QSettings
// splits into a list, is put back together. Empty when missing.
QString iniText(const QSettings& ini, const QString& key);
