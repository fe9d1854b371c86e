#pragma once

#include "ClockLibrary.h"
#include "RingReaderLibrary.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <memory>
#include <optional>

class QLockFile;

// What lies on the bench: COM1 and COM2, each with nothing, the ring reader or one clock
// connected; the rings the reader can be given; the clocks with their pigeons, races and arrival
// records. It is plain data, kept in bench.json between runs.
struct BenchRing {
    QString uid;         // 8 hexadecimal digits
    QByteArray pages67;  // 8 bytes: memory pages 6 and 7
    QByteArray data;     // 16 bytes: the data block (eRing number, random code, unused bytes)
    // A genuine ring's pages 6 and 7 are the DES of its UID text under the fixed key.
    bool genuine() const;
};

struct BenchPigeon {
    QString tag;  // 16 hexadecimal digits
    QString uid;
    QString regNo;
};

struct BenchRaceTag {
    QString tag;
    QString uid;
};

struct BenchRace {
    QString raceNo;  // 8 characters
    QString desc;
    int mode = 0;
    QByteArray auth;         // the confirmed authentication block; empty until confirmed
    QDateTime confirmedAt;   // master time given with the confirmation
    int kind = 0;            // 1 training, 3 race; 0 until started
    bool closed = false;     // only a started race is closed, and then both end-of-race times are set
    QDateTime t2Device;      // end-of-race check: the clock's own time
    QDateTime t2Auth;        // and the master time
    QList<BenchRaceTag> tags;
    QStringList records;     // arrival records, 96 hexadecimal digits each
};

struct BenchClock {
    QString number;            // 1 to 9 characters
    QByteArray sysId;          // 8 bytes: the system identity it accepts
    qint64 errorMsecs = 0;     // how far the clock runs ahead of the master time
    std::optional<QString> site;
    std::int32_t lon = 0;
    std::int32_t lat = 0;
    QList<int> uploadMode;
    QList<BenchPigeon> pigeons;
    QString currentRace;
    QList<BenchRace> races;

    const BenchRace* race(const QString& raceNo) const;
    BenchRace* race(const QString& raceNo);
};

enum class BenchDevice { None, RingReader, Clock };

struct BenchPort {
    QString deviceFile;        // the device file that ZAVR.ini maps the port to
    BenchDevice device = BenchDevice::None;
    QString clock;             // the clock's number when a clock is connected
    bool fault = false;        // the port opens but nothing answers
};

struct BenchState {
    BenchPort ports[2];
    QList<BenchRing> rings;
    QString ringOnReader;      // UID of the ring lying on the reader; empty for none
    int failReads = 0;         // so many next data block reads fail
    int failWrites = 0;        // so many next data block writes fail
    QList<BenchClock> clocks;

    BenchState();
    const BenchRing* ring(const QString& uid) const;
    const BenchClock* clock(const QString& number) const;

    // A clock number is 1 to 9 plain characters without blanks; a race number exactly 8
    // printable characters.
    static bool validClockNumber(const QString& number);
    static bool validRaceNumber(const QString& raceNo);

    QByteArray toJson() const;
    // Throws CorvelError naming what is wrong when json is not a valid bench file.
    static BenchState fromJson(const QByteArray& json);
};

// One arrival given to a clock's current race.
struct BenchArrival {
    QString eRing;                 // 8 hexadecimal digits
    QDateTime at;                  // the true moment; the clock stamps it with its own error added
    std::optional<int> readCode;   // code read from the ring; default: the code programmed with the pigeon
    std::optional<QString> uid;    // UID read; default: the UID programmed with the pigeon ("00000000" for none)
    std::optional<std::pair<std::int32_t, std::int32_t>> position;  // arrival longitude and latitude
};

