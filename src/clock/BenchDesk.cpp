#include "BenchDesk.h"

#include "BenchCommand.h"
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "SettingsFile.h"
#include "TdmZAVR.h"

#include <QRandomGenerator>
#include <QTextStream>

namespace {

QString portName(int port) { return QStringLiteral("COM%1").arg(port); }

const QString PigeonColumns = QStringLiteral("select PRingNo, E_Ring, UID, RandomCode from ZAVR_PigData ");

BenchDesk::Pigeon pigeonOf(const QSqlQuery& q)
{
    return {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()};
}

}  // namespace

BenchDesk::BenchDesk(const TdmZAVR& dm, const DataFolder& folder) : dm_(dm), folder_(folder) {}

QString BenchDesk::run(const QStringList& words) const
{
    QString printed;
    QString refusal;
    QTextStream out(&printed);
    QTextStream err(&refusal);
    const QStringList arguments = QStringList{QStringLiteral("corvel-bench"), QStringLiteral("--data-dir"), folder_.path()} + words;
    const int code = runBenchCommand(arguments, out, err);
    out.flush();
    err.flush();
    if (code != 0)
        throw CorvelError(refusal.section(QStringLiteral("\n\n"), 0, 0).trimmed());
    return printed;
}

BenchState BenchDesk::state() const
{
    SimulatedBench bench(DeviceLibraries::benchPath(folder_));
    return bench.state();
}

QString BenchDesk::libraryNote() const
{
    const QString kind = readIniFile(folder_.iniPath())->value(QStringLiteral("Devices/Library")).toString().trimmed();
    if (DeviceLibraries::usesSimulator(kind))
        return {};
    return QStringLiteral("ZAVR.ini selects \"%1\" device libraries: the program does not use this bench.").arg(kind);
}

void BenchDesk::connectReader(int port) const { run({QStringLiteral("reader"), portName(port)}); }

void BenchDesk::connectClock(int port, const QString& clockNo) const
{
    if (!state().clock(clockNo))
        run({QStringLiteral("clock"), QStringLiteral("add"), clockNo});
    run({QStringLiteral("connect"), portName(port), clockNo});
}

void BenchDesk::disconnect(int port) const { run({QStringLiteral("disconnect"), portName(port)}); }

bool BenchDesk::Pigeon::hasERing() const { return isHexText(eRing, 8) && isHexText(uid, 8); }

QList<BenchDesk::Pigeon> BenchDesk::pigeonsOf(const QString& loftNo) const
{
    QList<Pigeon> pigeons;
    QSqlQuery q = dm_.exec(PigeonColumns + QStringLiteral("where LoftNo = ? order by PRingNo"), {loftNo});
    while (q.next())
        pigeons.append(pigeonOf(q));
    return pigeons;
}

QString BenchDesk::freshHex(const QStringList& taken) const
{
    for (;;) {
        const QString hex = QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')).toUpper();
        if (!taken.contains(hex))
            return hex;
    }
}

QString BenchDesk::addRing(const QString& uid, const QString& eRing, int code, bool genuine) const
{
    QStringList words = {QStringLiteral("ring"), QStringLiteral("add"), uid, eRing,
                         QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper()};
    if (!genuine)
        words << QStringLiteral("forged");
    run(words);
    return uid;
}

QString BenchDesk::layPigeonRing(const QString& ringNo) const
{
    QSqlQuery q = dm_.exec(PigeonColumns + QStringLiteral("where PRingNo = ?"), {ringNo});
    if (!q.next())
        throw CorvelError(QStringLiteral("There is no pigeon %1.").arg(ringNo));
    const Pigeon pigeon = pigeonOf(q);
    if (!pigeon.hasERing())
        return layNewRing(true);
    const QString uid = pigeon.uid.toUpper();
    if (!state().ring(uid))
        addRing(uid, pigeon.eRing, pigeon.randomCode & 0xff, true);
    run({QStringLiteral("ring"), QStringLiteral("lay"), uid});
    return uid;
}

QString BenchDesk::layNewRing(bool genuine) const
{
    const BenchState bench = state();
    QStringList uids = dm_.texts(QStringLiteral("select upper(UID) from ZAVR_PigData where UID is not null"));
    QStringList eRings = dm_.texts(QStringLiteral("select upper(E_Ring) from ZAVR_PigData where E_Ring is not null"));
    for (const BenchRing& r : bench.rings) {
        uids << r.uid;
        eRings << BytesToHex(r.data, 1, 4);
    }
    const QString uid = addRing(freshHex(uids), freshHex(eRings), QRandomGenerator::global()->bounded(256), genuine);
    run({QStringLiteral("ring"), QStringLiteral("lay"), uid});
    return uid;
}

void BenchDesk::takeRing() const { run({QStringLiteral("ring"), QStringLiteral("take")}); }

QStringList BenchDesk::clocksInRace() const
{
    QStringList numbers;
    for (const BenchClock& c : state().clocks) {
        const BenchRace* race = c.race(c.currentRace);
        if (race != nullptr && race->kind != 0 && !race->closed)
            numbers << c.number;
    }
    numbers.sort();
    return numbers;
}

QStringList BenchDesk::arrivalERings(const QString& clockNo) const
{
    const BenchState bench = state();
    const BenchClock* clock = bench.clock(clockNo);
    QStringList eRings;
    if (clock == nullptr)
        return eRings;
    QStringList tags;
    if (const BenchRace* race = clock->race(clock->currentRace))
        for (const BenchRaceTag& t : race->tags)
            tags << t.tag;
    for (const BenchPigeon& p : clock->pigeons)
        tags << p.tag;
    for (const QString& tag : tags)
        if (!eRings.contains(tag.left(8)))
            eRings << tag.left(8);
    return eRings;
}

QString BenchDesk::ringNoOfERing(const QString& eRing) const
{
    return dm_.scalar(QStringLiteral("select PRingNo from ZAVR_PigData where upper(E_Ring) = ? order by rowid limit 1"),
                      {eRing.toUpper()})
        .toString();
}

void BenchDesk::addArrival(const QString& clockNo, const QString& eRing, const QDateTime& at) const
{
    run({QStringLiteral("arrive"), clockNo, eRing, at.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss.zzz"))});
}
