#include "SimulatedBench.h"

#include "CorvelError.h"
#include "DeviceCodec.h"
#include "Moment.h"
#include "WholeFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <cstring>

namespace {

// A NUL-terminated text argument, read no further than maxLength characters.
std::optional<QString> textArg(const char* text, std::size_t maxLength)
{
    if (text == nullptr)
        return std::nullopt;
    const std::size_t n = strnlen(text, maxLength + 1);
    if (n > maxLength)
        return std::nullopt;
    return QString::fromLatin1(text, static_cast<qsizetype>(n));
}

// A race number: exactly 8 printable characters, not necessarily followed by a NUL.
std::optional<QString> raceNoArg(const char* raceNo)
{
    if (raceNo == nullptr)
        return std::nullopt;
    const QString number = QString::fromLatin1(raceNo, static_cast<qsizetype>(strnlen(raceNo, 8)));
    if (!BenchState::validRaceNumber(number))
        return std::nullopt;
    return number;
}

QString littleEndianHex(std::uint32_t value, int bytes)
{
    QString text;
    for (int i = 0; i < bytes; ++i)
        text += QStringLiteral("%1").arg((value >> (8 * i)) & 0xff, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

// A clock time stamp: year - 2000, month, day, hour, minute, second, milliseconds low byte first.
QString timeStamp(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    const std::uint8_t bytes[8] = {static_cast<std::uint8_t>(d.year() - 2000), static_cast<std::uint8_t>(d.month()),
                                   static_cast<std::uint8_t>(d.day()),         static_cast<std::uint8_t>(t.hour()),
                                   static_cast<std::uint8_t>(t.minute()),      static_cast<std::uint8_t>(t.second()),
                                   static_cast<std::uint8_t>(t.msec() & 0xff), static_cast<std::uint8_t>(t.msec() >> 8)};
    return BytesToHex(std::span<const std::uint8_t>(bytes), 1, 8);
}

QByteArray blockBytes(const DesBlock& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), 8); }

QString sysIdCheck(const QString& sysId)
{
    // Like ZAVR.ini's SysID: the first 8 characters count.
    if (sysId.toLatin1() != sysId.toUtf8() || sysId.contains(QChar(0)))
        throw CorvelError(QStringLiteral("A system identity is made of plain characters: %1").arg(sysId));
    return sysId;
}

void checkClockNumber(const QString& number)
{
    if (!BenchState::validClockNumber(number))
        throw CorvelError(QStringLiteral("A clock number is 1 to 9 plain characters without blanks: %1").arg(number));
}

}  // namespace

SimulatedBench::SimulatedBench() : portLink_(*this) {}

SimulatedBench::SimulatedBench(const QString& stateFile, bool refuseInvalidFile) : stateFile_(stateFile), portLink_(*this)
{
    if (!sync() && refuseInvalidFile)
        throw CorvelError(brokenFile_);
}

SimulatedBench::~SimulatedBench() = default;

// ---- the state file ----

