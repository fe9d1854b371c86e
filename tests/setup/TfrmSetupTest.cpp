#include "DatabaseBackup.h"
#include "Dialogs.h"
#include "TestDatabase.h"
#include "TfrmSetup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

template <typename T>
T* control(QWidget& page, const char* name)
{
    T* c = page.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        ADD_FAILURE() << "no control " << name;
    return c;
}

// Replaces the text of an edit the way a user does.
void retype(QWidget& page, const char* name, const QString& text)
{
    QLineEdit* edit = control<QLineEdit>(page, name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Picks an entry of a list the way a user does: the choice is announced as activated.
void choose(QWidget& page, const char* name, const QString& text)
{
    QComboBox* box = control<QComboBox>(page, name);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QStringList clubData(TdmZAVR& dm)
{
    return rows(dm, QStringLiteral("SELECT ClubID, ClubName, Street, City, PostCode, AssociationCode, Language, Mode, "
                                   "DBBackupDays FROM ZAVR_ClubData ORDER BY rowid"));
}

QStringList clubMap(TdmZAVR& dm)
{
    return rows(dm, QStringLiteral("SELECT ClubID, ClubName FROM ZAVR_ClubMap ORDER BY rowid"));
}

void seedClub(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('RPC', 'Royal Pigeon Club'), ('NHU', 'North Homing Union')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Street, City, PostCode, AssociationCode, Language, Mode, "
                         "DBBackupDays) VALUES ('RPC', 'Royal Pigeon Club', '1 Loft Lane', 'Leeds', 'LS1', 'NEHU', 0, 1, 7)"));
}

// A shown Setup page over a fresh database; ending the program is only counted.
struct SetupPage {
    TestDatabase t;
    std::unique_ptr<TfrmSetup> page;
    int programEnded = 0;

    explicit SetupPage(bool seeded = false)
    {
        if (seeded)
            seedClub(t);
        open();
    }
    void open()
    {
        page = std::make_unique<TfrmSetup>(t.dm(), t.folder());
        page->setEndProgram([this] { ++programEnded; });
        page->show();
    }
};

TEST(TfrmSetup, ControlsAndFixedTexts)
{
    SetupPage s;
    TfrmSetup& page = *s.page;
    EXPECT_EQ(page.objectName(), QStringLiteral("frmSetup"));
    EXPECT_EQ(control<QLabel>(page, "lblTitle")->text(), QStringLiteral("Setup"));
    for (const char* name : {"edtClubName", "edtClubAbbt", "edtClubStreet", "edtClubToneCity", "edtPostCode", "edtAssociation", "edtDay"})
        control<QLineEdit>(page, name);
    EXPECT_EQ(control<QPushButton>(page, "btnLoadBk")->text(), QStringLiteral("Load Backup"));
    EXPECT_EQ(control<QPushButton>(page, "btnBackNow")->text(), QStringLiteral("Back Now"));
    EXPECT_NE(page.findChild<QWidget*>(QStringLiteral("udDate")), nullptr);
    QStringList labels;
    for (const QLabel* l : page.findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Name :", "Club Abbreviation :", "Street :", "Town/City", "Post Code :", "Association :", "Langue :",
                             "Mode :", "What is the maximum age", "of then databases backup ? ", "Day", "Program Version :",
                             "V6.0", "Corvel V6  Vervision :"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    QStringList groups;
    for (const QGroupBox* g : page.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{QStringLiteral("Club address :"), QStringLiteral("Backup databases :"), QStringLiteral("System datail :")}));

    QComboBox* mode = control<QComboBox>(page, "cbbMode");
    EXPECT_EQ(mode->itemText(0), QStringLiteral("m/min"));
    EXPECT_EQ(mode->itemText(1), QStringLiteral("yds/min"));
    EXPECT_EQ(control<QComboBox>(page, "cbbLangue")->itemText(0), QStringLiteral("English"));
    QComboBox* clubs = control<QComboBox>(page, "cbbClubName");
    EXPECT_EQ(clubs->count(), 2);
    EXPECT_EQ(clubs->currentIndex(), -1);
    EXPECT_EQ(control<QLineEdit>(page, "edtDay")->text(), QStringLiteral("0"));
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    EXPECT_EQ(QApplication::focusWidget(), clubs);
}

TEST(TfrmSetup, FillsTheControlsFromTheSettingsRow)
{
    SetupPage s(true);
    TfrmSetup& page = *s.page;
    EXPECT_EQ(control<QLineEdit>(page, "edtClubName")->text(), QStringLiteral("Royal Pigeon Club"));
    EXPECT_EQ(control<QLineEdit>(page, "edtClubAbbt")->text(), QStringLiteral("RPC"));
    EXPECT_EQ(control<QLineEdit>(page, "edtClubStreet")->text(), QStringLiteral("1 Loft Lane"));
    EXPECT_EQ(control<QLineEdit>(page, "edtClubToneCity")->text(), QStringLiteral("Leeds"));
    EXPECT_EQ(control<QLineEdit>(page, "edtPostCode")->text(), QStringLiteral("LS1"));
    EXPECT_EQ(control<QLineEdit>(page, "edtAssociation")->text(), QStringLiteral("NEHU"));
    EXPECT_EQ(control<QComboBox>(page, "cbbMode")->currentIndex(), 1);
    EXPECT_EQ(control<QLineEdit>(page, "edtDay")->text(), QStringLiteral("7"));
    QComboBox* clubs = control<QComboBox>(page, "cbbClubName");
    QStringList items;
    for (int i = 0; i < clubs->count(); ++i)
        items << clubs->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("Custom"), QStringLiteral("------------"), QStringLiteral("Royal Pigeon Club"),
                                  QStringLiteral("North Homing Union")}));
    EXPECT_EQ(clubs->currentIndex(), -1);
}

