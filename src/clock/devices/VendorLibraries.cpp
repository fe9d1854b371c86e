#include "VendorLibraries.h"

#include "CorvelError.h"

#define CORVEL_DEVICES_TYPES_ONLY
#include "CorvelDevices.h"

#include <QByteArray>
#include <QFile>
#include <QLibrary>
#include <QStringList>

struct VendorLibraries::Functions {
    QByteArray com1File;
    QByteArray com2File;

    IFD_OpenPort_t clockOpen = nullptr;
    IFD_IsPortValid_t clockValid = nullptr;
    IFD_ClosePort_t clockClose = nullptr;
    IFD_Connect_t connect = nullptr;
    IFD_GetDevNo_t getDevNo = nullptr;
    DesEncrypt_t desEncrypt = nullptr;
    DesDecrypt_t desDecrypt = nullptr;
    HexToBin_t hexToBin = nullptr;

    IFD_OpenPort_t linkOpen = nullptr;
    IFD_IsPortValid_t linkValid = nullptr;
    IFD_ClosePort_t linkClose = nullptr;

    PGT_StartTag_t startTag = nullptr;
    PGT_SetTag_t setTag = nullptr;
    PGT_CloseTag_t closeTag = nullptr;
    PGT_SetUploadMode_t setUploadMode = nullptr;
    PGT_SetSiteInfo_t setSiteInfo = nullptr;
    PGT_GetSiteInfo_t getSiteInfo = nullptr;
    PGT_CreateRace_t createRace = nullptr;
    PGT_AddRaceTag_t addRaceTag = nullptr;
    PGT_SetRaceDesc_t setRaceDesc = nullptr;
    PGT_SetRaceMode_t setRaceMode = nullptr;
    PGT_ConfirmRace_t confirmRace = nullptr;
    PGT_StartRace_t startRace = nullptr;
    PGT_GetCurrentRace_t getCurrentRace = nullptr;
    PGT_GetRaceTagCount_t getRaceTagCount = nullptr;
    PGT_GetRaceRecord_t getRaceRecord = nullptr;
    PGT_CheckRecord_t checkRecord = nullptr;
    PGT_VerifyRace_t verifyRace = nullptr;
    PGT_CloseRace_t closeRace = nullptr;
    PGT_GetRaceT2Device_t getRaceT2Device = nullptr;
    PGT_GetRaceT2Auth_t getRaceT2Auth = nullptr;

    HTS_Active_t htsActive = nullptr;
    HTS_ReadPage_t htsReadPage = nullptr;
    TTF_Read_t ttfRead = nullptr;
    HTS_ChangePigeon_t htsChangePigeon = nullptr;
    SC_DoBell_t scDoBell = nullptr;
    RF_Reset_t rfReset = nullptr;

    // The port name handed to the library: the device file mapped to COM1 or COM2, if any.
    const char* portName(const char* name) const
    {
        if (name != nullptr && qstrcmp(name, "COM1") == 0 && !com1File.isEmpty())
            return com1File.constData();
        if (name != nullptr && qstrcmp(name, "COM2") == 0 && !com2File.isEmpty())
            return com2File.constData();
        return name;
    }
};

namespace {

// One vendor library: loaded, then its functions resolved by name; the missing ones are collected.
class Resolver {
public:
    explicit Resolver(const QString& path) : library_(path)
    {
        library_.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (path.isEmpty() || !library_.load())
            throw CorvelError(QStringLiteral("The device library %1 cannot be loaded: %2")
                                  .arg(path.isEmpty() ? QStringLiteral("(no file name)") : path, library_.errorString()));
    }

    template <typename F>
    void resolve(F& function, const char* name)
    {
        function = reinterpret_cast<F>(library_.resolve(name));
        if (function == nullptr)
            missing_ << QString::fromLatin1(name);
    }

    void finish() const
    {
        if (!missing_.isEmpty())
            throw CorvelError(QStringLiteral("The device library %1 lacks the function(s) %2.")
                                  .arg(library_.fileName(), missing_.join(QStringLiteral(", "))));
    }

private:
    QLibrary library_;  // the library stays loaded when this object goes
    QStringList missing_;
};

}  // namespace

class VendorLibraries::PortLinkPart : public PortLibrary {
public:
    explicit PortLinkPart(const Functions& f) : f_(f) {}
    std::int32_t IFD_OpenPort(const char* name, const char* settings) override { return f_.linkOpen(f_.portName(name), settings); }
    bool IFD_IsPortValid(std::int32_t h) override { return f_.linkValid(h) != 0; }
    bool IFD_ClosePort(std::int32_t h) override { return f_.linkClose(h) != 0; }

private:
    const Functions& f_;
};

