#include "DeviceLibraries.h"

#include "CorvelError.h"
#include "DataFolder.h"
#include "SettingsFile.h"
#include "SimulatedBench.h"
#include "VendorLibraries.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

class SimulatorLibraries : public DeviceLibraries {
public:
    explicit SimulatorLibraries(const QString& stateFile) : bench_(stateFile) {}
    ClockLibrary& clock() override { return bench_; }
    RingReaderLibrary& ringReader() override { return bench_; }
    SimulatedBench* bench() override { return &bench_; }

private:
    SimulatedBench bench_;
};

class LoadedLibraries : public DeviceLibraries {
public:
    explicit LoadedLibraries(const VendorLibraryPaths& paths) : libraries_(paths) {}
    ClockLibrary& clock() override { return libraries_; }
    RingReaderLibrary& ringReader() override { return libraries_; }

private:
    VendorLibraries libraries_;
};

}  // namespace

QString DeviceLibraries::benchPath(const DataFolder& folder) { return folder.path() + QStringLiteral("/bench.json"); }

bool DeviceLibraries::usesSimulator(const QString& library)
{
    const QString kind = library.trimmed();
    return kind.isEmpty() || kind.compare(QLatin1String("simulator"), Qt::CaseInsensitive) == 0;
}

std::unique_ptr<DeviceLibraries> DeviceLibraries::open(const DataFolder& folder, const QString& programLibraries)
{
    const auto settings = readIniFile(folder.iniPath());
    const QSettings& ini = *settings;
    const QString kind = ini.value(QStringLiteral("Devices/Library")).toString().trimmed();
    if (usesSimulator(kind))
        return std::make_unique<SimulatorLibraries>(benchPath(folder));
    if (kind.compare(QLatin1String("vendor"), Qt::CaseInsensitive) != 0)
        throw CorvelError(QStringLiteral("ZAVR.ini: [Devices] Library must be simulator or vendor, not \"%1\".").arg(kind));

    const QString libraryFolder = ini.value(QStringLiteral("Devices/LibraryFolder")).toString();
    auto file = [&](const char* key, const char* fallback) {
        const QString name = ini.value(QStringLiteral("Devices/") + QLatin1String(key), QString::fromLatin1(fallback)).toString();
        if (!libraryFolder.isEmpty())
            return QDir(libraryFolder).absoluteFilePath(name);
        const QString inDataFolder = QDir(folder.path()).absoluteFilePath(name);
        return QFileInfo::exists(inDataFolder) ? inDataFolder : QDir(programLibraries).absoluteFilePath(name);
    };
    VendorLibraryPaths paths;
    paths.clockComm = file("ClockComm", "libClockComm.so");
    paths.clockRace = file("ClockRace", "libClockRace.so");
    paths.portLink = file("PortLink", "libPortLink.so");
    paths.ringReader = file("RingReader", "libRingReader.so");
    paths.com1File = ini.value(QStringLiteral("Devices/COM1")).toString();
    paths.com2File = ini.value(QStringLiteral("Devices/COM2")).toString();
    return std::make_unique<LoadedLibraries>(paths);
}