TEST(TfrmSetup, ChoosingFromTheClubList)
{
    SetupPage s(true);
    TfrmSetup& page = *s.page;
    QLineEdit* name = control<QLineEdit>(page, "edtClubName");
    QLineEdit* abbreviation = control<QLineEdit>(page, "edtClubAbbt");
    EXPECT_TRUE(name->isEnabled());
    EXPECT_TRUE(abbreviation->isEnabled());

    choose(page, "cbbClubName", QStringLiteral("North Homing Union"));
    EXPECT_EQ(name->text(), QStringLiteral("North Homing Union"));
    EXPECT_EQ(abbreviation->text(), QStringLiteral("NHU"));
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(abbreviation->isEnabled());

    choose(page, "cbbClubName", QStringLiteral("------------"));
    EXPECT_EQ(name->text(), QStringLiteral("North Homing Union"));
    EXPECT_FALSE(name->isEnabled());

    choose(page, "cbbClubName", QStringLiteral("Custom"));
    EXPECT_TRUE(name->isEnabled());
    EXPECT_TRUE(abbreviation->isEnabled());
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST(TfrmSetup, TheAbbreviationIsTypedInCapitals)
{
    SetupPage s;
    QTest::keyClicks(control<QLineEdit>(*s.page, "edtClubAbbt"), QStringLiteral("rpc1"));
    EXPECT_EQ(control<QLineEdit>(*s.page, "edtClubAbbt")->text(), QStringLiteral("RPC1"));
}

TEST(TfrmSetup, TheUpDownStepsTheBackupAgeBetween0And100)
{
    SetupPage s;
    QLineEdit* days = control<QLineEdit>(*s.page, "edtDay");
    QWidget* upDown = s.page->findChild<QWidget*>(QStringLiteral("udDate"));
    ASSERT_NE(upDown, nullptr);
    QToolButton* up = upDown->findChild<QToolButton*>(QStringLiteral("btnUp"));
    QToolButton* down = upDown->findChild<QToolButton*>(QStringLiteral("btnDown"));
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    struct Step {
        const char* before;
        QToolButton* button;
        const char* after;
    };
    const std::vector<Step> steps = {{"0", down, "0"}, {"0", up, "1"}, {"99", up, "100"}, {"100", up, "100"},
                                     {"250", up, "100"}, {"250", down, "100"}, {"x", up, "1"}, {"5", down, "4"}};
    for (const Step& step : steps) {
        days->setText(QString::fromLatin1(step.before));
        QTest::mouseClick(step.button, Qt::LeftButton);
        EXPECT_EQ(days->text(), QString::fromLatin1(step.after)) << step.before;
    }
}

TEST(TfrmSetup, TextFieldsTakeAtMostTheirColumnsWidthAsTyped)
{
    SetupPage s;
    const struct {
        const char* edit;
        int width;
    } fields[] = {{"edtClubName", 50}, {"edtClubAbbt", 10}, {"edtClubStreet", 50},
                  {"edtClubToneCity", 30}, {"edtPostCode", 10}, {"edtAssociation", 10}};
    for (const auto& f : fields) {
        QLineEdit* edit = control<QLineEdit>(*s.page, f.edit);
        edit->clear();
        QTest::keyClicks(edit, QString(60, QLatin1Char('X')));
        EXPECT_EQ(edit->text().size(), f.width) << f.edit;
    }
}

TEST(TfrmSetup, TheBackupAgeIsANarrowBoxAndTheBackupButtonsAreOfOneSize)
{
    SetupPage s;
    s.page->resize(1024, 700);
    QApplication::processEvents();
    QLineEdit* days = control<QLineEdit>(*s.page, "edtDay");
    QWidget* upDown = s.page->findChild<QWidget*>(QStringLiteral("udDate"));
    ASSERT_NE(upDown, nullptr);
    EXPECT_LE(days->width(), 80);
    // The arrows sit against the box, the unit after them.
    EXPECT_LE(std::abs(upDown->geometry().left() - days->geometry().right()), 2);
    EXPECT_LT(upDown->geometry().right(), control<QLabel>(*s.page, "lblDay")->geometry().left());
    EXPECT_EQ(control<QPushButton>(*s.page, "btnLoadBk")->size(), control<QPushButton>(*s.page, "btnBackNow")->size());
}

struct LeaveCase {
    const char* what;
    bool seeded;
    std::function<void(TfrmSetup&)> act;
    bool leaves;                // the page may be left
    QStringList messages;       // shown on leaving
    QStringList clubData;       // afterwards
    QStringList clubMap;        // afterwards
    friend void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.what; }
};

