#include "ClockClub.h"
#include "Dialogs.h"
#include "RowSetModel.h"
#include "SmsFiles.h"
#include "TfrmClockOP.h"
#include "WidgetDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

// The club's race A1 of 2024/05/10 from Arras with three entries: Adams' BE-24-0001 (reg. 0001)
// and BE-24-0003 (reg. 0003, eRing, comment " calm "), Baker's BE-24-0101 (reg. 0101); Baker has a
// telephone number and coordinates, Adams neither. The A1 of 2023 has no entries.
class SmsDownloadPage : public ClockClub {
protected:
    SmsDownloadPage()
    {
        db.run(QStringLiteral("update ZAVR_LoftData set PhoneNo='555', LoftLon='E121''23:24.33', LoftLat='N024''22:30.44' "
                              "where LoftNo='002'"));
        db.run(QStringLiteral("update ZAVR_PigData set RRegNumber=substr(PRingNo,7)"));
        db.run(QStringLiteral("update ZAVR_PigData set E_Ring='1A2B3C4D', UID='04A1B2C3', Comment=' calm ' "
                              "where PRingNo='BE-24-0003'"));
        db.run(QStringLiteral("update ZAVR_RaceData set LiberSite='Arras', LiberTime='07:30:00', LiberLon='E002''46:00', "
                              "LiberLat='N050''17:00' where ClubID='C1' and LiberCode='A1'"));
        db.run(QStringLiteral("insert into ZAVR_PigRaceData (LiberCode,LiberDate,PRingNo) values "
                              "('A1','2024-05-10 00:00:00','BE-24-0101'),('A1','2024-05-10 00:00:00','BE-24-0003'),"
                              "('A1','2024-05-10 00:00:00','BE-24-0001')"));
        page.resize(1000, 700);
        page.show();
        auto* tabs = controls.find<QTabWidget>("PageControl1");
        tabs->setCurrentWidget(controls.find<QWidget>("tsSMSDownload"));
        messageTexts();
    }

    QString path(const QString& name) const { return QDir(db.path()).filePath(name); }
    // Presets the answers of the three save dialogs: a name in the data folder, or cancel when empty.
    void answerDialogs(const QStringList& names)
    {
        for (const QString& name : names)
            Dialogs::setNextFileName(name.isEmpty() ? QString() : path(name));
    }
    QByteArray contents(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    RowSetModel* grid() const { return static_cast<RowSetModel*>(controls.find<QTableView>("DBGrid1")->model()); }

    TfrmClockOP page{dm(), db.folder()};
    WidgetDriver controls{page};
};

const QByteArray LoftFile = (QStringLiteral("001       Adams") + blanks(25) + blanks(15) + QStringLiteral("\r\n")
                             + QStringLiteral("002       Baker") + blanks(25) + QStringLiteral("555") + blanks(12)
                             + QStringLiteral("E1212324.33N0242230.44\r\n"))
                                .toLatin1();
const QByteArray RingFile = (QStringLiteral("001       Adams") + blanks(25) + QStringLiteral("BE-24-0001") + blanks(10) + blanks(6)
                             + blanks(30) + QStringLiteral("\r\n") + QStringLiteral("001       Adams") + blanks(25)
                             + QStringLiteral("BE-24-0003") + blanks(10) + QStringLiteral("1A2B3C4D04A1B2C3") + blanks(6)
                             + QStringLiteral("calm") + blanks(26) + QStringLiteral("\r\n") + QStringLiteral("002       Baker")
                             + blanks(25) + QStringLiteral("BE-24-0101") + blanks(10) + QStringLiteral("1111111104000001")
                             + blanks(6) + blanks(30) + QStringLiteral("\r\n"))
                                .toLatin1();
const QByteArray KeyFile = (QStringLiteral("A10510  Arras") + blanks(15) + blanks(16) + QStringLiteral("2024/05/1007:30:00")
                            + QStringLiteral("2024/05/1218:00:00") + QStringLiteral("E0024600N0501700\r\n"))
                               .toLatin1();

TEST_F(SmsDownloadPage, ChoosingARaceShowsItsEntriesAndWritesTheThreeFiles)
{
    answerDialogs({"COTE.txt", "RING.txt", "CRVLKEY.txt"});
    controls.choose("cbbRaceCodeSMSV6", QStringLiteral("A1 / 0510"));
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(contents(QStringLiteral("COTE.txt")), LoftFile);
    EXPECT_EQ(contents(QStringLiteral("RING.txt")), RingFile);
    EXPECT_EQ(contents(QStringLiteral("CRVLKEY.txt")), KeyFile);
    EXPECT_EQ(Dialogs::lastFileFilter(), QStringLiteral("Texe file (CRVLKEY.txt)"));
    EXPECT_EQ(Dialogs::lastFileDir(), QStringLiteral("CRVLKEY.txt"));

    // The grid: the entries by member and registration number, under the tab's titles.
    const auto* header = controls.find<QTableView>("DBGrid1")->horizontalHeader();
    QStringList titles;
    for (int visual = 0; visual < header->count(); ++visual)
        if (!header->isSectionHidden(header->logicalIndex(visual)))
            titles << grid()->headerData(header->logicalIndex(visual), Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"Member", "Pigeon", "eRingNo", "UID"}));
    QStringList shown;
    for (int r = 0; r < grid()->rowCount(); ++r)
        shown << grid()->displayText(r, QStringLiteral("LoftNo")) + QLatin1Char('|') + grid()->displayText(r, QStringLiteral("RRegNumber"));
    EXPECT_EQ(shown, (QStringList{"001|0001", "001|0003", "002|0101"}));

    // A race without entries, over the files of the first: only its key line is left.
    answerDialogs({"COTE.txt", "RING.txt", "CRVLKEY.txt"});
    controls.choose("cbbRaceCodeSMSV6", QStringLiteral("B2 / 0601"));
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(contents(QStringLiteral("COTE.txt")), QByteArray());
    EXPECT_EQ(contents(QStringLiteral("RING.txt")), QByteArray());
    EXPECT_TRUE(contents(QStringLiteral("CRVLKEY.txt")).startsWith("B20601  "));
}

