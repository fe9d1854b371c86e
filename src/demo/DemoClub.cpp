#include "DemoClub.h"

#include "BenchDesk.h"
#include "ClockLibrary.h"
#include "ClockOpLogic.h"
#include "ClockOpState.h"
#include "ClockProgramming.h"
#include "ClockUpload.h"
#include "ClubSetup.h"
#include "ColourList.h"
#include "CorvelError.h"
#include "DataFolder.h"
#include "DeviceLibraries.h"
#include "LoftClockLogic.h"
#include "LoftDistances.h"
#include "MemberLogic.h"
#include "Moment.h"
#include "OtherClock.h"
#include "RaceLogic.h"
#include "RingLogic.h"
#include "RingMarking.h"
#include "RingMatching.h"
#include "RowSetModel.h"
#include "TPigModuV6.h"
#include "TdmZAVR.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace DemoClub {
namespace {

struct DemoMember {
    const char* loftNo;
    const char* name;
    const char* street;
    const char* city;
    const char* postCode;
    const char* phone;
    const char* lon;
    const char* lat;
};

// Twelve lofts in East and West Flanders.
const DemoMember Members[MemberCount] = {
    {"001", "Jan Peeters", "Molenstraat 12", "Deinze", "9800", "09 386 1245", "E003'31:42.10", "N050'59:12.40"},
    {"002", "Marc Janssens", "Kerkstraat 5", "Tielt", "8700", "051 40 1223", "E003'19:38.55", "N050'59:58.20"},
    {"003", "Luc Maes", "Stationsstraat 48", "Eeklo", "9900", "09 377 5310", "E003'33:51.30", "N051'11:06.75"},
    {"004", "Dirk Jacobs", "Dorpsstraat 7", "Lokeren", "9160", "09 348 2217", "E003'59:22.80", "N051'06:14.05"},
    {"005", "Paul Mertens", "Brugsesteenweg 101", "Aalter", "9880", "09 374 6604", "E003'26:48.90", "N051'05:07.60"},
    {"006", "Eric Willems", "Veldstraat 23", "Zele", "9240", "052 44 8190", "E004'02:15.45", "N051'04:03.30"},
    {"007", "Geert Claes", "Schoolstraat 9", "Wetteren", "9230", "09 369 0452", "E003'52:57.20", "N051'00:02.85"},
    {"008", "Koen Goossens", "Markt 3", "Oudenaarde", "9700", "055 31 7786", "E003'36:19.65", "N050'50:41.10"},
    {"009", "Rudy Wouters", "Ninoofsestraat 77", "Ronse", "9600", "055 21 3348", "E003'35:52.35", "N050'44:48.90"},
    {"010", "Frank De Smet", "Doorniksesteenweg 150", "Kortrijk", "8500", "056 22 9071", "E003'15:54.10", "N050'49:38.45"},
    {"011", "Patrick Dubois", "Ooststraat 31", "Roeselare", "8800", "051 20 4417", "E003'07:31.70", "N050'56:44.25"},
    {"012", "Wim Lambert", "Gentsestraat 64", "Izegem", "8870", "051 30 6682", "E003'12:49.05", "N050'54:58.80"},
};

struct DemoColour {
    const char* code;
    const char* name;
};
const DemoColour Colours[] = {{"BC", "Blue Chequer"}, {"BLU", "Blue"},  {"DC", "Dark Chequer"},
                              {"RC", "Red Chequer"},  {"MEA", "Mealy"}, {"PIED", "Pied"}};

struct DemoRace {
    const char* code;
    const char* site;
    const char* abbr;
    const char* lon;
    const char* lat;
    QDate date;
    QTime liberation;
};
// The finished race, the open race and the next one on the programme.
const DemoRace Races[] = {
    {"1A", "Noyon", "NOY", "E002'59:50", "N049'34:50", QDate(2026, 6, 13), QTime(7, 15)},
    {"2B", "Orleans", "ORL", "E001'54:35", "N047'54:10", QDate(2026, 6, 27), QTime(7, 0)},
    {"3C", "Bourges", "BOU", "E002'23:50", "N047'05:00", QDate(2026, 7, 11), QTime(6, 45)},
};

// Members 001 to 003 race with eRings: each of their pigeons gets one on the reader, and their
// clocks time the finished race.
constexpr int ERingMembers = 3;
// Members 004 to 009 clock on other clocks: their arrivals are typed in by hand.
constexpr int HandEntryMembers = 9;
// Members with a clock registered.
constexpr int ClockMembers = 6;

QString text(const char* s) { return QString::fromUtf8(s); }
QDateTime at(const QDate& date, int hour, int minute, int second = 0) { return Formats::moment(date, QTime(hour, minute, second)); }

// 11 to 14 pigeons a member, 150 in all.
int pigeonCountOf(int member) { return 11 + member % 4; }
QString clockIdOf(int member) { return QStringLiteral("CV26%1").arg(text(Members[member].loftNo)); }
// Deterministic eRing numbers and ring UIDs, 8 hexadecimal digits.
QString uidOf(int serial) { return QStringLiteral("04D5%1").arg(serial, 4, 16, QLatin1Char('0')).toUpper(); }
QString eRingOf(int serial) { return QStringLiteral("E5C0%1").arg(serial, 4, 16, QLatin1Char('0')).toUpper(); }

void require(bool ok, const QString& what)
{
    if (!ok)
        throw CorvelError(what);
}

void saveSettings(const TdmZAVR& dm)
{
    ClubSetup::ClubSetupInput club;
    club.clubListText = ClubSetup::CustomClub;
    club.ClubName = ClubName;
    club.ClubID = ClubId;
    club.Street = QStringLiteral("Markt 1");
    club.City = QStringLiteral("Deinze");
    club.PostCode = QStringLiteral("9800");
    club.AssociationCode = QStringLiteral("BE");
    club.Language = 0;
    club.Mode = 0;  // metres a minute
    club.backupDaysText = QStringLiteral("30");
    require(ClubSetup::saveClubSettings(dm, club) == ClubSetup::SaveOutcome::Replaced,
            QStringLiteral("The club settings were not stored."));
    for (const DemoColour& c : Colours)
        addColour(dm, text(c.code), text(c.name));
}

void saveMembers(const TdmZAVR& dm)
{
    const QDateTime now = at(QDate(2026, 2, 7), 10, 0);
    for (const DemoMember& m : Members) {
        MemberInput in;
        in.associationCode = QStringLiteral("BE");
        in.loftNo = text(m.loftNo);
        in.loftName = text(m.name);
        in.street = text(m.street);
        in.city = text(m.city);
        in.postCode = text(m.postCode);
        in.phoneNo = text(m.phone);
        in.loftLon = text(m.lon);
        in.loftLat = text(m.lat);
        saveMember(dm, in, now);
    }
}

// The member's pigeons: ring numbers BELG24-/BELG25- and seven digits, hens and cocks in turn.
QStringList savePigeons(const TdmZAVR& dm, int member)
{
    const QDateTime now = at(QDate(2026, 2, 14), 11, member);
    QStringList rings;
    for (int k = 0; k < pigeonCountOf(member); ++k) {
        RingInput in;
        in.loftNo = text(Members[member].loftNo);
        in.country = QStringLiteral("BELG");
        in.year = k < 4 ? QStringLiteral("24") : QStringLiteral("25");
        in.letters = QStringLiteral("-");
        in.number = QString::number(6000000 + (member + 1) * 1000 + 100 * (k < 4 ? 0 : 1) + k);
        in.sex = k % 2 == 0 ? QStringLiteral("C") : QStringLiteral("H");
        in.colourCode = text(Colours[(member + k * 2) % std::size(Colours)].code);
        if (k == 0)
            in.comment = QStringLiteral("First prize Noyon 2025");
        else if (k == 5)
            in.comment = QStringLiteral("Bred from the 2024 cock");
        rings << saveRing(dm, in, now).lastRingNo();
    }
    return rings;
}

// One race as the Races page saves it, with every loft's distance to its point.
void saveDemoRace(const TdmZAVR& dm, const DemoRace& r)
{
    RaceInput in;
    in.clubName = ClubName;
    in.liberCode = text(r.code);
    in.liberSite = text(r.site);
    in.liberSiteAbbr = text(r.abbr);
    in.liberLon = text(r.lon);
    in.liberLat = text(r.lat);
    in.liberDate = r.date;
    in.liberTime = r.liberation;
    saveRace(dm, in, at(r.date.addDays(-10), 20, 0));
    const LoftDistUpdateResult distances = LoftDistUpdate(dm, RaceKey{ClubId, in.liberCode, r.date});
    require(distances.membersUpdated == MemberCount, QStringLiteral("The distances of race %1 were not computed.").arg(in.liberCode));
}

void registerClocks(const TdmZAVR& dm)
{
    for (int member = 0; member < ClockMembers; ++member) {
        const QString name = text(Members[member].name);
        const LoftClocks::SaveOutcome saved = LoftClocks::saveClock(dm, text(Members[member].loftNo), name, clockIdOf(member), name);
        require(saved.kind == LoftClocks::SaveOutcome::Saved, saved.message);
        ClockProgramming::RecordClockSync(dm, text(Members[member].loftNo), clockIdOf(member), at(QDate(2026, 6, 12), 19, member));
    }
}

// The arrival of pigeon k of the member at a speed between 1,150 and 1,409 metres a minute.
QDateTime arrivalOf(const TdmZAVR& dm, const DemoRace& race, int member, int k)
{
    const int metres = dm.scalar(QStringLiteral("SELECT Yards FROM ZAVR_LoftLibPointDist WHERE LiberCode = ? AND LoftNo = ?"),
                                 {text(race.code), text(Members[member].loftNo)})
                           .toInt();
    const int speed = 1150 + (member * 37 + k * 53) % 260;
    const auto seconds = static_cast<qint64>(std::lround(metres * 60.0 / speed));
    return Formats::moment(race.date, race.liberation).addSecs(seconds);
}

// The ring reader and the clocks of the Clock Operation page, on the simulated bench.
class Bench {
public:
    Bench(const TdmZAVR& dm, const DataFolder& folder) : dm_(dm), folder_(folder), desk_(dm, folder)
    {
        desk_.connectReader(1);
        openReader();
    }