bool SimulatedBench::sync()
{
    if (stateFile_.isEmpty())
        return true;
    QFile file(stateFile_);
    if (!file.exists()) {
        brokenFile_.clear();
        return true;  // a new bench: written at the first change
    }
    if (!file.open(QIODevice::ReadOnly)) {
        brokenFile_ = QStringLiteral("Cannot read %1: %2").arg(stateFile_, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (bytes == lastFileBytes_ && brokenFile_.isEmpty())
        return true;
    try {
        state_ = BenchState::fromJson(bytes);
        brokenFile_.clear();
        lastFileBytes_ = bytes;
        return true;
    } catch (const CorvelError& e) {
        brokenFile_ = e.text();
        return false;
    }
}

bool SimulatedBench::save(QString* error)
{
    if (stateFile_.isEmpty() || !brokenFile_.isEmpty())
        return true;
    const QByteArray bytes = state_.toJson();
    try {
        writeWholeFile(stateFile_, bytes);
    } catch (const CorvelError& e) {
        if (error != nullptr)
            *error = e.text();
        return false;
    }
    lastFileBytes_ = bytes;
    return true;
}

SimulatedBench::FileLock::FileLock(SimulatedBench& bench) : bench_(&bench)
{
    if (bench.stateFile_.isEmpty())
        return;
    if (bench.lockDepth_ == 0) {
        auto file = std::make_unique<QLockFile>(bench.stateFile_ + QStringLiteral(".lock"));
        // Held only for one change; a lock left by a program that ended is taken over.
        file->setStaleLockTime(0);
        // Short, uneven retries: QLockFile's own waits grow to seconds, so that among several
        // programs waiting at once some would wait in vain.
        const QDeadlineTimer deadline(LockWaitMsecs);
        bool locked = file->tryLock(0);
        while (!locked && file->error() == QLockFile::LockFailedError && !deadline.hasExpired()) {
            QThread::msleep(5 + QRandomGenerator::global()->bounded(20u));
            locked = file->tryLock(0);
        }
        if (locked) {
            bench.lockFile_ = std::move(file);
        } else if (file->error() != QLockFile::PermissionError) {
            bench_ = nullptr;
            return;
        }
        // In a folder that cannot be written no program changes the file: nothing to guard.
    }
    ++bench.lockDepth_;
}

SimulatedBench::FileLock::FileLock(FileLock&& other) noexcept : bench_(std::exchange(other.bench_, nullptr)) {}

SimulatedBench::FileLock::~FileLock()
{
    if (bench_ == nullptr || bench_->stateFile_.isEmpty())
        return;
    if (--bench_->lockDepth_ == 0)
        bench_->lockFile_.reset();  // unlocks
}

SimulatedBench::FileLock SimulatedBench::scriptingSync()
{
    FileLock lock(*this);
    if (!lock)
        throw CorvelError(QStringLiteral("%1 is being changed by another program (its lock file %2 is held); try again.")
                              .arg(stateFile_, stateFile_ + QStringLiteral(".lock")));
    if (!sync())
        throw CorvelError(brokenFile_);
    return lock;
}

void SimulatedBench::scriptingSave()
{
    QString error;
    if (!save(&error))
        throw CorvelError(error);
}

// ---- scripting ----

int SimulatedBench::checkedPort(int port)
{
    if (port != 1 && port != 2)
        throw CorvelError(QStringLiteral("There is no port COM%1: the bench has COM1 and COM2.").arg(port));
    return port - 1;
}

BenchClock& SimulatedBench::clockNamed(const QString& number)
{
    for (BenchClock& c : state_.clocks)
        if (c.number == number)
            return c;
    throw CorvelError(QStringLiteral("There is no clock %1 on the bench.").arg(number));
}

const BenchState& SimulatedBench::state()
{
    const FileLock lock = scriptingSync();
    return state_;
}

void SimulatedBench::connectRingReader(int port)
{
    const FileLock lock = scriptingSync();
    const int i = checkedPort(port);
    for (BenchPort& p : state_.ports)
        if (p.device == BenchDevice::RingReader)
            p.device = BenchDevice::None;  // there is one reader
    state_.ports[i].device = BenchDevice::RingReader;
    state_.ports[i].clock.clear();
    scriptingSave();
}

void SimulatedBench::connectClock(int port, const QString& clockNumber)
{
    const FileLock lock = scriptingSync();
    const int i = checkedPort(port);
    clockNamed(clockNumber);
    for (BenchPort& p : state_.ports)
        if (p.device == BenchDevice::Clock && p.clock == clockNumber) {
            p.device = BenchDevice::None;  // a clock sits on one port at a time
            p.clock.clear();
        }
    state_.ports[i].device = BenchDevice::Clock;
    state_.ports[i].clock = clockNumber;
    scriptingSave();
}

void SimulatedBench::disconnect(int port)
{
    const FileLock lock = scriptingSync();
    const int i = checkedPort(port);
    state_.ports[i].device = BenchDevice::None;
    state_.ports[i].clock.clear();
    scriptingSave();
}

void SimulatedBench::setPortFault(int port, bool fault)
{
    const FileLock lock = scriptingSync();
    state_.ports[checkedPort(port)].fault = fault;
    scriptingSave();
}

void SimulatedBench::addClock(const QString& clockNumber, const QString& sysId)
{
    const FileLock lock = scriptingSync();
    checkClockNumber(clockNumber);
    if (state_.clock(clockNumber))
        throw CorvelError(QStringLiteral("The bench has a clock %1 already.").arg(clockNumber));
    BenchClock clock;
    clock.number = clockNumber;
    clock.sysId = blockBytes(systemIdentityBlock(sysIdCheck(sysId)));
    state_.clocks.append(clock);
    scriptingSave();
}

void SimulatedBench::setClockIdentity(const QString& clockNumber, const QString& sysId)
{
    const FileLock lock = scriptingSync();
    clockNamed(clockNumber).sysId = blockBytes(systemIdentityBlock(sysIdCheck(sysId)));
    scriptingSave();
}

void SimulatedBench::setClockError(const QString& clockNumber, qint64 msecs)
{
    const FileLock lock = scriptingSync();
    if (msecs < -86400000LL * 366 || msecs > 86400000LL * 366)
        throw CorvelError(QStringLiteral("A clock error is at most a year."));
    clockNamed(clockNumber).errorMsecs = msecs;
    scriptingSave();
}

void SimulatedBench::addRing(const QString& uid, const QString& eRing, int randomCode, bool genuine)
{
    const FileLock lock = scriptingSync();
    if (!isHexText(uid, 8))
        throw CorvelError(QStringLiteral("A ring UID is 8 hexadecimal digits: %1").arg(uid));
    if (!isHexText(eRing, 8))
        throw CorvelError(QStringLiteral("An eRing number is 8 hexadecimal digits: %1").arg(eRing));
    if (randomCode < 0 || randomCode > 255)
        throw CorvelError(QStringLiteral("A random code is 0 to 255: %1").arg(randomCode));
    if (state_.ring(uid))
        throw CorvelError(QStringLiteral("The bench has a ring %1 already.").arg(uid.toUpper()));
    BenchRing ring;
    ring.uid = uid.toUpper();
    const QByteArray text = ring.uid.toLatin1();
    // A forged ring carries pages made under another key.
    const char* key = genuine ? FixedDesKey : "13572468";
    ring.pages67 = QByteArray(8, '\0');
    DesEncrypt(reinterpret_cast<std::uint8_t*>(ring.pages67.data()), reinterpret_cast<const std::uint8_t*>(text.constData()),
               reinterpret_cast<const std::uint8_t*>(key));
    ring.data = QByteArray(16, '\0');
    ::HexToBin(eRing, reinterpret_cast<std::uint8_t*>(ring.data.data()), 4);
    ring.data[4] = static_cast<char>(randomCode);
    state_.rings.append(ring);
    scriptingSave();
}

void SimulatedBench::layRing(const QString& uid)
{
    const FileLock lock = scriptingSync();
    if (!state_.ring(uid))
        throw CorvelError(QStringLiteral("There is no ring %1 on the bench.").arg(uid));
    state_.ringOnReader = uid.toUpper();
    scriptingSave();
}

void SimulatedBench::takeRing()
{
    const FileLock lock = scriptingSync();
    state_.ringOnReader.clear();
    scriptingSave();
}

void SimulatedBench::failNextReads(int count)
{
    const FileLock lock = scriptingSync();
    state_.failReads = std::max(0, count);
    scriptingSave();
}

void SimulatedBench::failNextWrites(int count)
{
    const FileLock lock = scriptingSync();
    state_.failWrites = std::max(0, count);
    scriptingSave();
}

int SimulatedBench::addArrival(const QString& clockNumber, const BenchArrival& arrival)
{
    const FileLock lock = scriptingSync();
    BenchClock& clock = clockNamed(clockNumber);
    BenchRace* race = clock.race(clock.currentRace);
    if (race == nullptr || race->kind == 0)
        throw CorvelError(QStringLiteral("Clock %1 has no race started.").arg(clockNumber));
    if (race->closed)
        throw CorvelError(QStringLiteral("Race %1 of clock %2 is closed.").arg(race->raceNo, clockNumber));
    if (!isHexText(arrival.eRing, 8))
        throw CorvelError(QStringLiteral("An eRing number is 8 hexadecimal digits: %1").arg(arrival.eRing));
    const QString eRing = arrival.eRing.toUpper();

    // The pigeon as the clock was given it: the race's tags first, then its pigeon list.
    QString tag = eRing + QStringLiteral("00000000");
    QString programmedUid = QStringLiteral("00000000");
    bool known = false;
    for (const BenchRaceTag& t : race->tags)
        if (!known && t.tag.startsWith(eRing)) {
            tag = t.tag;
            programmedUid = t.uid;
            known = true;
        }
    for (const BenchPigeon& p : clock.pigeons)
        if (!known && p.tag.startsWith(eRing)) {
            tag = p.tag;
            programmedUid = p.uid;
            known = true;
        }
    const int readCode = arrival.readCode.value_or(static_cast<int>(HexTextToWord(tag.mid(12, 2))));
    if (readCode < 0 || readCode > 255)
        throw CorvelError(QStringLiteral("A random code is 0 to 255: %1").arg(readCode));
    const QString uid = arrival.uid.value_or(programmedUid).toUpper();
    if (!isHexText(uid, 8))
        throw CorvelError(QStringLiteral("A UID is 8 hexadecimal digits: %1").arg(uid));
    // The clock's own time runs on the calendar date and time of day: no summer time.
    const QDateTime stamp = Formats::asMoment(arrival.at).addMSecs(clock.errorMsecs);
    if (!arrival.at.isValid() || stamp.date().year() <= 2000 || stamp.date().year() > 2255)
        throw CorvelError(QStringLiteral("A clock records arrivals from 2001 to 2255 only."));

    const int index = static_cast<int>(race->records.size());
    QString record = tag;
    record += arrival.position ? QStringLiteral("20") : QStringLiteral("00");
    record += QStringLiteral("000000");
    record += littleEndianHex(static_cast<std::uint32_t>(index), 2);
    record += QStringLiteral("%1").arg(readCode, 2, 16, QLatin1Char('0')).toUpper();
    record += QStringLiteral("00");
    record += timeStamp(stamp);
    record += uid;
    record += timeStamp(stamp);
    record += littleEndianHex(static_cast<std::uint32_t>(arrival.position ? arrival.position->first : 0), 4);
    record += littleEndianHex(static_cast<std::uint32_t>(arrival.position ? arrival.position->second : 0), 4);
    const QByteArray raceNo = race->raceNo.toLatin1();
    const QString code =
        race->auth.size() != 8 ? QString()
                               : recordAuthCode(record, reinterpret_cast<const std::uint8_t*>(clock.sysId.constData()), clock.number,
                                                raceNo.constData(), reinterpret_cast<const std::uint8_t*>(race->auth.constData()));
    if (code.isEmpty())
        throw CorvelError(QStringLiteral("Race %1 of clock %2 has no usable authentication.").arg(race->raceNo, clockNumber));
    race->records.append(record + code);
    scriptingSave();
    return index;
}

// ---- record authentication ----

QString SimulatedBench::recordAuthCode(const QString& first88, const std::uint8_t* sysId, const QString& clockNumber,
                                       const char* raceNo8, const std::uint8_t* auth)
{
    if (first88.size() != 88 || sysId == nullptr || raceNo8 == nullptr || auth == nullptr)
        return {};
    // CBC-MAC under the race authentication block over the record, the system identity, the
    // clock number (9 bytes, NUL padded) and the race number.
    QByteArray message(44, '\0');
    if (!::HexToBin(first88, reinterpret_cast<std::uint8_t*>(message.data()), 44))
        return {};
    message.append(reinterpret_cast<const char*>(sysId), 8);
    QByteArray number = clockNumber.left(9).toLatin1();
    number.resize(9, '\0');
    message.append(number);
    message.append(raceNo8, 8);
    while (message.size() % 8 != 0)
        message.append('\0');
    std::uint8_t chain[8] = {};
    for (qsizetype at = 0; at < message.size(); at += 8) {
        std::uint8_t block[8];
        for (int i = 0; i < 8; ++i)
            block[i] = static_cast<std::uint8_t>(chain[i] ^ static_cast<std::uint8_t>(message[at + i]));
        if (!::DesEncrypt(chain, block, auth))
            return {};
    }
    return BytesToHex(std::span<const std::uint8_t>(chain), 1, 4);
}

// ---- ports ----

std::int32_t SimulatedBench::openPort(PortKind kind, const char* name)
{
    if (!sync())
        return 0;
    const std::optional<QString> portName = textArg(name, 4096);
    if (!portName)
        return 0;
    int port = -1;
    for (int i = 0; i < 2; ++i)
        if (*portName == QStringLiteral("COM%1").arg(i + 1) || (!state_.ports[i].deviceFile.isEmpty() && *portName == state_.ports[i].deviceFile))
            port = i;
    // Nothing connected: there is no line to open.
    if (port < 0 || state_.ports[port].device == BenchDevice::None)
        return 0;
    const std::int32_t h = nextHandle_++;
    handles_[h] = Handle{port, kind, {}, false, {}};
    return h;
}

SimulatedBench::Handle* SimulatedBench::handle(PortKind kind, std::int32_t h)
{
    const auto it = handles_.find(h);
    return it == handles_.end() || it->second.kind != kind ? nullptr : &it->second;
}

bool SimulatedBench::portValid(PortKind kind, std::int32_t h)
{
    const Handle* hd = handle(kind, h);
    if (hd == nullptr || !sync())
        return false;
    const BenchPort& port = state_.ports[hd->port];
    const BenchDevice wanted = kind == PortKind::Clock ? BenchDevice::Clock : BenchDevice::RingReader;
    return !port.fault && port.device == wanted;
}

bool SimulatedBench::closePort(PortKind kind, std::int32_t h)
{
    if (handle(kind, h) == nullptr)
        return false;
    handles_.erase(h);
    return true;
}

std::int32_t SimulatedBench::IFD_OpenPort(const char* name, const char*) { return openPort(PortKind::Clock, name); }
bool SimulatedBench::IFD_IsPortValid(std::int32_t h) { return portValid(PortKind::Clock, h); }
bool SimulatedBench::IFD_ClosePort(std::int32_t h) { return closePort(PortKind::Clock, h); }
PortLibrary& SimulatedBench::PortLink() { return portLink_; }
std::int32_t SimulatedBench::PortLinkPart::IFD_OpenPort(const char* name, const char*) { return bench_.openPort(PortKind::Reader, name); }
bool SimulatedBench::PortLinkPart::IFD_IsPortValid(std::int32_t h) { return bench_.portValid(PortKind::Reader, h); }
bool SimulatedBench::PortLinkPart::IFD_ClosePort(std::int32_t h) { return bench_.closePort(PortKind::Reader, h); }

// ---- clock ----

BenchClock* SimulatedBench::connectedClock(std::int32_t h)
{
    Handle* hd = handle(PortKind::Clock, h);
    if (hd == nullptr || hd->connectedClock.isEmpty() || !portValid(PortKind::Clock, h))
        return nullptr;
    const BenchPort& port = state_.ports[hd->port];
    if (port.clock != hd->connectedClock)
        return nullptr;  // another clock was plugged in since the connection
    for (BenchClock& c : state_.clocks)
        if (c.number == port.clock)
            return &c;
    return nullptr;
}

BenchRace* SimulatedBench::clockRace(std::int32_t h, const char* raceNo, BenchClock** clockOut)
{
    BenchClock* clock = connectedClock(h);
    const std::optional<QString> number = raceNoArg(raceNo);
    if (clock == nullptr || !number)
        return nullptr;
    if (clockOut != nullptr)
        *clockOut = clock;
    return clock->race(*number);
}

bool SimulatedBench::IFD_Connect(std::int32_t h, const std::uint8_t* sysId, const std::uint8_t* sysIdCipher)
{
    Handle* hd = handle(PortKind::Clock, h);
    if (hd == nullptr || sysId == nullptr || sysIdCipher == nullptr || !portValid(PortKind::Clock, h))
        return false;
    hd->connectedClock.clear();
    const BenchClock* clock = state_.clock(state_.ports[hd->port].clock);
    if (clock == nullptr || clock->sysId.size() != 8 || std::memcmp(clock->sysId.constData(), sysId, 8) != 0)
        return false;
    DesBlock id;
    std::memcpy(id.data(), sysId, 8);
    const DesBlock cipher = systemIdentityCipher(id);
    if (std::memcmp(cipher.data(), sysIdCipher, 8) != 0)
        return false;
    hd->connectedClock = clock->number;
    hd->tagListOpen = false;
    return true;
}

bool SimulatedBench::IFD_GetDevNo(std::int32_t h, char* buffer)
{
    const BenchClock* clock = connectedClock(h);
    if (clock == nullptr || buffer == nullptr)
        return false;
    const QByteArray number = clock->number.toLatin1();
    std::memset(buffer, 0, 12);
    std::memcpy(buffer, number.constData(), static_cast<std::size_t>(std::min<qsizetype>(number.size(), 11)));
    return true;
}

bool SimulatedBench::DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) { return ::DesEncrypt(out, in, key); }
bool SimulatedBench::DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) { return ::DesDecrypt(in, out, key); }
bool SimulatedBench::HexToBin(const char* text, std::uint8_t* out, std::int32_t n) { return ::HexToBin(text, out, n); }

