#include "ClockClub.h"

#include "DeviceLibraries.h"

const QString ClockClub::Genuine = QStringLiteral("04A1B2C3");
const QString ClockClub::Forged = QStringLiteral("04DEAD00");
const QString ClockClub::Bakers = QStringLiteral("04000001");

ClockClub::ClockClub()
{
    clockOpState().reset();
    db.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('001','Adams'),('002','Baker'),('003','Carr')"));
    db.run(QStringLiteral("insert into ZAVR_FeatherColor (ColorType,FeathColor) values ('BLU','Blue')"));
    db.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,Sex,ColorType) values "
                          "('001','BE-24-0001','H','BLU'),('001','BE-24-0002','C','ZZZ'),('001','BE-24-0003',null,null)"));
    db.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,Sex,E_Ring,UID,RandomCode,ActiveStat,SynchFlag) values "
                          "('002','BE-24-0101','C','11111111','04000001',7,1,1)"));
    db.run(QStringLiteral("insert into ZAVR_RaceData (ClubID,LiberCode,LiberDate,RaceCode) values "
                          "('C1','A1','2024-05-10 00:00:00','A10510'),('C1','B2','2024-06-01 00:00:00','B20601'),"
                          "('C0','A1','2023-05-10 00:00:00','A10510')"));
    script = std::make_unique<SimulatedBench>(DeviceLibraries::benchPath(db.folder()));
    script->connectRingReader(1);
    script->addRing(Genuine, QStringLiteral("1A2B3C4D"), 0x3C);
    script->addRing(Forged, QStringLiteral("0BADF00D"), 0x01, false);
    script->addRing(Bakers, QStringLiteral("11111111"), 7);
}

ClockClub::~ClockClub() { clockOpState().reset(); }

QString ClockClub::eRingOf(const QString& ringNo)
{
    return rows(QStringLiteral("select E_Ring,UID,RandomCode,ActiveStat,SynchFlag from ZAVR_PigData where PRingNo=?"), {ringNo})
        .value(0);
}

QString ClockClub::ringData(const QString& uid)
{
    const BenchRing* ring = script->state().ring(uid);
    return ring ? QString::fromLatin1(ring->data.left(5).toHex().toUpper()) : QString();
}

SimulatedBench& ClockClub::linkBench(ClockOpState& s)
{
    auto* bench = dynamic_cast<SimulatedBench*>(s.ringReader());
    EXPECT_NE(bench, nullptr);
    return *bench;
}