    // Gives each pigeon a new genuine eRing, as the eRing matching tab does.
    void matchERings(const QString& loftName, const QStringList& rings, int& serial, const QDateTime& now)
    {
        require(RingMatching::chooseMember(dm_, state_, loftName).has_value(), QStringLiteral("No member %1.").arg(loftName));
        for (const QString& ring : rings) {
            ++serial;
            const QString uid = uidOf(serial);
            desk_.run({QStringLiteral("ring"), QStringLiteral("add"), uid, eRingOf(serial), QStringLiteral("00")});
            desk_.run({QStringLiteral("ring"), QStringLiteral("lay"), uid});
            const RingPollResult result = RingMatching::poll(dm_, state_, ring, [](const QString&) { return true; }, now);
            require(result.acceptedRingNo == ring, QStringLiteral("The eRing of %1 was not matched: %2").arg(ring, result.message));
        }
        desk_.takeRing();
    }

    // Marks the pigeons for the race, one ring after the other on the reader, as the marking
    // tab does.
    void mark(const DemoRace& race, const QStringList& rings, const QDateTime& from)
    {
        const QString entry = text(race.code) + QStringLiteral("  ") + race.date.toString(QStringLiteral("MM/dd"));
        require(ClockOp::markingRaceList(dm_).contains(entry), QStringLiteral("Race %1 cannot be marked.").arg(entry));
        RingMarking::chooseRace(dm_, state_, entry);
        state_.lastUid.clear();
        QDateTime now = from;
        for (const QString& ring : rings) {
            desk_.layPigeonRing(ring);
            const RingPollResult result = RingMarking::poll(dm_, state_, now);
            require(result.acceptedRingNo == ring, QStringLiteral("%1 was not marked: %2").arg(ring, result.message));
            now = now.addSecs(40);
        }
        desk_.takeRing();
    }