bool SimulatedBench::PGT_StartTag(std::int32_t h, std::int32_t)
{
    if (connectedClock(h) == nullptr)
        return false;
    Handle* hd = handle(PortKind::Clock, h);
    hd->tagListOpen = true;
    hd->pendingTags.clear();
    return true;
}

bool SimulatedBench::PGT_SetTag(std::int32_t h, const char* tag, std::int32_t, const char* uid, const char* regNo)
{
    Handle* hd = handle(PortKind::Clock, h);
    const auto tagText = textArg(tag, 16);
    const auto uidText = textArg(uid, 8);
    const auto regText = textArg(regNo, 6);
    if (connectedClock(h) == nullptr || !hd->tagListOpen || !tagText || !isHexText(*tagText, 16) || !uidText ||
        !isHexText(*uidText, 8) || !regText || regText->size() != 6)
        return false;
    hd->pendingTags.append({tagText->toUpper(), uidText->toUpper(), *regText});
    return true;
}

bool SimulatedBench::PGT_CloseTag(std::int32_t h, std::int32_t* n)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = connectedClock(h);
    Handle* hd = handle(PortKind::Clock, h);
    if (clock == nullptr || !hd->tagListOpen)
        return false;
    clock->pigeons = hd->pendingTags;
    hd->tagListOpen = false;
    hd->pendingTags.clear();
    if (n != nullptr)
        *n = static_cast<std::int32_t>(clock->pigeons.size());
    save();
    return true;
}

