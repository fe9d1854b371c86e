#include "BenchCommand.h"
#include "ClockClub.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "TPigModuV6.h"
#include "TfrmClockOP.h"
#include "TfrmDeviceSimulator.h"
#include "WidgetDriver.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>
#include <QTimer>

namespace {

class DeviceSimulator : public ClockClub {
protected:
    DeviceSimulator() : window(dm(), db.folder())
    {
        db.run(QStringLiteral("insert into ZAVR_LoftClocks (LoftNo,ClockID) values ('001','K7')"));
        window.show();
    }
    template <typename T>
    T* find(const char* name)
    {
        return controls.find<T>(name);
    }
    void click(const char* name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void choose(const char* comboName, const QString& text) { controls.choose(comboName, text); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    const BenchRing* ringOnReader()
    {
        const BenchState& s = script->state();
        return s.ring(s.ringOnReader);
    }

    TfrmDeviceSimulator window;
    WidgetDriver controls{window};
};

TEST_F(DeviceSimulator, ShowsThePortsAndConnectsTheReaderOrAMembersClock)
{
    EXPECT_EQ(label("lblCom1"), QStringLiteral("COM1: ring reader"));
    EXPECT_EQ(label("lblCom2"), QStringLiteral("COM2: nothing"));
    EXPECT_TRUE(find<QPlainTextEdit>("txtBench")->toPlainText().contains(QLatin1String("COM1 (")));

    choose("cbbClockMember", QStringLiteral("Adams"));
    choose("cbbClockNo", QStringLiteral("K7"));
    find<QComboBox>("cbbPort")->setCurrentIndex(1);
    click("btnConnectClock");
    EXPECT_EQ(label("lblCom2"), QStringLiteral("COM2: clock K7"));
    const BenchClock* clock = script->state().clock(QStringLiteral("K7"));
    ASSERT_NE(clock, nullptr);
    // It accepts the club's identity: the clock link gets its number.
    SimulatedBench program(DeviceLibraries::benchPath(db.folder()));
    TPigModuV6 link(program, db.folder().iniPath());
    ASSERT_TRUE(link.Opened);
    std::uint8_t id[8];
    std::uint8_t cipher[8];
    ASSERT_TRUE(HexToBin(link.SysIDHex, id, 8) && HexToBin(link.SysIDCipherHex, cipher, 8));
    EXPECT_TRUE(program.IFD_Connect(link.PortHandle, id, cipher));

    find<QComboBox>("cbbPort")->setCurrentIndex(0);
    click("btnDisconnect");
    EXPECT_EQ(label("lblCom1"), QStringLiteral("COM1: nothing"));
    EXPECT_EQ(script->state().ports[0].device, BenchDevice::None);
    click("btnReader");
    EXPECT_EQ(script->state().ports[0].device, BenchDevice::RingReader);
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(DeviceSimulator, LaysAPigeonsRingANewRingOrAForgedRingAndTakesItAway)
{
    db.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,E_Ring,UID,RandomCode) values "
                          "('003','BE-24-0300','77777777','04777777',200)"));
    // A pigeon whose ring the bench does not have yet: put on the bench with its stored values.
    choose("cbbRingMember", QStringLiteral("Carr"));
    find<QComboBox>("cbbRingPigeon")->setCurrentIndex(0);
    click("btnLayPigeonRing");
    ASSERT_NE(ringOnReader(), nullptr);
    EXPECT_EQ(ringOnReader()->uid, QStringLiteral("04777777"));
    EXPECT_EQ(ringData(QStringLiteral("04777777")), QStringLiteral("77777777C8"));
    EXPECT_TRUE(ringOnReader()->genuine());
    EXPECT_EQ(label("lblRingOnReader"), QStringLiteral("Ring on the reader: 04777777"));

    // A pigeon without an eRing: a new genuine ring, ready to be matched to it.
    choose("cbbRingMember", QStringLiteral("Adams"));
    EXPECT_EQ(find<QComboBox>("cbbRingPigeon")->itemText(0), QStringLiteral("BE-24-0001  (no eRing)"));
    find<QComboBox>("cbbRingPigeon")->setCurrentIndex(0);
    const qsizetype before = script->state().rings.size();
    click("btnLayPigeonRing");
    EXPECT_EQ(script->state().rings.size(), before + 1);
    EXPECT_TRUE(ringOnReader()->genuine());
    EXPECT_NE(ringOnReader()->uid, Genuine);

    click("btnLayForgedRing");
    EXPECT_EQ(script->state().rings.size(), before + 2);
    EXPECT_FALSE(ringOnReader()->genuine());

