#include "SimulatedBench.h"

#include "CorvelError.h"
#include "DeviceCodec.h"
#include "Moment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const char* const FormatName = "corvel-bench";
constexpr int FormatVersion = 1;

QString hexText(const QByteArray& bytes) { return BytesToHex(bytes, 1, static_cast<int>(bytes.size())); }

QString deviceName(BenchDevice d)
{
    switch (d) {
    case BenchDevice::RingReader:
        return QStringLiteral("reader");
    case BenchDevice::Clock:
        return QStringLiteral("clock");
    case BenchDevice::None:
        break;
    }
    return QStringLiteral("none");
}

QString isoText(const QDateTime& moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) : QString();
}

// Reads one JSON object of the bench file; every failure names the place and what was expected.
class Fields {
public:
    Fields(const QJsonValue& value, QString where) : where_(std::move(where))
    {
        if (!value.isObject())
            fail(QStringLiteral("an object"));
        object_ = value.toObject();
    }

    [[noreturn]] void fail(const QString& expected, const QString& key = {}) const
    {
        const QString place = key.isEmpty() ? where_ : where_ + QLatin1Char('.') + key;
        throw CorvelError(QStringLiteral("bench.json is not a valid bench file: %1 must be %2.").arg(place, expected));
    }

    bool has(const QString& key) const { return object_.contains(key) && !object_.value(key).isNull(); }

    QString text(const QString& key, int maxLength = 1000, bool required = false) const
    {
        const QJsonValue v = object_.value(key);
        if (v.isUndefined() || v.isNull()) {
            if (required)
                fail(QStringLiteral("given"), key);
            return {};
        }
        if (!v.isString() || v.toString().size() > maxLength || v.toString().contains(QChar(0)))
            fail(QStringLiteral("a text of at most %1 characters without NUL").arg(maxLength), key);
        return v.toString();
    }

    QByteArray hex(const QString& key, int bytes, bool emptyAllowed = false) const
    {
        const QString t = text(key, bytes * 2);
        if (t.isEmpty() && emptyAllowed)
            return {};
        QByteArray out(bytes, '\0');
        if (!HexToBin(t, reinterpret_cast<std::uint8_t*>(out.data()), bytes))
            fail(QStringLiteral("%1 hexadecimal digits").arg(bytes * 2), key);
        return out;
    }

    QString hexText(const QString& key, int digits) const
    {
        const QString t = text(key, digits, true).toUpper();
        if (!isHexText(t, digits))
            fail(QStringLiteral("%1 hexadecimal digits").arg(digits), key);
        return t;
    }

    qint64 integer(const QString& key, qint64 min, qint64 max) const
    {
        const QJsonValue v = object_.value(key);
        if (v.isUndefined() || v.isNull())
            return std::clamp<qint64>(0, min, max);
        // The range first: a number beyond 64 bits cannot even be converted to be compared.
        const double d = v.toDouble(-1e300);
        if (!v.isDouble() || !(d >= static_cast<double>(min) && d <= static_cast<double>(max)) || d != std::trunc(d))
            fail(QStringLiteral("a whole number from %1 to %2").arg(min).arg(max), key);
        return static_cast<qint64>(d);
    }

    bool flag(const QString& key) const
    {
        const QJsonValue v = object_.value(key);
        if (v.isUndefined() || v.isNull())
            return false;
        if (!v.isBool())
            fail(QStringLiteral("true or false"), key);
        return v.toBool();
    }

    QDateTime moment(const QString& key) const
    {
        const QString t = text(key, 40);
        if (t.isEmpty())
            return {};
        // The date and the time of day apart, so that no time zone takes part.
        const qsizetype tee = t.indexOf(QLatin1Char('T'));
        const QDateTime m = tee < 0 ? QDateTime()
                                    : Formats::moment(QDate::fromString(t.left(tee), QStringLiteral("yyyy-MM-dd")),
                                                      QTime::fromString(t.mid(tee + 1), QStringLiteral("HH:mm:ss.zzz")));
        if (!m.isValid())
            fail(QStringLiteral("a date and time as yyyy-mm-ddThh:mm:ss.zzz"), key);
        return m;
    }