bool SimulatedBench::PGT_SetUploadMode(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = connectedClock(h);
    if (clock == nullptr)
        return false;
    clock->uploadMode = {a, b, c};
    save();
    return true;
}

bool SimulatedBench::PGT_SetSiteInfo(std::int32_t h, const char* site, std::int32_t lon, std::int32_t lat)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = connectedClock(h);
    const auto siteText = textArg(site, 47);
    if (clock == nullptr || !siteText)
        return false;
    clock->site = *siteText;
    clock->lon = lon;
    clock->lat = lat;
    save();
    return true;
}

bool SimulatedBench::PGT_GetSiteInfo(std::int32_t h, char* site, std::int32_t* lon, std::int32_t* lat)
{
    const BenchClock* clock = connectedClock(h);
    if (clock == nullptr || !clock->site || site == nullptr)
        return false;
    const QByteArray text = clock->site->toLatin1();
    std::memset(site, 0, 48);
    std::memcpy(site, text.constData(), static_cast<std::size_t>(std::min<qsizetype>(text.size(), 47)));
    if (lon != nullptr)
        *lon = clock->lon;
    if (lat != nullptr)
        *lat = clock->lat;
    return true;
}

bool SimulatedBench::PGT_CreateRace(std::int32_t h, const char* raceNo, const char* sysIdText)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = connectedClock(h);
    const std::optional<QString> number = raceNoArg(raceNo);
    if (clock == nullptr || !number || sysIdText == nullptr || strnlen(sysIdText, 8) != 8 ||
        std::memcmp(sysIdText, clock->sysId.constData(), 8) != 0)
        return false;
    // Creating a race the clock holds already starts it afresh.
    clock->races.removeIf([&](const BenchRace& r) { return r.raceNo == *number; });
    if (clock->currentRace == *number)
        clock->currentRace.clear();
    BenchRace race;
    race.raceNo = *number;
    clock->races.append(race);
    save();
    return true;
}