// A simulated bench that behaves as real hardware does towards the program. Without a state file
// it lives in memory; with one, every call first takes up changes that another program (such as
// corvel-bench) made to the file, and every change is written back at once, atomically. A change
// holds the lock file "<state file>.lock" from reading the file to writing it, so that programs
// changing the bench at the same time never lose each other's changes.
// A state file that is not valid is never overwritten: the hardware then does not answer and the
// scripting functions throw its error.
class SimulatedBench : public ClockLibrary, public RingReaderLibrary {
public:
    SimulatedBench();
    // Throws CorvelError when the file exists but is not a valid bench file, unless
    // refuseInvalidFile is false: the hardware then stays silent until the file is mended.
    explicit SimulatedBench(const QString& stateFile, bool refuseInvalidFile = true);
    ~SimulatedBench() override;

    // ---- scripting (ports are 1 and 2; bad input throws CorvelError and changes nothing) ----
    const BenchState& state();
    void connectRingReader(int port);
    void connectClock(int port, const QString& clockNumber);
    void disconnect(int port);
    void setPortFault(int port, bool fault);
    // sysId: the SysID text as in ZAVR.ini (first 8 characters, or padded with "0").
    void addClock(const QString& clockNumber, const QString& sysId);
    void setClockIdentity(const QString& clockNumber, const QString& sysId);
    void setClockError(const QString& clockNumber, qint64 msecs);
    void addRing(const QString& uid, const QString& eRing, int randomCode, bool genuine = true);
    void layRing(const QString& uid);
    void takeRing();
    void failNextReads(int count);
    void failNextWrites(int count);
    // Adds an arrival to the clock's current race; returns the record's index.
    int addArrival(const QString& clockNumber, const BenchArrival& arrival);
    int bellCount() const { return bells_; }
    int lastReset() const { return lastReset_; }

    // ---- PortLibrary (the clock's port) ----
    std::int32_t IFD_OpenPort(const char* name, const char* settings) override;
    bool IFD_IsPortValid(std::int32_t h) override;
    bool IFD_ClosePort(std::int32_t h) override;

    // ---- ClockLibrary ----
    PortLibrary& PortLink() override;
    bool IFD_Connect(std::int32_t h, const std::uint8_t* sysId, const std::uint8_t* sysIdCipher) override;
    bool IFD_GetDevNo(std::int32_t h, char* buffer) override;
    bool DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) override;
    bool DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) override;
    bool HexToBin(const char* text, std::uint8_t* out, std::int32_t n) override;
    bool PGT_StartTag(std::int32_t h, std::int32_t zero) override;
    bool PGT_SetTag(std::int32_t h, const char* tag, std::int32_t zero, const char* uid, const char* regNo) override;
    bool PGT_CloseTag(std::int32_t h, std::int32_t* n) override;
    bool PGT_SetUploadMode(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) override;
    bool PGT_SetSiteInfo(std::int32_t h, const char* site, std::int32_t lon, std::int32_t lat) override;
    bool PGT_GetSiteInfo(std::int32_t h, char* site, std::int32_t* lon, std::int32_t* lat) override;
    bool PGT_CreateRace(std::int32_t h, const char* raceNo, const char* sysIdText) override;
    bool PGT_AddRaceTag(std::int32_t h, const char* raceNo, const char* tag, const char* uid) override;
    bool PGT_SetRaceDesc(std::int32_t h, const char* raceNo, const char* text) override;
    bool PGT_SetRaceMode(std::int32_t h, const char* raceNo, std::int32_t mode) override;
    bool PGT_ConfirmRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth, double now) override;
    bool PGT_StartRace(std::int32_t h, const char* raceNo, std::int32_t kind) override;
    bool PGT_GetCurrentRace(std::int32_t h, char* raceNo, std::int32_t* n) override;
    bool PGT_GetRaceTagCount(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t* count) override;
    bool PGT_GetRaceRecord(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t index, char* record) override;
    bool PGT_CheckRecord(const char* record, const std::uint8_t* sysId, const char* clockNo, const char* raceNo,
                         const std::uint8_t* auth) override;
    bool PGT_VerifyRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth) override;
    bool PGT_CloseRace(std::int32_t h, const char* raceNo, double now) override;
    bool PGT_GetRaceT2Device(std::int32_t h, const char* raceNo, double* t) override;
    bool PGT_GetRaceT2Auth(std::int32_t h, const char* raceNo, double* t) override;

    // ---- RingReaderLibrary ----
    bool HTS_Active(std::int32_t h, std::uint8_t* uid) override;
    bool HTS_ReadPage(std::int32_t h, std::int32_t page, std::uint8_t* buffer) override;
    bool TTF_Read(std::int32_t h, std::int32_t zero, std::uint8_t* block) override;
    bool HTS_ChangePigeon(std::int32_t h, const std::uint8_t* block) override;
    bool SC_DoBell(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) override;
    bool RF_Reset(std::int32_t h, std::int32_t n) override;

    // The authentication code (8 hexadecimal digits) of a record's first 88 digits, as a clock
    // computes it and PGT_CheckRecord verifies it; empty when it cannot be computed.
    static QString recordAuthCode(const QString& first88, const std::uint8_t* sysId, const QString& clockNumber,
                                  const char* raceNo8, const std::uint8_t* auth);