VendorLibraries::VendorLibraries(const VendorLibraryPaths& paths) : f_(std::make_unique<Functions>())
{
    Functions& f = *f_;
    f.com1File = QFile::encodeName(paths.com1File);
    f.com2File = QFile::encodeName(paths.com2File);

    Resolver comm(paths.clockComm);
    comm.resolve(f.clockOpen, "IFD_OpenPort");
    comm.resolve(f.clockValid, "IFD_IsPortValid");
    comm.resolve(f.clockClose, "IFD_ClosePort");
    comm.resolve(f.connect, "IFD_Connect");
    comm.resolve(f.getDevNo, "IFD_GetDevNo");
    comm.resolve(f.desEncrypt, "DesEncrypt");
    comm.resolve(f.desDecrypt, "DesDecrypt");
    comm.resolve(f.hexToBin, "HexToBin");
    comm.finish();

    Resolver race(paths.clockRace);
    race.resolve(f.startTag, "PGT_StartTag");
    race.resolve(f.setTag, "PGT_SetTag");
    race.resolve(f.closeTag, "PGT_CloseTag");
    race.resolve(f.setUploadMode, "PGT_SetUploadMode");
    race.resolve(f.setSiteInfo, "PGT_SetSiteInfo");
    race.resolve(f.getSiteInfo, "PGT_GetSiteInfo");
    race.resolve(f.createRace, "PGT_CreateRace");
    race.resolve(f.addRaceTag, "PGT_AddRaceTag");
    race.resolve(f.setRaceDesc, "PGT_SetRaceDesc");
    race.resolve(f.setRaceMode, "PGT_SetRaceMode");
    race.resolve(f.confirmRace, "PGT_ConfirmRace");
    race.resolve(f.startRace, "PGT_StartRace");
    race.resolve(f.getCurrentRace, "PGT_GetCurrentRace");
    race.resolve(f.getRaceTagCount, "PGT_GetRaceTagCount");
    race.resolve(f.getRaceRecord, "PGT_GetRaceRecord");
    race.resolve(f.checkRecord, "PGT_CheckRecord");
    race.resolve(f.verifyRace, "PGT_VerifyRace");
    race.resolve(f.closeRace, "PGT_CloseRace");
    race.resolve(f.getRaceT2Device, "PGT_GetRaceT2Device");
    race.resolve(f.getRaceT2Auth, "PGT_GetRaceT2Auth");
    race.finish();

    Resolver link(paths.portLink);
    link.resolve(f.linkOpen, "IFD_OpenPort");
    link.resolve(f.linkValid, "IFD_IsPortValid");
    link.resolve(f.linkClose, "IFD_ClosePort");
    link.finish();

    Resolver reader(paths.ringReader);
    reader.resolve(f.htsActive, "HTS_Active");
    reader.resolve(f.htsReadPage, "HTS_ReadPage");
    reader.resolve(f.ttfRead, "TTF_Read");
    reader.resolve(f.htsChangePigeon, "HTS_ChangePigeon");
    reader.resolve(f.scDoBell, "SC_DoBell");
    reader.resolve(f.rfReset, "RF_Reset");
    reader.finish();

    portLink_ = std::make_unique<PortLinkPart>(f);
}

VendorLibraries::~VendorLibraries() = default;

