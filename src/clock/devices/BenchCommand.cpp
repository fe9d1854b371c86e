#include "BenchCommand.h"

#include "CorvelError.h"
#include "DataFolder.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "Moment.h"
#include "SettingsFile.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"

#include <QSettings>
#include <QTextStream>

#include <cmath>

namespace {

const char* const Usage =
    "Usage: corvel-bench [--data-dir DIR] COMMAND\n"
    "Shows and changes the simulated ring reader and clocks (bench.json in the data folder).\n"
    "\n"
    "  show                              what is on the bench (the default)\n"
    "  reader COM1|COM2                  connect the ring reader to a port\n"
    "  connect COM1|COM2 CLOCK           connect a clock to a port\n"
    "  disconnect COM1|COM2              leave a port empty\n"
    "  fault COM1|COM2 on|off            a port that opens but does not answer\n"
    "  clock add CLOCK [SYSID]           a new clock accepting SYSID (default: SysID of ZAVR.ini)\n"
    "  clock identity CLOCK SYSID        change the system identity a clock accepts\n"
    "  clock error CLOCK SECONDS         the clock runs SECONDS fast (negative: slow)\n"
    "  ring add UID ERING CODE [forged]  a new ring: UID and eRing 8 hex digits, CODE 2 hex digits\n"
    "  ring lay UID                      lay a ring on the reader\n"
    "  ring take                         take the ring away\n"
    "  ring fail-reads N                 the next N data block reads fail\n"
    "  ring fail-writes N                the next N data block writes fail\n"
    "  arrive CLOCK ERING \"yyyy/mm/dd hh:nn:ss[.zzz]\" [code=HH] [uid=UID] [position=LON,LAT]\n"
    "                                    an arrival in the clock's current race, at the true\n"
    "                                    time (the clock adds its error); code and uid default\n"
    "                                    to what the clock was given with the pigeon\n";

class UsageError : public CorvelError {
public:
    using CorvelError::CorvelError;
};

int portNumber(const QString& name)
{
    if (name.compare(QLatin1String("COM1"), Qt::CaseInsensitive) == 0)
        return 1;
    if (name.compare(QLatin1String("COM2"), Qt::CaseInsensitive) == 0)
        return 2;
    throw UsageError(QStringLiteral("A port is COM1 or COM2, not \"%1\".").arg(name));
}

int wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("\"%1\" is not a number.").arg(text));
    return value;
}

// A random code: exactly 2 hexadecimal digits.
int codeNumber(const QString& text)
{
    if (!isHexText(text, 2))
        throw UsageError(QStringLiteral("\"%1\" is not a number: a code is 2 hexadecimal digits.").arg(text));
    return HexTextToWord(text);
}

void expectCount(const QStringList& words, qsizetype min, qsizetype max)
{
    if (words.size() < min || words.size() > max)
        throw UsageError(QStringLiteral("Wrong number of words for \"%1\".").arg(words.join(QLatin1Char(' '))));
}