private:
    enum class PortKind { Clock, Reader };
    struct Handle {
        int port = 0;
        PortKind kind = PortKind::Clock;
        QString connectedClock;
        bool tagListOpen = false;
        QList<BenchPigeon> pendingTags;
    };
    class PortLinkPart : public PortLibrary {
    public:
        explicit PortLinkPart(SimulatedBench& bench) : bench_(bench) {}
        std::int32_t IFD_OpenPort(const char* name, const char* settings) override;
        bool IFD_IsPortValid(std::int32_t h) override;
        bool IFD_ClosePort(std::int32_t h) override;

    private:
        SimulatedBench& bench_;
    };

    // Holds the state file's lock for one read-change-write; nested holders share the outer lock.
    // False when another program kept it for LockWaitMsecs: a device call then fails.
    class FileLock {
    public:
        explicit FileLock(SimulatedBench& bench);
        FileLock(FileLock&& other) noexcept;
        ~FileLock();
        FileLock(const FileLock&) = delete;
        FileLock& operator=(const FileLock&) = delete;
        FileLock& operator=(FileLock&&) = delete;
        explicit operator bool() const { return bench_ != nullptr; }

    private:
        SimulatedBench* bench_;
    };
    static constexpr int LockWaitMsecs = 10000;

    bool sync();
    // Writes the state file; a device call that cannot write keeps its change in memory.
    bool save(QString* error = nullptr);
    // Takes the lock and the file's changes for a scripting call; throws when either fails.
    [[nodiscard]] FileLock scriptingSync();
    void scriptingSave();
    std::int32_t openPort(PortKind kind, const char* name);
    bool portValid(PortKind kind, std::int32_t h);
    bool closePort(PortKind kind, std::int32_t h);
    Handle* handle(PortKind kind, std::int32_t h);
    BenchClock* connectedClock(std::int32_t h);
    BenchRace* clockRace(std::int32_t h, const char* raceNo, BenchClock** clock = nullptr);
    // One end-of-race time of a closed race in days; false when the race has none to give.
    bool endOfRaceTime(std::int32_t h, const char* raceNo, QDateTime BenchRace::*moment, double* t);
    const BenchRing* ringOnReader(std::int32_t h);
    BenchClock& clockNamed(const QString& number);
    static int checkedPort(int port);

    QString stateFile_;
    std::unique_ptr<QLockFile> lockFile_;
    int lockDepth_ = 0;
    QByteArray lastFileBytes_;
    QString brokenFile_;  // the error of a state file that could not be read
    BenchState state_;
    std::map<std::int32_t, Handle> handles_;
    std::int32_t nextHandle_ = 0x101;
    PortLinkPart portLink_;
    int bells_ = 0;
    int lastReset_ = -1;
};