bool SimulatedBench::PGT_AddRaceTag(std::int32_t h, const char* raceNo, const char* tag, const char* uid)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchRace* race = clockRace(h, raceNo);
    const auto tagText = textArg(tag, 16);
    const auto uidText = textArg(uid, 8);
    if (race == nullptr || race->kind != 0 || !tagText || !isHexText(*tagText, 16) || !uidText || !isHexText(*uidText, 8))
        return false;
    race->tags.append({tagText->toUpper(), uidText->toUpper()});
    save();
    return true;
}

bool SimulatedBench::PGT_SetRaceDesc(std::int32_t h, const char* raceNo, const char* text)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchRace* race = clockRace(h, raceNo);
    const auto desc = textArg(text, 100);
    if (race == nullptr || !desc)
        return false;
    race->desc = *desc;
    save();
    return true;
}

bool SimulatedBench::PGT_SetRaceMode(std::int32_t h, const char* raceNo, std::int32_t mode)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchRace* race = clockRace(h, raceNo);
    if (race == nullptr)
        return false;
    race->mode = mode;
    save();
    return true;
}

bool SimulatedBench::PGT_ConfirmRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth, double now)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = nullptr;
    BenchRace* race = clockRace(h, raceNo, &clock);
    const QDateTime moment = ClockDateTime::fromDays(now);
    if (race == nullptr || auth == nullptr || !moment.isValid())
        return false;
    // The clock knows the identity it accepts, so it can check the race's authentication.
    DesBlock id;
    std::memcpy(id.data(), clock->sysId.constData(), 8);
    DesBlock expected{};
    if (!raceAuthBlock(raceNo, systemIdentityCipher(id), expected) || std::memcmp(expected.data(), auth, 8) != 0)
        return false;
    race->auth = blockBytes(expected);
    race->confirmedAt = moment;
    save();
    return true;
}

