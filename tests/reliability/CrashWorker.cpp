// The program's writing work in a loop, for the crash-consistency test to kill at a random moment:
//   corvel_crash_worker OPERATION DATA_FOLDER
// OPERATION is one of ranges, races, backupnow, startup, restore (see CrashConsistencyTest.cpp).
// Prints "ready" once the club is open, then works until it is killed, printing "." after each
// finished operation.
#include "DataFolder.h"
#include "DatabaseBackup.h"
#include "RaceLogic.h"
#include "RingLogic.h"
#include "TdmZAVR.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

namespace {

// Registration letters for the n-th range: A, B, ..., Z, AA, AB, ...
QString rangeLetters(int n)
{
    QString letters;
    for (++n; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

// A member whose number no earlier run used.
void addMember(const TdmZAVR& dm)
{
    const int next = dm.scalar(QStringLiteral("SELECT coalesce(max(rowid), 0) + 1 FROM ZAVR_LoftData")).toInt();
    dm.exec(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES (?, 'Worker')"), {QStringLiteral("W%1").arg(next)});
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    const QString operation = args.at(1);
    const DataFolder folder(args.at(2));
    TdmZAVR dm(folder.databasePath());
    if (!dm.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(dm.openError()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    const QDateTime now = QDateTime::currentDateTime();
    // Each run goes on after the ranges and races of the runs killed before it.
    const int first = dm.scalar(operation == QLatin1String("ranges") ? QStringLiteral("SELECT count(DISTINCT RRegLetter) FROM ZAVR_PigData")
                                                                      : QStringLiteral("SELECT count(*) FROM ZAVR_LiberateSite"))
                          .toInt();
    for (int n = first;; ++n) {
        if (operation == QLatin1String("ranges")) {
            RingInput ring;
            ring.loftNo = QStringLiteral("001");
            ring.country = QStringLiteral("GB");
            ring.year = QStringLiteral("24");
            ring.letters = rangeLetters(n);
            ring.number = QStringLiteral("1");
            ring.upperNumber = QStringLiteral("40");
            ring.sex = QStringLiteral("C");
            saveRing(dm, ring, now);
        } else if (operation == QLatin1String("races")) {
            RaceInput race;
            race.clubName = QStringLiteral("Crash Club");
            race.liberCode = QString::number(n + 1, 16).toUpper();
            race.liberSite = QStringLiteral("Site %1").arg(n);
            race.liberSiteAbbr = QStringLiteral("S%1").arg(n);
            race.liberLon = QStringLiteral(" ");
            race.liberDate = QDate(2024, 5, 10);
            race.liberTime = QTime(7, 30);
            saveRace(dm, race, now);
        } else if (operation == QLatin1String("backupnow")) {
            addMember(dm);
            DatabaseBackup::backupNow(dm, folder.backupFolder() + QStringLiteral("/now.Bak"));
        } else if (operation == QLatin1String("startup")) {
            addMember(dm);
            DatabaseBackup::startupBackup(dm, folder, now);
        } else if (operation == QLatin1String("restore")) {
            addMember(dm);
            const auto result = DatabaseBackup::restoreDatabase(dm, folder, folder.backupFolder() + QStringLiteral("/source.bak"), now);
            if (!result.restored) {
                std::fprintf(stderr, "%s\n", qPrintable(result.failure));
                return 1;
            }
            if (!dm.open())
                return 1;
        } else {
            return 2;
        }
        std::printf(".");
        std::fflush(stdout);
    }
}