    // The race day of a member's clock, as the Create Timer Race and Upload Timer Result tabs
    // run it: the clock is programmed with the member's marked pigeons of the race the evening
    // before, the pigeons in `home` arrive, and the clock is read after the race.
    void clockRace(const DemoRace& demoRace, int member, const QStringList& home)
    {
        const QString loftNo = text(Members[member].loftNo);
        const std::optional<ClockRace> race = findClockRace(dm_, RaceCode(text(demoRace.code), demoRace.date));
        require(race.has_value(), QStringLiteral("No race %1.").arg(text(demoRace.code)));
        desk_.connectClock(2, clockIdOf(member));
        // Clocks run a little off the master time; reading them takes the error out.
        desk_.run({QStringLiteral("clock"), QStringLiteral("error"), clockIdOf(member), QString::number(member * 2 - 1)});
        require(state_.openClockLink(folder_), QStringLiteral("The clock %1 did not answer.").arg(clockIdOf(member)));
        QStringList shown;
        const ShowMessage show = [&shown](const QString& message) { shown << message; };

        RowSetModel pigeons;
        QSqlQuery marked = ClockProgramming::racePigeons(dm_, *race, loftNo, true);
        pigeons.setQueryResult(marked);
        const ClockProgramming::ProgrammedClock programmed = ClockProgramming::ProgramRace(
            *state_.clockLibrary(), *state_.clockLink(), dm_, *race, loftNo, pigeons, at(demoRace.date.addDays(-1), 20, 30 + member), show);
        require(programmed.clockNo == clockIdOf(member),
                QStringLiteral("The clock %1 was not programmed: %2").arg(clockIdOf(member), shown.join(u' ')));

        for (int k = 0; k < home.size(); ++k) {
            const QString eRing = dm_.scalar(QStringLiteral("SELECT E_Ring FROM ZAVR_PigData WHERE PRingNo = ?"), {home.at(k)}).toString();
            desk_.addArrival(clockIdOf(member), eRing, arrivalOf(dm_, demoRace, member, k));
        }

        QString currentLoftNo;
        QString lastClockLoft;
        QString siteText;
        ClockUpload::ClockOnPort onPort;
        ClockUpload::ClockReading reading;
        ClockLibrary& library = *state_.clockLibrary();
        TPigModuV6& link = *state_.clockLink();
        require(ClockUpload::pollClock(library, link, race->raceCode, currentLoftNo, lastClockLoft, siteText, onPort, show) ==
                        ClockUpload::PollResult::Ready &&
                    ClockUpload::ReadClockRecords(library, link, onPort, at(demoRace.date, 18, 0), reading, show),
                QStringLiteral("The clock %1 was not read: %2").arg(clockIdOf(member), shown.join(u' ')));
        ClockUpload::ApplyClockRecords(dm_, *race, currentLoftNo, reading, show);
        require(shown.isEmpty(), QStringLiteral("The clock %1: %2").arg(clockIdOf(member), shown.join(u' ')));
        desk_.disconnect(2);
        openReader();
    }

