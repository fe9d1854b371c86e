// One member's clock of 200 arrivals read and stored as the Clock Operation page's upload does it,
// against the bare statements of the same updates in one transaction.

#include "BenchHarness.h"
#include "ClockDialogue.h"
#include "ClockProgramming.h"
#include "ClockUpload.h"
#include "CorvelError.h"
#include "Formats.h"
#include "RaceLogic.h"
#include "RingLogic.h"
#include "RowSetModel.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"
#include "TdmZAVR.h"

#include <QFile>
#include <QSqlError>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr int Arrivals = 200;
const QString NewYear = QStringLiteral("25");        // the year of the member's added pigeons only

QString hex8(quint32 value) { return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper(); }

// A copy of the club in which one member has 200 more pigeons marked for a race, his clock
// programmed for that race on a simulated bench (in memory, as the clocks on a desk are), holding
// an arrival of each of them and found on the port by the upload's poll.
struct UploadRound {
    std::unique_ptr<TdmZAVR> dm;
    SimulatedBench bench;
    std::unique_ptr<TPigModuV6> link;
    ClockRace race;
    QString loftNo;
    QString clockNo;  // the member's first clock
    QString currentLoftNo;  // the member the poll found on the clock
    ClockUpload::ClockOnPort onPort;
    QDateTime uploadedAt;
    QStringList shown;
    ShowMessage show = [this](const QString& text) { shown << text; };

    // What the upload button's poll does once a clock is found: read it, then store its records.
    void upload()
    {
        ClockUpload::ClockReading reading;
        if (ClockUpload::ReadClockRecords(bench, *link, onPort, uploadedAt, reading, show))
            ClockUpload::ApplyClockRecords(*dm, race, currentLoftNo, reading, show);
    }
};

void addMarkedPigeons(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo)
{
    const QString colour = dm.scalar(QStringLiteral("SELECT ColorType FROM ZAVR_FeatherColor ORDER BY rowid LIMIT 1")).toString();
    const QString marked = Formats::toDbDateTime(race.liberation.addSecs(-12 * 3600));
    TdmZAVR::Transaction tx(dm);
    for (int k = 0; k < Arrivals; ++k) {
        const QString number = QString::number(900001 + k);
        const QString ringNo = composeRingNumber(QStringLiteral("GB"), NewYear, QStringLiteral("A"), number);
        const int code = (k * 37 + 11) % 256;
        dm.append(QStringLiteral("ZAVR_PigData"),
                  {{QStringLiteral("LoftNo"), loftNo}, {QStringLiteral("PRingNo"), ringNo}, {QStringLiteral("RCountry"), QStringLiteral("GB")},
                   {QStringLiteral("RYear"), NewYear}, {QStringLiteral("RRegLetter"), QStringLiteral("A")},
                   {QStringLiteral("RRegNumber"), number}, {QStringLiteral("Sex"), k % 2 ? QStringLiteral("H") : QStringLiteral("C")},
                   {QStringLiteral("E_Ring"), hex8(0xB0000000u + static_cast<quint32>(k))}, {QStringLiteral("ColorType"), colour},
                   {QStringLiteral("ActiveStat"), 1}, {QStringLiteral("RandomCode"), code},
                   {QStringLiteral("UID"), hex8(0x05000000u + static_cast<quint32>(k))}});
        dm.append(QStringLiteral("ZAVR_PigRaceData"),
                  {{QStringLiteral("ClubID"), race.clubId}, {QStringLiteral("LiberCode"), race.liberCode},
                   {QStringLiteral("LiberDate"), Formats::toDbMidnight(race.liberDate)}, {QStringLiteral("PRingNo"), ringNo},
                   {QStringLiteral("RandomCode"), code}, {QStringLiteral("MarkedTime"), marked}});
    }
    tx.commit();
}