    QJsonArray array(const QString& key) const
    {
        const QJsonValue v = object_.value(key);
        if (v.isUndefined() || v.isNull())
            return {};
        if (!v.isArray())
            fail(QStringLiteral("a list"), key);
        return v.toArray();
    }

    QString at(const QString& key, qsizetype i) const { return where_ + QLatin1Char('.') + key + QStringLiteral("[%1]").arg(i); }
    const QJsonObject& object() const { return object_; }

private:
    QString where_;
    QJsonObject object_;
};

}  // namespace

bool BenchRing::genuine() const
{
    const QByteArray text = uid.toLatin1();
    std::uint8_t expected[8];
    if (text.size() != 8 || pages67.size() != 8 ||
        !DesEncrypt(expected, reinterpret_cast<const std::uint8_t*>(text.constData()), reinterpret_cast<const std::uint8_t*>(FixedDesKey)))
        return false;
    return std::memcmp(expected, pages67.constData(), 8) == 0;
}

const BenchRace* BenchClock::race(const QString& raceNo) const
{
    for (const BenchRace& r : races)
        if (r.raceNo == raceNo)
            return &r;
    return nullptr;
}

BenchRace* BenchClock::race(const QString& raceNo) { return const_cast<BenchRace*>(std::as_const(*this).race(raceNo)); }

bool BenchState::validClockNumber(const QString& number)
{
    bool ok = !number.isEmpty() && number.size() <= 9;
    for (QChar c : number)
        ok = ok && c.unicode() > 0x20 && c.unicode() < 0x7f;
    return ok;
}

bool BenchState::validRaceNumber(const QString& raceNo)
{
    bool ok = raceNo.size() == 8;
    for (QChar c : raceNo)
        ok = ok && c.unicode() >= 0x20 && c.unicode() <= 0x7e;
    return ok;
}

BenchState::BenchState()
{
    ports[0].deviceFile = QStringLiteral("/dev/ttyS0");
    ports[1].deviceFile = QStringLiteral("/dev/ttyS1");
}

const BenchRing* BenchState::ring(const QString& uid) const
{
    for (const BenchRing& r : rings)
        if (r.uid.compare(uid, Qt::CaseInsensitive) == 0)
            return &r;
    return nullptr;
}

const BenchClock* BenchState::clock(const QString& number) const
{
    for (const BenchClock& c : clocks)
        if (c.number == number)
            return &c;
    return nullptr;
}