const QStringList SeededData{QStringLiteral("RPC|Royal Pigeon Club|1 Loft Lane|Leeds|LS1|NEHU|0|1|7")};
const QStringList SeededMap{QStringLiteral("RPC|Royal Pigeon Club"), QStringLiteral("NHU|North Homing Union")};

class LeavingThePage : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(LeavingThePage, StoresTheSettings)
{
    const LeaveCase& c = GetParam();
    SetupPage s(c.seeded);
    c.act(*s.page);
    Dialogs::takeMessages();
    EXPECT_EQ(s.page->close(), c.leaves);
    EXPECT_EQ(s.page->isVisible(), !c.leaves);
    const QStringList shown = messageTexts();
    if (c.messages.isEmpty() || c.leaves) {
        EXPECT_EQ(shown, c.messages);
    } else {
        // The reason the page stays: one clear message naming what to correct.
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown.first().contains(c.messages.first())) << shown.first().toStdString();
    }
    EXPECT_EQ(clubData(s.t.dm()), c.clubData);
    EXPECT_EQ(clubMap(s.t.dm()), c.clubMap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeavingThePage,
    ::testing::Values(
        LeaveCase{"an empty database gets its settings row", false, [](TfrmSetup&) {}, true, {},
                  {QStringLiteral("||||||0|0|0")}, {}},
        LeaveCase{"a listed club with another abbreviation replaces the row", true,
                  [](TfrmSetup& p) {
                      choose(p, "cbbClubName", QStringLiteral("North Homing Union"));
                      retype(p, "edtClubToneCity", QStringLiteral("York"));
                      retype(p, "edtDay", QStringLiteral("14"));
                  },
                  true, {}, {QStringLiteral("NHU|North Homing Union|1 Loft Lane|York|LS1|NEHU|0|1|14")}, SeededMap},
        LeaveCase{"custom with a listed abbreviation changes no table", true,
                  [](TfrmSetup& p) {
                      choose(p, "cbbClubName", QStringLiteral("Custom"));
                      retype(p, "edtClubName", QStringLiteral("Copy Club"));
                      retype(p, "edtClubAbbt", QStringLiteral("nhu"));
                      retype(p, "edtClubStreet", QStringLiteral("Elsewhere"));
                  },
                  true, {QStringLiteral("Club Abbrivation duplicate ! Club data setup fail !")}, SeededData, SeededMap},
        LeaveCase{"a new custom club is listed and becomes the club", true,
                  [](TfrmSetup& p) {
                      choose(p, "cbbClubName", QStringLiteral("Custom"));
                      retype(p, "edtClubName", QStringLiteral("East Flyers"));
                      retype(p, "edtClubAbbt", QStringLiteral("ef"));
                  },
                  true, {}, {QStringLiteral("EF|East Flyers|1 Loft Lane|Leeds|LS1|NEHU|0|1|7")},
                  SeededMap + QStringList{QStringLiteral("EF|East Flyers")}},
        LeaveCase{"changing only the name keeps the stored name", true,
                  [](TfrmSetup& p) {
                      retype(p, "edtClubName", QStringLiteral("Renamed"));
                      choose(p, "cbbMode", QStringLiteral("m/min"));
                  },
                  true, {}, {QStringLiteral("RPC|Royal Pigeon Club|1 Loft Lane|Leeds|LS1|NEHU|0|0|7")}, SeededMap},
        LeaveCase{"a backup age that is not a number keeps the page", true,
                  [](TfrmSetup& p) { retype(p, "edtDay", QStringLiteral("1o")); }, false, {QStringLiteral("0 to 65535")},
                  SeededData, SeededMap},
        LeaveCase{"a backup age beyond 65535 keeps the page", true,
                  [](TfrmSetup& p) { retype(p, "edtDay", QStringLiteral("70000")); }, false, {QStringLiteral("0 to 65535")},
                  SeededData, SeededMap},
        LeaveCase{"an empty backup age keeps the page", false, [](TfrmSetup& p) { retype(p, "edtDay", QString()); }, false,
                  {QStringLiteral("0 to 65535")}, {}, {}}));