    void release() { state_.releaseLink(); }
    const BenchDesk& desk() const { return desk_; }

private:
    void openReader()
    {
        require(state_.openReaderLink(folder_), QStringLiteral("The ring reader of the simulated bench did not answer."));
    }

    const TdmZAVR& dm_;
    DataFolder folder_;
    BenchDesk desk_;
    ClockOpState state_;
};

// Every pigeon typed in as the other-clock view does, with the member clock's check.
void enterArrivals(const TdmZAVR& dm, const DemoRace& race, int member, const QStringList& rings)
{
    const OtherClock::Race r{ClubId, text(race.code), race.date, Formats::moment(race.date, race.liberation),
                             RaceCode(text(race.code), race.date)};
    const QDateTime master = at(race.date, 18, 30 + member);
    const OtherClock::ClockTimes times{at(race.date.addDays(-1), 19, 30 + member), master, master.addSecs(member % 5 - 2)};
    for (int k = 0; k < rings.size(); ++k)
        OtherClock::saveArrival(dm, r, text(Members[member].loftNo), rings.at(k), times, arrivalOf(dm, race, member, k));
}

void build(const TdmZAVR& dm, const DataFolder& folder)
{
    saveSettings(dm);
    saveMembers(dm);
    QList<QStringList> pigeons;
    for (int member = 0; member < MemberCount; ++member)
        pigeons << savePigeons(dm, member);
    for (const DemoRace& race : Races)
        saveDemoRace(dm, race);
    const DemoRace& finished = Races[0];
    const DemoRace& open = Races[1];
    saveSunRows(dm, RaceCode(text(finished.code), finished.date),
                {{QStringLiteral("2026-06-13"), text(finished.site), QStringLiteral("21:58:00"), QStringLiteral("05:29:00")}});
    registerClocks(dm);

    Bench bench(dm, folder);
    int serial = 0;
    for (int member = 0; member < ERingMembers; ++member)
        bench.matchERings(text(Members[member].name), pigeons.at(member), serial, at(QDate(2026, 3, 7), 14, member * 10));
    // The finished race: eight pigeons of each eRing member marked, seven of them clocked; six to
    // eight of each other-clock member typed in; the last three members sent none.
    for (int member = 0; member < ERingMembers; ++member) {
        bench.mark(finished, pigeons.at(member).mid(0, 8), at(finished.date.addDays(-1), 19, 5 + member * 8));
        bench.clockRace(finished, member, pigeons.at(member).mid(0, 7));
    }
    for (int member = ERingMembers; member < HandEntryMembers; ++member)
        enterArrivals(dm, finished, member, pigeons.at(member).mid(0, 6 + member % 3));
    // The open race: six pigeons of each eRing member marked.
    for (int member = 0; member < ERingMembers; ++member)
        bench.mark(open, pigeons.at(member).mid(2, 6), at(open.date.addDays(-1), 19, 5 + member * 6));
    bench.release();

    // On the bench: the first member's clock on COM2 and one of its pigeons' ring on the reader.
    bench.desk().connectClock(2, clockIdOf(0));
    bench.desk().layPigeonRing(pigeons.at(0).at(9));
}

}  // namespace