bool SimulatedBench::PGT_StartRace(std::int32_t h, const char* raceNo, std::int32_t kind)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = nullptr;
    BenchRace* race = clockRace(h, raceNo, &clock);
    if (race == nullptr || race->auth.isEmpty() || (kind != 1 && kind != 3))
        return false;
    race->kind = kind;
    clock->currentRace = race->raceNo;
    save();
    return true;
}

bool SimulatedBench::PGT_GetCurrentRace(std::int32_t h, char* raceNo, std::int32_t* n)
{
    const BenchClock* clock = connectedClock(h);
    if (clock == nullptr || clock->currentRace.size() != 8 || raceNo == nullptr)
        return false;
    std::memcpy(raceNo, clock->currentRace.toLatin1().constData(), 8);
    if (n != nullptr)
        *n = 8;
    return true;
}

bool SimulatedBench::PGT_GetRaceTagCount(std::int32_t h, const char* raceNo, std::int32_t, std::int32_t* count)
{
    const BenchRace* race = clockRace(h, raceNo);
    if (race == nullptr || count == nullptr)
        return false;
    *count = static_cast<std::int32_t>(race->records.size());
    return true;
}

bool SimulatedBench::PGT_GetRaceRecord(std::int32_t h, const char* raceNo, std::int32_t, std::int32_t index, char* record)
{
    const BenchRace* race = clockRace(h, raceNo);
    if (race == nullptr || record == nullptr || index < 0 || index >= race->records.size())
        return false;
    const QByteArray text = race->records.at(index).toLatin1().left(103);
    std::memset(record, 0, 104);
    std::memcpy(record, text.constData(), static_cast<std::size_t>(text.size()));
    return true;
}