TEST(TfrmSetup, ACorrectedBackupAgeLetsThePageBeLeftWithTheNewCustomClub)
{
    SetupPage s(true);
    TfrmSetup& page = *s.page;
    choose(page, "cbbClubName", QStringLiteral("Custom"));
    retype(page, "edtClubName", QStringLiteral("East Flyers"));
    retype(page, "edtClubAbbt", QStringLiteral("EF"));
    retype(page, "edtDay", QStringLiteral("-3"));
    EXPECT_FALSE(page.close());
    EXPECT_EQ(messageTexts().size(), 1);
    retype(page, "edtDay", QStringLiteral("3"));
    EXPECT_TRUE(page.close());
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(clubData(s.t.dm()), QStringList{QStringLiteral("EF|East Flyers|1 Loft Lane|Leeds|LS1|NEHU|0|1|3")});
    EXPECT_EQ(clubMap(s.t.dm()), SeededMap + QStringList{QStringLiteral("EF|East Flyers")});
}

TEST(TfrmSetup, BackNowWritesTheChosenNameWithTheDate)
{
    SetupPage s(true);
    const QString chosen = s.t.path() + QStringLiteral("/club.Bak");
    const QDate before = QDate::currentDate();
    Dialogs::setNextFileName(chosen);
    QTest::mouseClick(control<QPushButton>(*s.page, "btnBackNow"), Qt::LeftButton);
    const QDate after = QDate::currentDate();
    EXPECT_EQ(Dialogs::lastFileFilter(), QStringLiteral("Access BackUp files (*.Bak)"));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("backup was successful!")});
    const QString target = DatabaseBackup::backupNowTarget(chosen, before);
    const QString target2 = DatabaseBackup::backupNowTarget(chosen, after);
    const QString written = QFile::exists(target) ? target : target2;
    TdmZAVR copy(written);
    ASSERT_TRUE(copy.open()) << copy.openError().toStdString();
    EXPECT_EQ(clubMap(copy), SeededMap);
    EXPECT_FALSE(QFile::exists(chosen));
}

TEST(TfrmSetup, BackNowIntoAFolderThatCannotBeWrittenSaysSo)
{
    SetupPage s;
    Dialogs::setNextFileName(s.t.path() + QStringLiteral("/missing/club"));
    QTest::mouseClick(control<QPushButton>(*s.page, "btnBackNow"), Qt::LeftButton);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("backup failed, please retry!")});
}

TEST(TfrmSetup, CancelledDialogsChangeNothing)
{
    SetupPage s(true);
    const QStringList filesBefore = QDir(s.t.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const char* button : {"btnBackNow", "btnLoadBk"}) {
        QTest::mouseClick(control<QPushButton>(*s.page, button), Qt::LeftButton);
        EXPECT_EQ(Dialogs::lastFileFilter(), QStringLiteral("Access BackUp files (*.Bak)")) << button;
    }
    EXPECT_EQ(Dialogs::lastFileDir(), s.t.folder().backupFolder());
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(QDir(s.t.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), filesBefore);
    EXPECT_TRUE(s.t.dm().isOpen());
    EXPECT_EQ(s.programEnded, 0);
}