// A text of the bench file as it can be shown on a terminal: control characters (which could move
// the cursor, clear the screen or end the line) and the backslash appear as escapes.
QString shown(const QString& text)
{
    QString out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            out += QStringLiteral("\\\\");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString sysIdText(const QByteArray& block)
{
    QString text;
    for (char c : block)
        text += (c >= 0x20 && c < 0x7f) ? QLatin1Char(c) : QLatin1Char('?');
    return text;
}

QString stampText(const QString& hex)
{
    try {
        return TPigModuV6::ClockTimeToText(hex);
    } catch (const CorvelError&) {
        return QStringLiteral("(not a time: %1)").arg(hex);
    }
}

void show(SimulatedBench& bench, const QString& path, QTextStream& out)
{
    const BenchState& s = bench.state();
    out << "Bench file: " << shown(path) << "\n";
    for (int i = 0; i < 2; ++i) {
        const BenchPort& p = s.ports[i];
        out << "COM" << (i + 1) << " (" << shown(p.deviceFile) << "): ";
        if (p.device == BenchDevice::RingReader)
            out << "ring reader";
        else if (p.device == BenchDevice::Clock)
            out << "clock " << shown(p.clock);
        else
            out << "nothing";
        if (p.fault)
            out << ", faulty";
        out << "\n";
    }
    out << "Ring on the reader: " << (s.ringOnReader.isEmpty() ? QStringLiteral("none") : shown(s.ringOnReader)) << "\n";
    if (s.failReads > 0 || s.failWrites > 0)
        out << "Failures to come: " << s.failReads << " read(s), " << s.failWrites << " write(s)\n";
    out << "Rings: " << s.rings.size() << "\n";
    for (const BenchRing& r : s.rings)
        out << "  " << r.uid << "  eRing " << BytesToHex(r.data, 1, 4) << "  code " << BytesToHex(r.data, 5, 1) << "  "
            << (r.genuine() ? "genuine" : "forged") << "\n";
    out << "Clocks: " << s.clocks.size() << "\n";
    for (const BenchClock& c : s.clocks) {
        out << "  " << shown(c.number) << "  identity " << sysIdText(c.sysId) << "  error "
            << QString::number(static_cast<double>(c.errorMsecs) / 1000.0, 'f', 3) << " s  site "
            << (c.site ? shown(*c.site) : QStringLiteral("(none)")) << "  pigeons " << c.pigeons.size() << "\n";
        for (const BenchRace& r : c.races) {
            out << "    race " << shown(r.raceNo) << " \"" << shown(r.desc) << "\" "
                << (r.kind == 1 ? "training" : r.kind == 3 ? "race" : "not started") << (r.closed ? ", closed" : "")
                << (r.raceNo == c.currentRace ? ", current" : "") << ", " << r.records.size() << " record(s)\n";
            for (const QString& rec : r.records)
                out << "      " << shown(rec.left(8)) << " code " << shown(rec.mid(28, 2)) << " uid " << shown(rec.mid(48, 8))
                    << " at " << shown(stampText(rec.mid(32, 16))) << "\n";
        }
    }
}

BenchArrival parseArrival(const QStringList& w)
{
    BenchArrival arrival;
    arrival.eRing = w.at(2);
    const QString at = w.at(3);
    // Seconds may carry one to three decimals.
    const qsizetype point = at.indexOf(QLatin1Char('.'));
    const QString fraction = point < 0 ? QString() : at.mid(point + 1);
    bool fractionOk = point < 0 || (!fraction.isEmpty() && fraction.size() <= 3);
    for (QChar c : fraction)
        fractionOk = fractionOk && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const QDate date = QDate::fromString(at.left(10), QStringLiteral("yyyy/MM/dd"));
    const QTime time = QTime::fromString(at.mid(11, point < 0 ? -1 : point - 11), QStringLiteral("HH:mm:ss"));
    if (fractionOk && at.size() >= 19 && date.isValid() && time.isValid() && at.at(10) == QLatin1Char(' '))
        arrival.at = Formats::moment(date, time.addMSecs(fraction.isEmpty() ? 0 : (fraction + QStringLiteral("00")).left(3).toInt()));
    if (!arrival.at.isValid())
        throw UsageError(QStringLiteral("\"%1\" is not a time as yyyy/mm/dd hh:nn:ss[.zzz].").arg(at));
    for (const QString& option : w.mid(4)) {
        if (option.startsWith(QLatin1String("code="))) {
            arrival.readCode = codeNumber(option.mid(5));
        } else if (option.startsWith(QLatin1String("uid="))) {
            arrival.uid = option.mid(4);
        } else if (option.startsWith(QLatin1String("position="))) {
            const QStringList parts = option.mid(9).split(QLatin1Char(','));
            if (parts.size() != 2)
                throw UsageError(QStringLiteral("A position is LON,LAT in thousandths of an arc second."));
            arrival.position = std::make_pair(wholeNumber(parts.at(0)), wholeNumber(parts.at(1)));
        } else {
            throw UsageError(QStringLiteral("Unknown option \"%1\".").arg(option));
        }
    }
    return arrival;
}

void run(const QStringList& w, SimulatedBench& bench, const DataFolder& folder, QTextStream& out)
{
    const QString command = w.value(0, QStringLiteral("show"));
    const QString sub = w.value(1);
    if (command == QLatin1String("show")) {
        expectCount(w, 0, 1);
        show(bench, DeviceLibraries::benchPath(folder), out);
    } else if (command == QLatin1String("reader")) {
        expectCount(w, 2, 2);
        bench.connectRingReader(portNumber(sub));
        out << "The ring reader is on " << sub.toUpper() << ".\n";
    } else if (command == QLatin1String("connect")) {
        expectCount(w, 3, 3);
        bench.connectClock(portNumber(sub), w.at(2));
        out << "Clock " << w.at(2) << " is on " << sub.toUpper() << ".\n";
    } else if (command == QLatin1String("disconnect")) {
        expectCount(w, 2, 2);
        bench.disconnect(portNumber(sub));
        out << sub.toUpper() << " is empty.\n";
    } else if (command == QLatin1String("fault")) {
        expectCount(w, 3, 3);
        if (w.at(2) != QLatin1String("on") && w.at(2) != QLatin1String("off"))
            throw UsageError(QStringLiteral("fault takes on or off."));
        bench.setPortFault(portNumber(sub), w.at(2) == QLatin1String("on"));
        out << sub.toUpper() << (w.at(2) == QLatin1String("on") ? " does not answer.\n" : " answers.\n");
    } else if (command == QLatin1String("clock") && sub == QLatin1String("add")) {
        expectCount(w, 3, 4);
        bench.addClock(w.at(2), w.size() > 3 ? w.at(3) : iniSysId(folder.iniPath()));
        out << "Clock " << w.at(2) << " is on the bench.\n";
    } else if (command == QLatin1String("clock") && sub == QLatin1String("identity")) {
        expectCount(w, 4, 4);
        bench.setClockIdentity(w.at(2), w.at(3));
        out << "Clock " << w.at(2) << " accepts the identity " << w.at(3) << ".\n";
    } else if (command == QLatin1String("clock") && sub == QLatin1String("error")) {
        expectCount(w, 4, 4);
        bool ok = false;
        const double seconds = w.at(3).toDouble(&ok);
        if (!ok || !std::isfinite(seconds))
            throw UsageError(QStringLiteral("\"%1\" is not a number of seconds.").arg(w.at(3)));
        bench.setClockError(w.at(2), std::llround(seconds * 1000.0));
        out << "Clock " << w.at(2) << " runs " << w.at(3) << " s fast.\n";
    } else if (command == QLatin1String("ring") && sub == QLatin1String("add")) {
        expectCount(w, 5, 6);
        if (w.size() == 6 && w.at(5) != QLatin1String("forged"))
            throw UsageError(QStringLiteral("Unknown word \"%1\".").arg(w.at(5)));
        bench.addRing(w.at(2), w.at(3), codeNumber(w.at(4)), w.size() == 5);
        out << "Ring " << w.at(2).toUpper() << " is on the bench.\n";
    } else if (command == QLatin1String("ring") && sub == QLatin1String("lay")) {
        expectCount(w, 3, 3);
        bench.layRing(w.at(2));
        out << "Ring " << w.at(2).toUpper() << " lies on the reader.\n";
    } else if (command == QLatin1String("ring") && sub == QLatin1String("take")) {
        expectCount(w, 2, 2);
        bench.takeRing();
        out << "The reader is empty.\n";
    } else if (command == QLatin1String("ring") && (sub == QLatin1String("fail-reads") || sub == QLatin1String("fail-writes"))) {
        expectCount(w, 3, 3);
        const int n = wholeNumber(w.at(2));
        if (n < 0)
            throw UsageError(QStringLiteral("A count is 0 or more."));
        if (sub == QLatin1String("fail-reads"))
            bench.failNextReads(n);
        else
            bench.failNextWrites(n);
        out << "The next " << n << (sub == QLatin1String("fail-reads") ? " read(s)" : " write(s)") << " will fail.\n";
    } else if (command == QLatin1String("arrive")) {
        expectCount(w, 4, 7);
        const int index = bench.addArrival(w.at(1), parseArrival(w));
        out << "Clock " << w.at(1) << " holds arrival " << (index + 1) << ".\n";
    } else {
        throw UsageError(QStringLiteral("Unknown command \"%1\".").arg(w.join(QLatin1Char(' '))));
    }
}

}  // namespace

int runBenchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--data-dir")) {
            ++i;
            continue;
        }
        if (arguments.at(i).startsWith(QLatin1String("--data-dir=")))
            continue;
        words << arguments.at(i);
    }
    if (words.value(0) == QLatin1String("help") || words.value(0) == QLatin1String("--help")) {
        out << Usage;
        return 0;
    }
    try {
        const DataFolder folder(DataFolder::resolve(arguments));
        folder.prepare();
        const QString kind = readIniFile(folder.iniPath())->value(QStringLiteral("Devices/Library")).toString().trimmed();
        if (!DeviceLibraries::usesSimulator(kind))
            err << "Note: ZAVR.ini selects \"" << kind << "\" device libraries; the program does not use this bench.\n";
        SimulatedBench bench(DeviceLibraries::benchPath(folder));
        run(words, bench, folder, out);
        return 0;
    } catch (const UsageError& e) {
        err << e.text() << "\n\n" << Usage;
        return 2;
    } catch (const CorvelError& e) {
        err << e.text() << "\n";
        return 1;
    }
}