bool SimulatedBench::PGT_CheckRecord(const char* record, const std::uint8_t* sysId, const char* clockNo, const char* raceNo,
                                     const std::uint8_t* auth)
{
    if (record == nullptr || clockNo == nullptr || !raceNoArg(raceNo))
        return false;
    const QString text = QString::fromLatin1(record, static_cast<qsizetype>(strnlen(record, 104)));
    if (text.size() < 96 || !isHexText(text.left(96), 96))
        return false;
    const QString number = QString::fromLatin1(clockNo, static_cast<qsizetype>(strnlen(clockNo, 12))).left(9);
    const QString code = recordAuthCode(text.left(88).toUpper(), sysId, number, raceNo, auth);
    return !code.isEmpty() && text.mid(88, 8).toUpper() == code;
}

bool SimulatedBench::PGT_VerifyRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth)
{
    const BenchRace* race = clockRace(h, raceNo);
    return race != nullptr && auth != nullptr && race->auth.size() == 8 && std::memcmp(race->auth.constData(), auth, 8) == 0;
}

bool SimulatedBench::PGT_CloseRace(std::int32_t h, const char* raceNo, double now)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    BenchClock* clock = nullptr;
    BenchRace* race = clockRace(h, raceNo, &clock);
    const QDateTime master = ClockDateTime::fromDays(now);
    if (race == nullptr || race->kind == 0 || !master.isValid())
        return false;
    race->closed = true;
    race->t2Auth = master;
    race->t2Device = master.addMSecs(clock->errorMsecs);  // both moments, so no summer time applies
    save();
    return true;
}

