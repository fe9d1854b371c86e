// ZAVR.udl and ZAVR.ini as the program reads them. Input: the data-link file, a NUL, the
// initialisation file.
#include "CorvelError.h"
#include "DataFolder.h"
#include "DeviceCodec.h"
#include "FuzzMain.h"
#include "SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const DataFolder folder(dir.path());
    const QByteArray input = fuzzInput(data, size);
    const qsizetype nul = input.indexOf('\0');
    write(folder.udlPath(), nul < 0 ? input : input.left(nul));
    write(folder.iniPath(), nul < 0 ? QByteArray() : input.mid(nul + 1));
    try {
        const QString database = folder.databasePath();
        FUZZ_EXPECT(!database.isEmpty());
    } catch (const CorvelError&) {
    }
    try {
        iniSysId(folder.iniPath());
        const auto ini = readIniFile(folder.iniPath());
        iniText(*ini, QStringLiteral("Parameter/CountryRingCode"));
        iniText(*ini, QStringLiteral("Devices/Library"));
    } catch (const CorvelError&) {
    }
    return 0;
}
