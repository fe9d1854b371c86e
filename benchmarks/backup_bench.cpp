// "Back Now" and the start-up backup, against a plain copy of the database file flushed to disk.

#include "BenchHarness.h"
#include "DatabaseBackup.h"
#include "TdmZAVR.h"

#include <QFile>
#include <unistd.h>

namespace {

void copyWithFsync(const QString& source, const QString& target)
{
    QFile in(source);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot copy %s", qPrintable(source));
    for (QByteArray block = in.read(1 << 20); !block.isEmpty(); block = in.read(1 << 20))
        out.write(block);
    out.flush();
    ::fsync(out.handle());
}

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(argc, argv,
                       {{QStringLiteral("backup"), QStringLiteral("Backup (start-up and \"Back Now\")"),
                         QStringLiteral("copy of the file with fsync"),
                         [](Bench::Club& club) -> Bench::Runs {
                             return {[&club](Bench::Clock&) {
                                         DatabaseBackup::backupNow(club.dm(), club.scratch(QStringLiteral("club_240510.Bak")));
                                     },
                                     [&club](Bench::Clock&) {
                                         copyWithFsync(club.databasePath(), club.scratch(QStringLiteral("copy.bak")));
                                     }};
                         },
                         2.0}});
}