TEST_F(SmsDownloadPage, ACancelledDialogSkipsOnlyItsFile)
{
    answerDialogs({"COTE.txt", QString(), "CRVLKEY.txt"});
    controls.choose("cbbRaceCodeSMSV6", QStringLiteral("A1 / 0510"));
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(contents(QStringLiteral("COTE.txt")), LoftFile);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("RING.txt"))));
    EXPECT_EQ(contents(QStringLiteral("CRVLKEY.txt")), KeyFile);
}

TEST_F(SmsDownloadPage, NoRaceChosenAsksForOneAndWritesNothing)
{
    answerDialogs({"COTE.txt", "RING.txt", "CRVLKEY.txt"});
    auto* race = controls.find<QComboBox>("cbbRaceCodeSMSV6");
    race->lineEdit()->clear();
    QTest::keyClick(race->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(messageTexts(), QStringList{QString::fromLatin1(SmsFiles::NoRaceMessage)});
    EXPECT_EQ(QDir(db.path()).entryList({QStringLiteral("*.txt")}, QDir::Files), QStringList{});
    // No dialog was shown: the preset names are still waiting.
    EXPECT_EQ(Dialogs::getSaveFileName(nullptr, QString(), QString()), path(QStringLiteral("COTE.txt")));
}

TEST_F(SmsDownloadPage, CharactersOutsideLatin1AreReplacedAndToldOnce)
{
    db.run(QStringLiteral("update ZAVR_LoftData set LoftName='Łukasz' where LoftNo='001'"));
    db.run(QStringLiteral("update ZAVR_LoftData set LoftName='Błaszczyk' where LoftNo='002'"));
    answerDialogs({"COTE.txt", "RING.txt", "CRVLKEY.txt"});
    controls.choose("cbbRaceCodeSMSV6", QStringLiteral("A1 / 0510"));
    EXPECT_EQ(messageTexts(), QStringList{QString::fromLatin1(SmsFiles::ReplacedCharactersMessage)});
    EXPECT_TRUE(contents(QStringLiteral("COTE.txt")).startsWith("001       ?ukasz"));
    EXPECT_EQ(contents(QStringLiteral("RING.txt")).count("B?aszczyk"), 1);
    EXPECT_EQ(contents(QStringLiteral("CRVLKEY.txt")), KeyFile);
}

TEST_F(SmsDownloadPage, AFileThatCannotBeWrittenEndsTheRemainingFiles)
{
    db.run(QStringLiteral("update ZAVR_LoftData set LoftName='Łukasz' where LoftNo='001'"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("RING.txt"))));
    answerDialogs({"COTE.txt", "RING.txt", "CRVLKEY.txt"});
    controls.choose("cbbRaceCodeSMSV6", QStringLiteral("A1 / 0510"));
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 2);
    // The first file was written, with a replaced character, before the second failed.
    EXPECT_EQ(shown.at(0), QString::fromLatin1(SmsFiles::ReplacedCharactersMessage));
    EXPECT_TRUE(shown.at(1).startsWith(QStringLiteral("Cannot write "))) << shown.at(1).toStdString();
    EXPECT_TRUE(contents(QStringLiteral("COTE.txt")).startsWith("001       ?ukasz"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("RING.txt"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("CRVLKEY.txt"))));
}

}  // namespace