std::shared_ptr<UploadRound> prepareRound(Bench::Club& club)
{
    auto round = std::make_shared<UploadRound>();
    round->dm = club.openCopy(QStringLiteral("upload.db"));
    const TdmZAVR& dm = *round->dm;
    // The largest race with a member at a distance from its point, and the first such member.
    QList<ClubGenerator::Race> races = club.plan().races;
    std::stable_sort(races.begin(), races.end(), [](const auto& a, const auto& b) { return a.entries > b.entries; });
    std::optional<ClockRace> race;
    for (const ClubGenerator::Race& r : races) {
        round->loftNo = dm.scalar(QStringLiteral("SELECT min(LoftNo) FROM ZAVR_LoftLibPointDist WHERE LiberCode = ? AND Yards > 0"),
                                  {r.liberCode})
                            .toString();
        if (!round->loftNo.isEmpty()) {
            race = findClockRace(dm, RaceCode(r.liberCode, r.liberDate));
            break;
        }
    }
    if (!race)
        throw CorvelError(QStringLiteral("No race of the club has a member at a distance"));
    round->race = *race;
    round->clockNo = dm.scalar(QStringLiteral("SELECT min(ClockID) FROM ZAVR_LoftClocks WHERE LoftNo = ?"), {round->loftNo}).toString();
    round->uploadedAt = race->liberation.addSecs(14 * 3600);
    addMarkedPigeons(dm, round->race, round->loftNo);

    const QString ini = club.scratch(QStringLiteral("ZAVR.ini"));
    QFile file(ini);
    if (!file.open(QIODevice::WriteOnly) || file.write("[Parameter]\nSysID=CLUB1234\n") < 0)
        throw CorvelError(QStringLiteral("Cannot write %1").arg(ini));
    file.close();
    round->bench.addClock(round->clockNo, QStringLiteral("CLUB1234"));
    round->bench.connectClock(1, round->clockNo);
    round->link = std::make_unique<TPigModuV6>(round->bench, ini);

    RowSetModel pigeons;
    QSqlQuery marked = ClockProgramming::racePigeons(dm, round->race, round->loftNo, true);
    pigeons.setQueryResult(marked);
    ClockProgramming::ProgramRace(round->bench, *round->link, dm, round->race, round->loftNo, pigeons,
                                  race->liberation.addSecs(-3600), round->show);
    for (int k = 0; k < Arrivals; ++k)
        round->bench.addArrival(round->clockNo, BenchArrival{hex8(0xB0000000u + static_cast<quint32>(k)),
                                                      race->liberation.addSecs(3 * 3600 + 11 * k), {}, {}, {}});
    QString lastClockLoft;
    QString siteText;
    if (ClockUpload::pollClock(round->bench, *round->link, round->race.raceCode, round->currentLoftNo, lastClockLoft, siteText,
                               round->onPort, round->show) != ClockUpload::PollResult::Ready ||
        round->currentLoftNo != round->loftNo)
        throw CorvelError(QStringLiteral("The programmed clock was not found on the port"));

    // One upload, checked: every arrival stored with its flying time and nothing shown.
    round->shown.clear();
    round->upload();
    const int stored = dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_PigRaceData a JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                                "WHERE b.LoftNo = ? AND b.RYear = ? AND a.LiberCode = ? AND date(a.LiberDate) = ? "
                                                "AND a.FlySpeed > 0"),
                                 {round->loftNo, NewYear, round->race.liberCode, Formats::toDbDate(round->race.liberDate)})
                             .toInt();
    if (stored != Arrivals || !round->shown.isEmpty())
        throw CorvelError(QStringLiteral("The upload stored %1 of %2 arrivals: %3")
                              .arg(stored)
                              .arg(Arrivals)
                              .arg(round->shown.join(QStringLiteral("; "))));
    return round;
}

// The rows the upload wrote, as the values of its two statements: the clock's end-of-race check,
// then each entry's arrival.
struct StoredUpload {
    QVariantList clockRow;
    QList<QVariantList> entries;
};

StoredUpload storedUpload(const UploadRound& round)
{
    const TdmZAVR& dm = *round.dm;
    const QVariantList raceKey = {round.race.liberCode, Formats::toDbDate(round.race.liberDate)};
    StoredUpload stored;
    QSqlQuery clock = dm.exec(QStringLiteral("SELECT ULMasterTime, ULClockTime FROM ZAVR_RaceClockTime "
                                             "WHERE LiberCode = ? AND date(LiberDate) = ? AND ClockID = ?"),
                              raceKey + QVariantList{round.clockNo});
    if (!clock.next())
        throw CorvelError(QStringLiteral("The clock's end-of-race check was not stored"));
    stored.clockRow = QVariantList{clock.value(0), clock.value(1)} + raceKey + QVariantList{round.clockNo};
    QSqlQuery q = dm.exec(QStringLiteral("SELECT a.BackTime, a.FlyTime, a.FlySpeed, a.Dist, a.ClockID, a.TimeVari, a.UID_Real, "
                                         "a.RealRandom, a.PRingNo FROM ZAVR_PigRaceData a JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                         "WHERE b.LoftNo = ? AND b.RYear = ? AND a.LiberCode = ? AND date(a.LiberDate) = ?"),
                          QVariantList{round.loftNo, NewYear} + raceKey);
    while (q.next()) {
        QVariantList values;
        for (int i = 0; i < 9; ++i)
            values << q.value(i);
        stored.entries << (values.mid(0, 8) + raceKey + QVariantList{values.at(8)});
    }
    return stored;
}

void runPrepared(QSqlQuery& query, const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values.at(i));
    if (!query.exec())
        qFatal("%s", qPrintable(query.lastError().text()));
}

void bareUpdates(const TdmZAVR& dm, const StoredUpload& stored)
{
    QSqlDatabase db = dm.database();
    db.transaction();
    QSqlQuery clock(db);
    clock.prepare(QStringLiteral("UPDATE ZAVR_RaceClockTime SET ULMasterTime = ?, ULClockTime = ? "
                                 "WHERE LiberCode = ? AND date(LiberDate) = ? AND ClockID = ?"));
    runPrepared(clock, stored.clockRow);
    QSqlQuery entry(db);
    entry.prepare(QStringLiteral("UPDATE ZAVR_PigRaceData SET BackTime = ?, FlyTime = ?, FlySpeed = ?, Dist = ?, ClockID = ?, "
                                 "TimeVari = ?, UID_Real = ?, RealRandom = ? "
                                 "WHERE LiberCode = ? AND date(LiberDate) = ? AND PRingNo = ?"));
    for (const QVariantList& values : stored.entries)
        runPrepared(entry, values);
    db.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(argc, argv,
                       {{QStringLiteral("upload"), QStringLiteral("Clock upload, 200 arrivals of one clock"),
                         QStringLiteral("the same 200 updates, bare, in one transaction"),
                         [](Bench::Club& club) -> Bench::Runs {
                             const std::shared_ptr<UploadRound> round = prepareRound(club);
                             const auto stored = std::make_shared<const StoredUpload>(storedUpload(*round));
                             return {[round](Bench::Clock&) { round->upload(); },
                                     [round, stored](Bench::Clock&) { bareUpdates(*round->dm, *stored); }};
                         },
                         0.0, false, 1000.0}});
}