TEST(TfrmSetup, LoadBackupRestoresAndEndsTheProgram)
{
    SetupPage s(true);
    const QString backup = s.t.path() + QStringLiteral("/club_240501.Bak");
    DatabaseBackup::backupNow(s.t.dm(), backup);
    s.t.run(QStringLiteral("DELETE FROM ZAVR_ClubMap"));
    Dialogs::setNextFileName(backup);
    QTest::mouseClick(control<QPushButton>(*s.page, "btnLoadBk"), Qt::LeftButton);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("successful recovery of data!")});
    EXPECT_EQ(s.programEnded, 1);
    // Leaving the page writes nothing into the restored database.
    retype(*s.page, "edtDay", QStringLiteral("bad"));
    EXPECT_TRUE(s.page->close());
    EXPECT_TRUE(messageTexts().isEmpty());
    TdmZAVR restored(s.t.folder().databasePath());
    ASSERT_TRUE(restored.open());
    EXPECT_EQ(clubMap(restored), SeededMap);
    EXPECT_EQ(clubData(restored), SeededData);
}

TEST(TfrmSetup, AFailedRestoreLeavesThePageWorking)
{
    SetupPage s(true);
    const QString notADatabase = s.t.path() + QStringLiteral("/notes.Bak");
    {
        QFile f(notADatabase);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database");
    }
    Dialogs::setNextFileName(notADatabase);
    QTest::mouseClick(control<QPushButton>(*s.page, "btnLoadBk"), Qt::LeftButton);
    EXPECT_EQ(Dialogs::lastFileDir(), s.t.folder().backupFolder());
    EXPECT_EQ(messageTexts(), QStringList{notADatabase + QStringLiteral(" is not a backup of this program: it is not a database.")});
    EXPECT_EQ(s.programEnded, 0);
    retype(*s.page, "edtClubToneCity", QStringLiteral("Hull"));
    EXPECT_TRUE(s.page->close());
    EXPECT_EQ(clubData(s.t.dm()), QStringList{QStringLiteral("RPC|Royal Pigeon Club|1 Loft Lane|Hull|LS1|NEHU|0|1|7")});
}

TEST(TfrmSetup, SettingsThatCannotBeStoredMayBeLeftWithoutSaving)
{
    SetupPage s(true);
    retype(*s.page, "edtClubToneCity", QStringLiteral("York"));
    retype(*s.page, "edtDay", QStringLiteral("a week"));
    Dialogs::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(s.page->close());
    const auto shown = Dialogs::takeMessages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().kind, Dialogs::Kind::Question);
    EXPECT_TRUE(shown.first().text.contains(QStringLiteral("'a week' is not a valid backup age"))) << shown.first().text.toStdString();
    EXPECT_TRUE(shown.first().text.endsWith(QStringLiteral("Leave the Setup page without saving them?")));
    EXPECT_EQ(clubData(s.t.dm()), SeededData);
}

TEST(TfrmSetup, AReadOnlyClubIsLeftQuietlyUnlessTheSettingsWereChanged)
{
    SetupPage s(true);
    s.t.dm().close();
    s.t.dm().setReadOnly(true);
    ASSERT_TRUE(s.t.dm().open());
    s.open();
    EXPECT_TRUE(s.page->close());
    EXPECT_TRUE(messageTexts().isEmpty());

    s.open();
    retype(*s.page, "edtClubToneCity", QStringLiteral("York"));
    EXPECT_FALSE(s.page->close());
    Dialogs::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(s.page->close());
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown.first().startsWith(TdmZAVR::ReadOnlyMessage)) << shown.first().toStdString();
    EXPECT_EQ(clubData(s.t.dm()), SeededData);
}

TEST(TfrmSetup, WithoutAnOpenDatabaseThePageCanStillBeLeft)
{
    SetupPage s;
    s.t.dm().close();
    Dialogs::takeMessages();
    EXPECT_TRUE(s.page->close());
    EXPECT_EQ(messageTexts().size(), 1);
}

}  // namespace