std::optional<QString> folderArgument(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == QLatin1String("--demo"))
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (arg.startsWith(QLatin1String("--demo=")))
            return arg.mid(static_cast<qsizetype>(qstrlen("--demo=")));
    }
    return std::nullopt;
}

QString create(const QString& path)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("Give the folder for the demo club: --demo FOLDER");
    const DataFolder folder(QDir::cleanPath(QDir(path).absolutePath()));
    const QString native = QDir::toNativeSeparators(folder.path());
    QString database;
    try {
        database = folder.databasePath();
    } catch (const CorvelError& e) {
        return e.text();
    }
    if (QFileInfo::exists(database))
        return QStringLiteral("%1 already holds a club database (%2): the demo club is made in a new folder only.")
            .arg(native, QDir::toNativeSeparators(database));
    const QString bench = DeviceLibraries::benchPath(folder);
    if (QFileInfo::exists(bench))
        return QStringLiteral("%1 already holds a simulated bench (%2): the demo club is made in a new folder only.")
            .arg(native, QDir::toNativeSeparators(bench));

    // What this call creates, removed again when it fails.
    const bool folderExisted = QFileInfo(folder.path()).isDir();
    const bool udlExisted = QFileInfo::exists(folder.udlPath());
    const bool iniExisted = QFileInfo::exists(folder.iniPath());
    QString failure;
    try {
        folder.prepare();
        TdmZAVR dm(database);
        if (!dm.open())
            throw CorvelError(dm.openError());
        TdmZAVR::Transaction tx(dm);
        build(dm, folder);
        tx.commit();
    } catch (const CorvelError& e) {
        failure = e.text();
    }
    if (failure.isEmpty())
        return {};
    QFile::remove(database);
    QFile::remove(bench);
    QFile::remove(bench + QStringLiteral(".lock"));
    if (!udlExisted)
        QFile::remove(folder.udlPath());
    if (!iniExisted)
        QFile::remove(folder.iniPath());
    if (!folderExisted)
        QDir().rmdir(folder.path());
    return QStringLiteral("The demo club could not be made in %1: %2").arg(native, failure);
}

}  // namespace DemoClub