QByteArray BenchState::toJson() const
{
    QJsonObject root;
    root[QStringLiteral("format")] = QString::fromLatin1(FormatName);
    root[QStringLiteral("version")] = FormatVersion;
    QJsonObject portsObject;
    for (int i = 0; i < 2; ++i) {
        QJsonObject p;
        p[QStringLiteral("deviceFile")] = ports[i].deviceFile;
        p[QStringLiteral("device")] = deviceName(ports[i].device);
        if (ports[i].device == BenchDevice::Clock)
            p[QStringLiteral("clock")] = ports[i].clock;
        p[QStringLiteral("fault")] = ports[i].fault;
        portsObject[QStringLiteral("COM%1").arg(i + 1)] = p;
    }
    root[QStringLiteral("ports")] = portsObject;

    QJsonObject reader;
    reader[QStringLiteral("ringOnReader")] = ringOnReader;
    reader[QStringLiteral("failReads")] = failReads;
    reader[QStringLiteral("failWrites")] = failWrites;
    root[QStringLiteral("reader")] = reader;

    QJsonArray ringArray;
    for (const BenchRing& r : rings) {
        QJsonObject o;
        o[QStringLiteral("uid")] = r.uid;
        o[QStringLiteral("pages67")] = hexText(r.pages67);
        o[QStringLiteral("data")] = hexText(r.data);
        o[QStringLiteral("genuine")] = r.genuine();  // for the reader of the file; not read back
        ringArray.append(o);
    }
    root[QStringLiteral("rings")] = ringArray;

    QJsonArray clockArray;
    for (const BenchClock& c : clocks) {
        QJsonObject o;
        o[QStringLiteral("number")] = c.number;
        o[QStringLiteral("sysId")] = hexText(c.sysId);
        o[QStringLiteral("errorMsecs")] = c.errorMsecs;
        o[QStringLiteral("site")] = c.site ? QJsonValue(*c.site) : QJsonValue();
        o[QStringLiteral("lon")] = c.lon;
        o[QStringLiteral("lat")] = c.lat;
        QJsonArray mode;
        for (int m : c.uploadMode)
            mode.append(m);
        o[QStringLiteral("uploadMode")] = mode;
        QJsonArray pigeons;
        for (const BenchPigeon& p : c.pigeons)
            pigeons.append(QJsonObject{{QStringLiteral("tag"), p.tag}, {QStringLiteral("uid"), p.uid}, {QStringLiteral("regNo"), p.regNo}});
        o[QStringLiteral("pigeons")] = pigeons;
        o[QStringLiteral("currentRace")] = c.currentRace;
        QJsonArray races;
        for (const BenchRace& r : c.races) {
            QJsonObject ro;
            ro[QStringLiteral("raceNo")] = r.raceNo;
            ro[QStringLiteral("desc")] = r.desc;
            ro[QStringLiteral("mode")] = r.mode;
            ro[QStringLiteral("auth")] = hexText(r.auth);
            ro[QStringLiteral("confirmedAt")] = isoText(r.confirmedAt);
            ro[QStringLiteral("kind")] = r.kind;
            ro[QStringLiteral("closed")] = r.closed;
            ro[QStringLiteral("t2Device")] = isoText(r.t2Device);
            ro[QStringLiteral("t2Auth")] = isoText(r.t2Auth);
            QJsonArray tags;
            for (const BenchRaceTag& t : r.tags)
                tags.append(QJsonObject{{QStringLiteral("tag"), t.tag}, {QStringLiteral("uid"), t.uid}});
            ro[QStringLiteral("tags")] = tags;
            ro[QStringLiteral("records")] = QJsonArray::fromStringList(r.records);
            races.append(ro);
        }
        o[QStringLiteral("races")] = races;
        clockArray.append(o);
    }
    root[QStringLiteral("clocks")] = clockArray;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

BenchState BenchState::fromJson(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw CorvelError(QStringLiteral("bench.json is not a valid bench file: %1 at character %2.")
                              .arg(error.errorString())
                              .arg(error.offset));
    const Fields root(document.object(), QStringLiteral("the file"));
    if (!document.isObject() || root.text(QStringLiteral("format")) != QLatin1String(FormatName))
        root.fail(QStringLiteral("marked \"format\": \"corvel-bench\""));
    if (root.integer(QStringLiteral("version"), 1, FormatVersion) != FormatVersion)
        root.fail(QStringLiteral("of version %1").arg(FormatVersion), QStringLiteral("version"));

    BenchState state;
    // Seen keys, so that the duplicate checks stay linear in the size of the file.
    QSet<QString> ringUids;
    QSet<QString> clockNumbers;
    if (root.has(QStringLiteral("ports"))) {
        const Fields ports(root.object().value(QStringLiteral("ports")), QStringLiteral("ports"));
        for (int i = 0; i < 2; ++i) {
            const QString name = QStringLiteral("COM%1").arg(i + 1);
            if (!ports.has(name))
                continue;
            const Fields p(ports.object().value(name), QStringLiteral("ports.") + name);
            BenchPort& port = state.ports[i];
            if (p.has(QStringLiteral("deviceFile")))
                port.deviceFile = p.text(QStringLiteral("deviceFile"), 4096);
            const QString device = p.text(QStringLiteral("device"), 10);
            if (device == QLatin1String("reader"))
                port.device = BenchDevice::RingReader;
            else if (device == QLatin1String("clock"))
                port.device = BenchDevice::Clock;
            else if (device.isEmpty() || device == QLatin1String("none"))
                port.device = BenchDevice::None;
            else
                p.fail(QStringLiteral("none, reader or clock"), QStringLiteral("device"));
            if (port.device == BenchDevice::Clock)
                port.clock = p.text(QStringLiteral("clock"), 9, true);
            port.fault = p.flag(QStringLiteral("fault"));
        }
    }
    if (root.has(QStringLiteral("reader"))) {
        const Fields r(root.object().value(QStringLiteral("reader")), QStringLiteral("reader"));
        state.ringOnReader = r.text(QStringLiteral("ringOnReader"), 8).toUpper();
        state.failReads = static_cast<int>(r.integer(QStringLiteral("failReads"), 0, 1000000));
        state.failWrites = static_cast<int>(r.integer(QStringLiteral("failWrites"), 0, 1000000));
    }
    const QJsonArray rings = root.array(QStringLiteral("rings"));
    for (qsizetype i = 0; i < rings.size(); ++i) {
        const Fields f(rings.at(i), root.at(QStringLiteral("rings"), i));
        BenchRing ring;
        ring.uid = f.hexText(QStringLiteral("uid"), 8);
        ring.pages67 = f.hex(QStringLiteral("pages67"), 8);
        ring.data = f.hex(QStringLiteral("data"), 16);
        if (ringUids.contains(ring.uid))
            f.fail(QStringLiteral("a UID that no other ring has"), QStringLiteral("uid"));
        ringUids.insert(ring.uid);
        state.rings.append(ring);
    }
    const QJsonArray clocks = root.array(QStringLiteral("clocks"));
    for (qsizetype i = 0; i < clocks.size(); ++i) {
        const Fields f(clocks.at(i), root.at(QStringLiteral("clocks"), i));
        BenchClock clock;
        clock.number = f.text(QStringLiteral("number"), 9, true);
        if (!validClockNumber(clock.number) || clockNumbers.contains(clock.number))
            f.fail(QStringLiteral("1 to 9 plain characters without blanks that no other clock has"), QStringLiteral("number"));
        clockNumbers.insert(clock.number);
        clock.sysId = f.hex(QStringLiteral("sysId"), 8);
        clock.errorMsecs = f.integer(QStringLiteral("errorMsecs"), -86400000LL * 366, 86400000LL * 366);
        if (f.has(QStringLiteral("site")))
            clock.site = f.text(QStringLiteral("site"), 47);
        clock.lon = static_cast<std::int32_t>(f.integer(QStringLiteral("lon"), INT32_MIN, INT32_MAX));
        clock.lat = static_cast<std::int32_t>(f.integer(QStringLiteral("lat"), INT32_MIN, INT32_MAX));
        // As PGT_SetUploadMode sets it: none, or three whole numbers of 32 bits.
        const QJsonArray uploadMode = f.array(QStringLiteral("uploadMode"));
        for (const QJsonValue& m : uploadMode) {
            const double d = m.toDouble(0.5);
            if (!m.isDouble() || d != std::trunc(d) || d < INT32_MIN || d > INT32_MAX || (uploadMode.size() != 3))
                f.fail(QStringLiteral("empty or a list of three whole numbers from %1 to %2").arg(INT32_MIN).arg(INT32_MAX),
                       QStringLiteral("uploadMode"));
            clock.uploadMode.append(static_cast<int>(d));
        }
        const QJsonArray pigeons = f.array(QStringLiteral("pigeons"));
        for (qsizetype k = 0; k < pigeons.size(); ++k) {
            const Fields p(pigeons.at(k), f.at(QStringLiteral("pigeons"), k));
            clock.pigeons.append({p.hexText(QStringLiteral("tag"), 16), p.hexText(QStringLiteral("uid"), 8),
                                  p.text(QStringLiteral("regNo"), 6)});
        }
        clock.currentRace = f.text(QStringLiteral("currentRace"), 8);
        const QJsonArray races = f.array(QStringLiteral("races"));
        QSet<QString> raceNumbers;
        for (qsizetype k = 0; k < races.size(); ++k) {
            const Fields r(races.at(k), f.at(QStringLiteral("races"), k));
            BenchRace race;
            race.raceNo = r.text(QStringLiteral("raceNo"), 8, true);
            if (!validRaceNumber(race.raceNo) || raceNumbers.contains(race.raceNo))
                r.fail(QStringLiteral("8 printable characters that no other race of the clock has"), QStringLiteral("raceNo"));
            raceNumbers.insert(race.raceNo);
            race.desc = r.text(QStringLiteral("desc"), 100);
            race.mode = static_cast<int>(r.integer(QStringLiteral("mode"), INT32_MIN, INT32_MAX));
            race.auth = r.hex(QStringLiteral("auth"), 8, true);
            race.confirmedAt = r.moment(QStringLiteral("confirmedAt"));
            race.kind = static_cast<int>(r.integer(QStringLiteral("kind"), INT32_MIN, INT32_MAX));
            if (race.kind != 0 && race.kind != 1 && race.kind != 3)
                r.fail(QStringLiteral("0 (not started), 1 (a training) or 3 (a race)"), QStringLiteral("kind"));
            // A race is started only after its confirmation, so a started race has its block.
            if (race.kind != 0 && race.auth.isEmpty())
                r.fail(QStringLiteral("16 hexadecimal digits in a started race"), QStringLiteral("auth"));
            race.closed = r.flag(QStringLiteral("closed"));
            if (race.closed && race.kind == 0)
                r.fail(QStringLiteral("false in a race that was not started"), QStringLiteral("closed"));
            race.t2Device = r.moment(QStringLiteral("t2Device"));
            race.t2Auth = r.moment(QStringLiteral("t2Auth"));
            // The end-of-race check sets both times when it closes a race.
            const QString endOfRaceTime = QStringLiteral("a date and time as yyyy-mm-ddThh:mm:ss.zzz in a closed race");
            if (race.closed && !ClockDateTime::toDays(race.t2Device))
                r.fail(endOfRaceTime, QStringLiteral("t2Device"));
            if (race.closed && !ClockDateTime::toDays(race.t2Auth))
                r.fail(endOfRaceTime, QStringLiteral("t2Auth"));
            const QJsonArray tags = r.array(QStringLiteral("tags"));
            for (qsizetype t = 0; t < tags.size(); ++t) {
                const Fields tf(tags.at(t), r.at(QStringLiteral("tags"), t));
                race.tags.append({tf.hexText(QStringLiteral("tag"), 16), tf.hexText(QStringLiteral("uid"), 8)});
            }
            for (const QJsonValue& rec : r.array(QStringLiteral("records"))) {
                // Records are kept as the clock wrote them; a changed one fails its authentication.
                if (!rec.isString() || rec.toString().size() > 103)
                    r.fail(QStringLiteral("a list of texts of at most 103 characters"), QStringLiteral("records"));
                race.records.append(rec.toString());
            }
            clock.races.append(race);
        }
        if (!clock.currentRace.isEmpty() && !clock.race(clock.currentRace))
            f.fail(QStringLiteral("the number of one of its races"), QStringLiteral("currentRace"));
        state.clocks.append(clock);
    }
    for (const BenchPort& port : state.ports)
        if (port.device == BenchDevice::Clock && !clockNumbers.contains(port.clock))
            root.fail(QStringLiteral("a clock listed under clocks"), QStringLiteral("ports: clock ") + port.clock);
    if (!state.ringOnReader.isEmpty() && !ringUids.contains(state.ringOnReader))
        root.fail(QStringLiteral("a ring listed under rings"), QStringLiteral("reader.ringOnReader"));
    return state;
}