bool SimulatedBench::endOfRaceTime(std::int32_t h, const char* raceNo, QDateTime BenchRace::*moment, double* t)
{
    const BenchRace* race = clockRace(h, raceNo);
    if (race == nullptr || !race->closed || t == nullptr)
        return false;
    const std::optional<double> days = ClockDateTime::toDays(race->*moment);
    if (!days)
        return false;
    *t = *days;
    return true;
}

bool SimulatedBench::PGT_GetRaceT2Device(std::int32_t h, const char* raceNo, double* t)
{
    return endOfRaceTime(h, raceNo, &BenchRace::t2Device, t);
}

bool SimulatedBench::PGT_GetRaceT2Auth(std::int32_t h, const char* raceNo, double* t)
{
    return endOfRaceTime(h, raceNo, &BenchRace::t2Auth, t);
}

// ---- ring reader ----

const BenchRing* SimulatedBench::ringOnReader(std::int32_t h)
{
    if (!portValid(PortKind::Reader, h) || state_.ringOnReader.isEmpty())
        return nullptr;
    return state_.ring(state_.ringOnReader);
}

bool SimulatedBench::HTS_Active(std::int32_t h, std::uint8_t* uid)
{
    const BenchRing* ring = ringOnReader(h);
    return ring != nullptr && uid != nullptr && ::HexToBin(ring->uid, uid, 4);
}

bool SimulatedBench::HTS_ReadPage(std::int32_t h, std::int32_t page, std::uint8_t* buffer)
{
    const BenchRing* ring = ringOnReader(h);
    if (ring == nullptr || buffer == nullptr || page < 0 || page > 15)
        return false;
    std::memset(buffer, 0, 4);
    if (page == 0)
        ::HexToBin(ring->uid, buffer, 4);
    else if (page == 6 || page == 7)
        std::memcpy(buffer, ring->pages67.constData() + (page - 6) * 4, 4);
    else if (page >= 8 && page <= 11)
        std::memcpy(buffer, ring->data.constData() + (page - 8) * 4, 4);
    return true;
}

bool SimulatedBench::TTF_Read(std::int32_t h, std::int32_t, std::uint8_t* block)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    const BenchRing* ring = ringOnReader(h);
    if (ring == nullptr || block == nullptr)
        return false;
    if (state_.failReads > 0) {
        --state_.failReads;
        save();
        return false;
    }
    std::memcpy(block, ring->data.constData(), 16);
    return true;
}

bool SimulatedBench::HTS_ChangePigeon(std::int32_t h, const std::uint8_t* block)
{
    const FileLock lock(*this);
    if (!lock)
        return false;
    if (ringOnReader(h) == nullptr || block == nullptr)
        return false;
    if (state_.failWrites > 0) {
        --state_.failWrites;
        save();
        return false;
    }
    for (BenchRing& ring : state_.rings)
        if (ring.uid == state_.ringOnReader)
            std::memcpy(ring.data.data(), block, 5);
    save();
    return true;
}

bool SimulatedBench::SC_DoBell(std::int32_t h, std::int32_t, std::int32_t, std::int32_t)
{
    if (!portValid(PortKind::Reader, h))
        return false;
    ++bells_;
    return true;
}

bool SimulatedBench::RF_Reset(std::int32_t h, std::int32_t n)
{
    if (!portValid(PortKind::Reader, h))
        return false;
    lastReset_ = n;
    return true;
}