    click("btnTakeRing");
    EXPECT_EQ(ringOnReader(), nullptr);
    EXPECT_EQ(label("lblRingOnReader"), QStringLiteral("Ring on the reader: none"));
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(DeviceSimulator, AddsAnArrivalToTheCurrentRaceOfAClock)
{
    db.run(QStringLiteral("update ZAVR_PigData set E_Ring='1A2B3C4D', UID='04A1B2C3' where PRingNo='BE-24-0001'"));
    // A clock given a race as the programming of the clocks gives it.
    script->addClock(QStringLiteral("K7"), QString());
    script->connectClock(2, QStringLiteral("K7"));
    const std::int32_t h = script->IFD_OpenPort("COM2", "baud=115200;timeout=2000");
    const DesBlock id = systemIdentityBlock(QString());
    const DesBlock cipher = systemIdentityCipher(id);
    const char raceNo[] = "A1051000";
    DesBlock auth{};
    ASSERT_TRUE(raceAuthBlock(raceNo, cipher, auth));
    ASSERT_TRUE(script->IFD_Connect(h, id.data(), cipher.data()));
    ASSERT_TRUE(script->PGT_CreateRace(h, raceNo, "00000000"));
    ASSERT_TRUE(script->PGT_AddRaceTag(h, raceNo, "1A2B3C4D00003C00", "04A1B2C3"));
    ASSERT_TRUE(script->PGT_ConfirmRace(h, raceNo, auth.data(), *ClockDateTime::toDays(QDateTime(QDate(2024, 5, 10), QTime(6, 0)))));
    ASSERT_TRUE(script->PGT_StartRace(h, raceNo, 3));

    window.refresh();
    choose("cbbArrivalClock", QStringLiteral("K7"));
    EXPECT_EQ(find<QComboBox>("cbbArrivalPigeon")->itemText(0), QStringLiteral("1A2B3C4D  (BE-24-0001)"));
    find<QDateTimeEdit>("dtpArrival")->setDateTime(QDateTime(QDate(2024, 5, 10), QTime(10, 15, 30)));
    click("btnArrive");
    const QStringList records = script->state().clock(QStringLiteral("K7"))->races.value(0).records;
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(TPigModuV6::ClockTimeToText(records.at(0).mid(32, 16)), QStringLiteral("2024/05/10 10:15:30.000"));
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(DeviceSimulator, ShowsChangesMadeByCorvelBenchAtTheNextRefresh)
{
    QString printed;
    QTextStream out(&printed);
    QTextStream err(&printed);
    ASSERT_EQ(runBenchCommand({QStringLiteral("corvel-bench"), QStringLiteral("--data-dir"), db.folder().path(), QStringLiteral("ring"),
                               QStringLiteral("lay"), Genuine},
                              out, err),
              0);
    window.refresh();
    EXPECT_EQ(label("lblRingOnReader"), QStringLiteral("Ring on the reader: 04A1B2C3"));
    EXPECT_EQ(find<QTimer>("tmrRefresh")->interval(), TfrmDeviceSimulator::RefreshMsecs);
    EXPECT_TRUE(find<QTimer>("tmrRefresh")->isActive());
}

TEST_F(DeviceSimulator, ABenchRefusalIsShownAndChangesNothing)
{
    find<QComboBox>("cbbClockNo")->setEditText(QStringLiteral("K 1"));
    click("btnConnectClock");
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("A clock number is 1 to 9 plain characters without blanks: K 1")});
    EXPECT_TRUE(script->state().clocks.isEmpty());
    click("btnLayPigeonRing");  // no pigeon chosen
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Choose a member and one of its pigeons first.")});
}

// A training round with the window: an eRing matched to a pigeon, then the pigeon marked for a
// race, the page seeing each ring at its next poll.
TEST_F(DeviceSimulator, PlaysAMatchingAndAMarkingWithTheClockOperationPage)
{
    TfrmClockOP page(dm(), db.folder());
    page.show();
    auto* control = page.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    const auto chooseTab = [control](int index) {
        QTest::mouseClick(control->tabBar(), Qt::LeftButton, {}, control->tabBar()->tabRect(index).center());
    };
    const WidgetDriver pageControls(page);
    const auto pageChoose = [&pageControls](const char* comboName, const QString& text) { pageControls.choose(comboName, text); };

    // Two pigeons of Adams get new rings: the page reads each ring once a ring number is chosen.
    chooseTab(0);
    pageChoose("cbbLoftNo", QStringLiteral("Adams"));
    choose("cbbRingMember", QStringLiteral("Adams"));
    QString uid;
    for (const int pigeon : {1, 0}) {
        const QString ringNo = QStringLiteral("BE-24-000%1").arg(pigeon + 1);
        pageChoose("cbbPRingNo", ringNo);
        find<QComboBox>("cbbRingPigeon")->setCurrentIndex(pigeon);
        click("btnLayPigeonRing");
        uid = script->state().ringOnReader;
        ASSERT_TRUE(QTest::qWaitFor([&] { return eRingOf(ringNo).contains(uid); }, 3000)) << ringNo.toStdString();
        EXPECT_EQ(eRingOf(ringNo).left(8), ringData(uid).left(8));
        click("btnTakeRing");
    }

    // BE-24-0002 is marked for the race with the ring it was given (not the ring handled last).
    chooseTab(1);
    pageChoose("cbbRaceCode", QStringLiteral("A1  05/10"));
    choose("cbbRingMember", QStringLiteral("Adams"));  // the list shows the eRings now
    find<QComboBox>("cbbRingPigeon")->setCurrentIndex(1);
    click("btnLayPigeonRing");
    uid = script->state().ringOnReader;
    EXPECT_TRUE(eRingOf(QStringLiteral("BE-24-0002")).contains(uid));
    EXPECT_EQ(script->state().ringOnReader, uid);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rows(QStringLiteral("select 1 from ZAVR_PigRaceData")).isEmpty(); }, 3000));
    EXPECT_EQ(rows(QStringLiteral("select PRingNo, RandomCode from ZAVR_PigRaceData")),
              QStringList{QStringLiteral("BE-24-0002|") + QString::number(ringData(uid).mid(8, 2).toInt(nullptr, 16))});
    EXPECT_TRUE(messageTexts().isEmpty());
}

}  // namespace