std::int32_t VendorLibraries::IFD_OpenPort(const char* name, const char* settings) { return f_->clockOpen(f_->portName(name), settings); }
bool VendorLibraries::IFD_IsPortValid(std::int32_t h) { return f_->clockValid(h) != 0; }
bool VendorLibraries::IFD_ClosePort(std::int32_t h) { return f_->clockClose(h) != 0; }
PortLibrary& VendorLibraries::PortLink() { return *portLink_; }
bool VendorLibraries::IFD_Connect(std::int32_t h, const std::uint8_t* sysId, const std::uint8_t* sysIdCipher)
{
    return f_->connect(h, sysId, sysIdCipher) != 0;
}
bool VendorLibraries::IFD_GetDevNo(std::int32_t h, char* buffer) { return f_->getDevNo(h, buffer) != 0; }
bool VendorLibraries::DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) { return f_->desEncrypt(out, in, key) != 0; }
bool VendorLibraries::DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) { return f_->desDecrypt(in, out, key) != 0; }
bool VendorLibraries::HexToBin(const char* text, std::uint8_t* out, std::int32_t n) { return f_->hexToBin(text, out, n) != 0; }
bool VendorLibraries::PGT_StartTag(std::int32_t h, std::int32_t zero) { return f_->startTag(h, zero) != 0; }
bool VendorLibraries::PGT_SetTag(std::int32_t h, const char* tag, std::int32_t zero, const char* uid, const char* regNo)
{
    return f_->setTag(h, tag, zero, uid, regNo) != 0;
}
bool VendorLibraries::PGT_CloseTag(std::int32_t h, std::int32_t* n) { return f_->closeTag(h, n) != 0; }
bool VendorLibraries::PGT_SetUploadMode(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) { return f_->setUploadMode(h, a, b, c) != 0; }
bool VendorLibraries::PGT_SetSiteInfo(std::int32_t h, const char* site, std::int32_t lon, std::int32_t lat)
{
    return f_->setSiteInfo(h, site, lon, lat) != 0;
}
bool VendorLibraries::PGT_GetSiteInfo(std::int32_t h, char* site, std::int32_t* lon, std::int32_t* lat)
{
    return f_->getSiteInfo(h, site, lon, lat) != 0;
}
bool VendorLibraries::PGT_CreateRace(std::int32_t h, const char* raceNo, const char* sysIdText) { return f_->createRace(h, raceNo, sysIdText) != 0; }
bool VendorLibraries::PGT_AddRaceTag(std::int32_t h, const char* raceNo, const char* tag, const char* uid)
{
    return f_->addRaceTag(h, raceNo, tag, uid) != 0;
}
bool VendorLibraries::PGT_SetRaceDesc(std::int32_t h, const char* raceNo, const char* text) { return f_->setRaceDesc(h, raceNo, text) != 0; }
bool VendorLibraries::PGT_SetRaceMode(std::int32_t h, const char* raceNo, std::int32_t mode) { return f_->setRaceMode(h, raceNo, mode) != 0; }
bool VendorLibraries::PGT_ConfirmRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth, double now)
{
    return f_->confirmRace(h, raceNo, auth, now) != 0;
}
bool VendorLibraries::PGT_StartRace(std::int32_t h, const char* raceNo, std::int32_t kind) { return f_->startRace(h, raceNo, kind) != 0; }
bool VendorLibraries::PGT_GetCurrentRace(std::int32_t h, char* raceNo, std::int32_t* n) { return f_->getCurrentRace(h, raceNo, n) != 0; }
bool VendorLibraries::PGT_GetRaceTagCount(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t* count)
{
    return f_->getRaceTagCount(h, raceNo, mode, count) != 0;
}
bool VendorLibraries::PGT_GetRaceRecord(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t index, char* record)
{
    return f_->getRaceRecord(h, raceNo, mode, index, record) != 0;
}
bool VendorLibraries::PGT_CheckRecord(const char* record, const std::uint8_t* sysId, const char* clockNo, const char* raceNo,
                                      const std::uint8_t* auth)
{
    return f_->checkRecord(record, sysId, clockNo, raceNo, auth) != 0;
}
bool VendorLibraries::PGT_VerifyRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth) { return f_->verifyRace(h, raceNo, auth) != 0; }
bool VendorLibraries::PGT_CloseRace(std::int32_t h, const char* raceNo, double now) { return f_->closeRace(h, raceNo, now) != 0; }
bool VendorLibraries::PGT_GetRaceT2Device(std::int32_t h, const char* raceNo, double* t) { return f_->getRaceT2Device(h, raceNo, t) != 0; }
bool VendorLibraries::PGT_GetRaceT2Auth(std::int32_t h, const char* raceNo, double* t) { return f_->getRaceT2Auth(h, raceNo, t) != 0; }

bool VendorLibraries::HTS_Active(std::int32_t h, std::uint8_t* uid) { return f_->htsActive(h, uid) != 0; }
bool VendorLibraries::HTS_ReadPage(std::int32_t h, std::int32_t page, std::uint8_t* buffer) { return f_->htsReadPage(h, page, buffer) != 0; }
bool VendorLibraries::TTF_Read(std::int32_t h, std::int32_t zero, std::uint8_t* block) { return f_->ttfRead(h, zero, block) != 0; }
bool VendorLibraries::HTS_ChangePigeon(std::int32_t h, const std::uint8_t* block) { return f_->htsChangePigeon(h, block) != 0; }
bool VendorLibraries::SC_DoBell(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) { return f_->scDoBell(h, a, b, c) != 0; }
bool VendorLibraries::RF_Reset(std::int32_t h, std::int32_t n) { return f_->rfReset(h, n) != 0; }
