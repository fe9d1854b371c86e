#include "Dialogs.h"
#include "Pickers.h"
#include "RacePageDriver.h"
#include "RowSetModel.h"
#include "TestDatabase.h"
#include "TfrmRace.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

void addClub(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap VALUES ('C1', 'North Club'), ('C2', 'South Club')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName, LoftLon, LoftLat) VALUES "
                         "('L1', 'Peeters', 'E121''23:24.33', 'N024''22:30.44'), ('L2', 'Adams', NULL, NULL)"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LiberateSite VALUES ('12', 'Arras', 'ARR', 'E120''30:00', 'N023''30:00')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Miles, Yards) VALUES ('12', 'L1', 0, 0), ('12', 'L2', 5, 5000)"));
}

void addRaces(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberSite, LiberSiteAbbr, LiberDate, LiberTime, LiberLon, LiberLat, RaceCode) VALUES "
                         "('C1', '12', 'Arras', 'ARR', '2024-03-05 00:00:00', '07:30:00', 'E120''30:00', 'N023''30:00', '120305'), "
                         "('C2', '12', 'Arras South', 'ARS', '2024-03-05 00:00:00', NULL, NULL, NULL, '120305')"));
}

// "AddNew" for North Club with a liberation point of its own ("Customized LibPoint").
void startNewPoint(RacePage& p, const QString& abbreviation, const QString& site, const QString& code)
{
    p.click("btn1");
    p.get<QComboBox>("combClub")->setCurrentIndex(0);
    p.get<QCheckBox>("chkLibPoint")->click();
    QTest::keyClicks(p.get<QLineEdit>("edtlibSiteAbbriv"), abbreviation);
    QTest::keyClicks(p.get<QComboBox>("combLibSite")->lineEdit(), site);
    QTest::keyClicks(p.get<QLineEdit>("edtLibCode"), code);
}

TEST(TfrmRace, ShowsListsRacesAndTheStartView)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    EXPECT_EQ(p.get<QLabel>("lblTitle")->text(), QStringLiteral("Race Points"));
    auto* clubs = p.get<QComboBox>("combClub");
    ASSERT_EQ(clubs->count(), 2);
    EXPECT_EQ(clubs->itemText(1), QStringLiteral("South Club"));
    EXPECT_EQ(p.get<QComboBox>("combLibSite")->itemText(0), QStringLiteral("Arras"));

    const QStringList titles{"Club", "Code", "LibSite Abbre.", "Liberation Site", "Lib. Date", "Lib. Time"};
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(p.grid->model()->headerData(c, Qt::Horizontal).toString(), titles.at(c));
    EXPECT_EQ(p.column(p.grid, 0), (QStringList{"C1", "C2"}));
    EXPECT_EQ(p.column(p.grid, 4), (QStringList{"2024/03/05", "2024/03/05"}));
    EXPECT_EQ(p.column(p.grid, 5), (QStringList{"07:30:00", ""}));
    EXPECT_TRUE(p.grid->isColumnHidden(6));

    EXPECT_FALSE(p.hidden("pnlRacePoint"));
    for (const char* name : {"pnlRaceResult", "pnlSunData", "pnlLoftLibPointDist", "pnlLoftRaceStat", "pnlOtherClosk",
                             "rgRacePoint", "grpClubMap"})
        EXPECT_TRUE(p.hidden(name)) << name;
    for (const char* name : {"edtlibSiteAbbriv", "edtLibCode", "medtRaceLon", "medtRaceLat"})
        EXPECT_FALSE(p.get<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(p.get<QWidget>("combClub")->isEnabled());
    EXPECT_EQ(p.get<QDateEdit>("dtpLibDate")->date(), QDate::currentDate());
    EXPECT_EQ(p.get<QLineEdit>("medtRaceLon")->displayText(), QStringLiteral("____'__:__"));
    auto* menu = p.get<QWidget>("rgRacePoint");
    ASSERT_EQ(p.menuItems().size(), 8);
    EXPECT_EQ(p.menuItems().at(7)->text(), QStringLiteral("Add/Edit other Clock"));
    const QPoint at = p.grid->visualRect(p.grid->model()->index(0, 0)).center();
    QTest::mouseClick(p.grid->viewport(), Qt::RightButton, {}, at);
    EXPECT_FALSE(menu->isHidden());
    EXPECT_EQ(menu->pos(), p.grid->viewport()->mapTo(p.page.get(), at) + QPoint(30, 10));
    QTest::mouseClick(p.grid->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(menu->isHidden());
    EXPECT_EQ(frmRace.data(), nullptr);  // only the main window sets the program-wide reference
}

TEST(TfrmRace, LiberationCodeKeyFilter)
{
    struct Case {
        QString typed;
        QString expected;
    };
    const std::vector<Case> cases = {{QStringLiteral("1a"), QString()},
                                     {QStringLiteral("1A"), QStringLiteral("1A")},
                                     {QStringLiteral("12345"), QStringLiteral("1234")},
                                     {QStringLiteral("AB-C"), QStringLiteral("AC")},
                                     {QStringLiteral("FG"), QString()}};
    TestDatabase t;
    RacePage p(t);
    p.click("btn1");
    p.get<QCheckBox>("chkLibPoint")->click();
    auto* code = p.get<QLineEdit>("edtLibCode");
    ASSERT_TRUE(code->isEnabled());
    for (const Case& c : cases) {
        code->clear();
        QTest::keyClicks(code, c.typed);
        EXPECT_EQ(code->text(), c.expected) << c.typed.toStdString();
    }
}

TEST(TfrmRace, SavesANewPointAndRaceFromTheDetailGroup)
{
    TestDatabase t;
    addClub(t);
    RacePage p(t);
    p.click("btn1");
    auto* club = p.get<QComboBox>("combClub");
    club->setCurrentIndex(0);
    p.get<QCheckBox>("chkLibPoint")->click();
    QTest::keyClicks(p.get<QLineEdit>("edtlibSiteAbbriv"), QStringLiteral("qvr"));
    EXPECT_EQ(p.get<QLineEdit>("edtlibSiteAbbriv")->text(), QStringLiteral("QVR"));
    QTest::keyClicks(p.get<QComboBox>("combLibSite")->lineEdit(), QStringLiteral("Quievrain"));
    QTest::keyClicks(p.get<QLineEdit>("edtLibCode"), QStringLiteral("1A2F"));
    p.typeCoordinate("medtRaceLon", QStringLiteral("e1203000"));
    p.typeCoordinate("medtRaceLat", QStringLiteral("N0233000"));
    p.get<QDateEdit>("dtpLibDate")->setDate(QDate(2024, 8, 19));
    p.get<QTimeEdit>("dtpLibTime")->setTime(QTime(7, 15, 0));
    p.click("btnOK");

    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite"),
                    QStringLiteral("LiberCode = '1A2F' AND LiberSite = 'Quievrain' AND LiberSiteAbbr = 'QVR' AND "
                                   "LiberLon = 'E120''30:00' AND LiberLat = 'N023''30:00'")),
              1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("LiberCode = '1A2F' AND Yards = 0")), 2);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"),
                    QStringLiteral("ClubID = 'C1' AND RaceCode = '1A2F0819' AND LiberTime = '07:15:00' AND "
                                   "LiberLon = 'E120''30:00'")),
              1);
    EXPECT_EQ(p.column(p.grid, 1), QStringList{QStringLiteral("1A2F")});
    EXPECT_FALSE(p.get<QCheckBox>("chkLibPoint")->isChecked());
    for (const char* name : {"edtlibSiteAbbriv", "edtLibCode", "medtRaceLon", "medtRaceLat"})
        EXPECT_FALSE(p.get<QWidget>(name)->isEnabled()) << name;
    EXPECT_EQ(p.get<QComboBox>("combLibSite")->count(), 2);
}

TEST(TfrmRace, NewPointWithoutAbbreviationOrUnknownClubIsRefused)
{
    TestDatabase t;
    addClub(t);
    RacePage p(t);
    startNewPoint(p, QString(), QStringLiteral("Quievrain"), QStringLiteral("7"));
    p.click("btnOK");
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Set new liberate point find data entry error !")});

    QTest::keyClicks(p.get<QLineEdit>("edtlibSiteAbbriv"), QStringLiteral("Q"));
    p.get<QComboBox>("combClub")->setEditText(QStringLiteral("Nobody"));
    p.click("btnOK");
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains(QStringLiteral("\"Nobody\" is not in the club list")));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 0);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite")), 1);
}

TEST(TfrmRace, ChoosingASiteFillsThePointAndBlankLongitudeSavesNulls)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_LiberateSite VALUES ('9', 'Noyon', 'NOY', NULL, NULL)"));
    RacePage p(t);
    p.click("btn1");
    p.get<QComboBox>("combClub")->setCurrentIndex(1);
    auto* site = p.get<QComboBox>("combLibSite");
    site->setCurrentIndex(0);
    emit site->textActivated(site->currentText());
    EXPECT_EQ(p.get<QLineEdit>("edtLibCode")->text(), QStringLiteral("12"));
    EXPECT_EQ(p.get<QLineEdit>("edtlibSiteAbbriv")->text(), QStringLiteral("ARR"));
    EXPECT_EQ(p.get<QLineEdit>("medtRaceLon")->text(), QStringLiteral("E120'30:00"));

    site->setCurrentIndex(1);
    emit site->textActivated(site->currentText());
    EXPECT_EQ(p.get<QLineEdit>("edtLibCode")->text(), QStringLiteral("9"));
    p.get<QDateEdit>("dtpLibDate")->setDate(QDate(2024, 5, 1));
    p.click("btnOK");
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"),
                    QStringLiteral("ClubID = 'C2' AND LiberCode = '9' AND LiberLon IS NULL AND LiberLat IS NULL")),
              1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite")), 2);  // the point existed
}

TEST(TfrmRace, ClickedRaceFillsTheGroupAndSavesAsUpdateOrAsSecondRace)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    p.clickRow(1);
    EXPECT_EQ(p.get<QComboBox>("combClub")->currentText(), QStringLiteral("South Club"));
    EXPECT_EQ(p.get<QComboBox>("combLibSite")->currentText(), QStringLiteral("Arras South"));
    EXPECT_EQ(p.get<QLineEdit>("edtlibSiteAbbriv")->text(), QStringLiteral("ARS"));
    EXPECT_EQ(p.get<QDateEdit>("dtpLibDate")->date(), QDate(2024, 3, 5));
    p.clickRow(0);
    EXPECT_EQ(p.get<QComboBox>("combClub")->currentText(), QStringLiteral("North Club"));
    EXPECT_EQ(p.get<QLineEdit>("medtRaceLat")->text(), QStringLiteral("N023'30:00"));
    EXPECT_EQ(p.get<QTimeEdit>("dtpLibTime")->time(), QTime(7, 30, 0));

    p.get<QTimeEdit>("dtpLibTime")->setTime(QTime(9, 0, 0));
    p.click("btnOK");
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 2);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("ClubID = 'C1' AND LiberTime = '09:00:00'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("ClubID = 'C2' AND LiberTime IS NULL")), 1);

    p.get<QDateEdit>("dtpLibDate")->setDate(QDate(2024, 3, 12));
    p.click("btnOK");
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 3);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("RaceCode = '120312' AND ClubID = 'C1'")), 1);
    EXPECT_EQ(p.grid->model()->rowCount(), 3);
}

TEST(TfrmRace, DeletePointAsksFirst)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise VALUES ('120305', '2024-03-05 00:00:00', '18:30:00', '06:40:00', 'A')"));
    RacePage p(t);
    p.clickRow(0);
    Dialogs::setNextAnswer(QMessageBox::No);
    p.menu(1);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("This will delete the data ?")});
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 2);

    Dialogs::setNextAnswer(QMessageBox::Yes);
    p.menu(1);
    messageTexts();
    EXPECT_TRUE(p.hidden("rgRacePoint"));
    for (const QRadioButton* item : p.menuItems())
        EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("ClubID = 'C2'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise")), 0);
    EXPECT_EQ(p.column(p.grid, 0), QStringList{QStringLiteral("C2")});
}

TEST(TfrmRace, SunTableRoundTripAndRefusedCell)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    p.clickRow(0);
    p.click("btnSetSunData");
    auto* sun = p.get<QTableWidget>("StrGridSunSet");
    EXPECT_FALSE(p.hidden("pnlSunData"));
    EXPECT_EQ(sun->item(0, 0)->text(), QStringLiteral("Race Date"));
    EXPECT_EQ(sun->item(1, 2)->text(), QStringLiteral("hh:nn:ss"));
    sun->item(2, 0)->setText(QStringLiteral("2024-03-05"));
    sun->item(2, 1)->setText(QStringLiteral("Arras"));
    sun->item(2, 2)->setText(QStringLiteral("18:31:00"));
    sun->item(2, 3)->setText(QStringLiteral("06:40:00"));
    sun->item(4, 0)->setText(QStringLiteral("2024-03-06"));
    sun->item(4, 2)->setText(QStringLiteral("18:32:00"));
    sun->item(4, 3)->setText(QStringLiteral("06:38:00"));
    p.click("btnOK_Sun");
    EXPECT_TRUE(p.hidden("pnlSunData"));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise"), QStringLiteral("RaceCode = '120305'")), 2);

    p.click("btnSetSunData");
    EXPECT_EQ(sun->item(2, 0)->text(), QStringLiteral("24-03-05"));
    EXPECT_EQ(sun->item(3, 0)->text(), QStringLiteral("24-03-06"));
    EXPECT_EQ(sun->item(3, 3)->text(), QStringLiteral("06:38:00"));
    EXPECT_EQ(sun->item(4, 0)->text(), QString());
    sun->item(3, 2)->setText(QStringLiteral("late"));
    p.click("btnOK_Sun");
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains(QStringLiteral("day row 2"))) << shown.front().toStdString();
    EXPECT_FALSE(p.hidden("pnlSunData"));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise"), QStringLiteral("SunSet = '18:32:00'")), 1);
    p.click("btnCan_Sun");
    EXPECT_TRUE(p.hidden("pnlSunData"));
}

TEST(TfrmRace, ClubsAndPointsFromTheirMenus)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    p.get<QAction>("AAdd1")->trigger();
    EXPECT_FALSE(p.hidden("grpClubMap"));
    QTest::keyClicks(p.get<QLineEdit>("edtClubCode"), QStringLiteral("C3"));
    QTest::keyClicks(p.get<QLineEdit>("edtClubNmae"), QStringLiteral("East Club"));
    p.click("btnClubSave");
    EXPECT_TRUE(p.hidden("grpClubMap"));
    EXPECT_EQ(p.get<QComboBox>("combClub")->count(), 3);

    p.get<QComboBox>("combClub")->setCurrentIndex(0);
    p.get<QAction>("DDelete2")->trigger();
    EXPECT_EQ(p.get<QComboBox>("combClub")->itemText(0), QStringLiteral("South Club"));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_ClubMap")), 2);

    p.clickRow(0);  // code 12 in the detail group
    p.get<QAction>("DDelete1")->trigger();
    EXPECT_EQ(p.get<QComboBox>("combLibSite")->count(), 0);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist")), 0);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 2);
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST(TfrmRace, CancelDisablesTheGroupUntilAddNew)
{
    TestDatabase t;
    RacePage p(t);
    p.click("btnCancel");
    EXPECT_FALSE(p.get<QGroupBox>("grpLibDetail")->isEnabled());
    p.click("btn1");
    EXPECT_TRUE(p.get<QGroupBox>("grpLibDetail")->isEnabled());
    EXPECT_FALSE(p.get<QWidget>("edtLibCode")->isEnabled());
}

TEST(TfrmRace, TitleClicksToggleTheSortThatOutlivesThePage)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    TfrmRace::sortOrder().clear();
    {
        RacePage p(t);
        p.clickTitle(p.grid, 3);
        EXPECT_EQ(TfrmRace::sortOrder(), QStringLiteral("LiberSite ASC"));
        EXPECT_EQ(p.column(p.grid, 3), (QStringList{"Arras", "Arras South"}));
        p.clickTitle(p.grid, 3);
        EXPECT_EQ(p.column(p.grid, 3), (QStringList{"Arras South", "Arras"}));
        p.clickTitle(p.grid, 0);
        EXPECT_EQ(TfrmRace::sortOrder(), QStringLiteral("ClubID ASC"));
    }
    RacePage again(t);
    again.clickTitle(again.grid, 0);
    EXPECT_EQ(TfrmRace::sortOrder(), QStringLiteral("ClubID DESC"));
    EXPECT_EQ(again.column(again.grid, 0), (QStringList{"C2", "C1"}));
    TfrmRace::sortOrder().clear();
}

TEST(TfrmRace, DistanceViewUpdatesAndTakesHandEdits)
{
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        TestDatabase t;
        addClub(t);
        addRaces(t);
        t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, Mode) VALUES ('C1', ?)"), {mode});
        TfrmRace::sortOrder().clear();
        RacePage p(t);
        p.clickRow(0);
        p.menu(3);
        EXPECT_TRUE(p.hidden("pnlRacePoint"));
        EXPECT_FALSE(p.hidden("pnlLoftLibPointDist"));
        EXPECT_EQ(p.get<QLabel>("lblLoftPointDistTitle")->text(), QStringLiteral("Members Distance of Arras"));
        auto* grid = p.get<QTableView>("dbgrdLoftLibDist");
        const auto* model = grid->model();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Member"));
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("LoftNo"));
        EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), mode ? QStringLiteral("Miles") : QStringLiteral("KM"));
        EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), mode ? QStringLiteral("Yards") : QStringLiteral("M"));

        p.click("btnLoftDistUpdate");
        EXPECT_TRUE(messageTexts().isEmpty());
        EXPECT_EQ(p.column(grid, 0), (QStringList{"Peeters", "Adams"}));
        EXPECT_EQ(p.column(grid, 3), (QStringList{mode ? "145,200" : "132,771", "5,000"}));  // Adams: no longitude, kept

        // Digits and Enter store; a letter discards the change being typed.
        // The first digit opens the cell's editor, which takes the rest of the typing.
        auto editor = [grid]() -> QLineEdit* {
            for (QLineEdit* e : grid->findChildren<QLineEdit*>(QStringLiteral("dbgrdLoftLibDistEditor")))
                if (e->isVisible())
                    return e;
            return nullptr;
        };
        grid->setCurrentIndex(model->index(1, 3));
        QTest::keyClicks(grid, QStringLiteral("1"));
        ASSERT_NE(editor(), nullptr);
        QTest::keyClicks(editor(), QStringLiteral("234"));
        QTest::keyClick(editor(), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return editor() == nullptr; }, 5000));
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("LoftNo = 'L2' AND Yards = 1234")), 1);
        EXPECT_EQ(p.cell(grid, 1, 3), QStringLiteral("1,234"));

        grid->setCurrentIndex(model->index(1, 2));
        QTest::keyClicks(grid, QStringLiteral("7"));
        ASSERT_NE(editor(), nullptr);
        QTest::keyClicks(editor(), QStringLiteral("7x"));
        EXPECT_EQ(editor(), nullptr);
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("LoftNo = 'L2' AND Miles = 5")), 1);
        EXPECT_EQ(p.cell(grid, 1, 2), QStringLiteral("5"));

        // Moving to another row stores the row's change.
        grid->setCurrentIndex(model->index(1, 2));
        QTest::keyClicks(grid, QStringLiteral("9"));
        ASSERT_NE(editor(), nullptr);
        grid->setCurrentIndex(model->index(0, 2));
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("LoftNo = 'L2' AND Miles = 9")), 1);

        p.clickTitle(grid, 0);
        EXPECT_EQ(p.column(grid, 0), (QStringList{"Adams", "Peeters"}));
        EXPECT_EQ(p.cell(grid, 0, 2), QStringLiteral("9"));

        p.click("btnLoftLibDist");
        EXPECT_FALSE(p.hidden("pnlRacePoint"));
        EXPECT_TRUE(p.hidden("pnlLoftLibPointDist"));
        TfrmRace::sortOrder().clear();
    }
}

TEST(TfrmRace, DistanceUpdateOfARaceNoLongerStoredIsRefused)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    p.clickRow(0);
    p.menu(3);
    t.run(QStringLiteral("DELETE FROM ZAVR_RaceData WHERE ClubID = 'C1'"));
    p.click("btnLoftDistUpdate");
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains(QStringLiteral("cannot be found"))) << shown.front().toStdString();
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("Yards = 0")), 1);
}

TEST(TfrmRace, TypedCoordinatesThatAreNoPlaceAreRefusedNamingTheField)
{
    struct Case {
        const char* lon;
        const char* lat;
        const char* field;  // the field refused and left with the focus; null: saved
        const char* message;
    };
    const Case cases[] = {
        {"E1810000", "N0233000", "medtRaceLon", "Longitude \"E181'00:00\": a longitude may not be over 180 degrees."},
        {"E1203000", "S0900001", "medtRaceLat", "Latitude \"S090'00:01\": a latitude may not be over 90 degrees."},
        {"E1206000", "N0233000", "medtRaceLon", "Longitude \"E120'60:00\": the minutes must be below 60."},
        {"W1203060", "N0233000", "medtRaceLon", "Longitude \"W120'30:60\": the seconds must be below 60."},
        {"E9999999", "N0999999", "medtRaceLon", "Longitude \"E999'99:99\": the minutes must be below 60."},
        {"E1800000", "N0900000", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lon);
        TestDatabase t;
        addClub(t);
        RacePage p(t);
        startNewPoint(p, QStringLiteral("QVR"), QStringLiteral("Quievrain"), QStringLiteral("7"));
        p.typeCoordinate("medtRaceLon", QString::fromLatin1(c.lon));
        p.typeCoordinate("medtRaceLat", QString::fromLatin1(c.lat));
        p.click("btnOK");
        if (!c.field) {
            EXPECT_TRUE(messageTexts().isEmpty());
            EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("LiberLon = 'E180''00:00'")), 1);
            continue;
        }
        EXPECT_EQ(messageTexts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(p.get<QWidget>(c.field)->hasFocus());
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 0);
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite")), 1);
    }
}

TEST(TfrmRace, StoredCoordinatesThatAreNoPlaceStillLoadAndSaveAsTheyStand)
{
    TestDatabase t;
    addClub(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberSite, LiberSiteAbbr, LiberDate, LiberTime, LiberLon, LiberLat, RaceCode) "
                         "VALUES ('C1', '12', 'Arras', 'ARR', '2024-03-05 00:00:00', '07:30:00', 'E999''99:99', 'N099''99:99', '120305')"));
    RacePage p(t);
    p.clickRow(0);
    EXPECT_EQ(p.get<QLineEdit>("medtRaceLon")->text(), QStringLiteral("E999'99:99"));
    p.get<QTimeEdit>("dtpLibTime")->setTime(QTime(9, 0, 0));
    p.click("btnOK");
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("LiberTime = '09:00:00' AND LiberLon = 'E999''99:99'")), 1);
}

TEST(TfrmRace, ADateThatDoesNotExistIsRefusedWhereTypedAndByEveryActionThatReadsIt)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    p.clickRow(0);
    auto* date = p.get<DatePicker>("dtpLibDate");
    date->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(date, QStringLiteral("2026/02/30"));
    const QString why = QStringLiteral("\"2026/02/30\" is not a date: February 2026 has 28 days.");
    // Leaving the field: it keeps the text and the focus, and says why.
    p.get<QTimeEdit>("dtpLibTime")->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(messageTexts(), QStringList{why});
    EXPECT_TRUE(date->hasFocus());
    EXPECT_EQ(date->text(), QStringLiteral("2026/02/30"));
    // Save and the sun table, which take the race code from the date, refuse it.
    for (const char* button : {"btnOK", "btnSetSunData"}) {
        p.click(button);
        QApplication::processEvents();
        EXPECT_EQ(messageTexts(), QStringList{why}) << button;
        EXPECT_TRUE(date->hasFocus()) << button;
    }
    EXPECT_TRUE(p.hidden("pnlSunData"));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 2);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("date(LiberDate) = '2026-02-03'")), 0);
}

TEST(TfrmRace, SaveAndDeleteShowTheRaceListInTheStatementsOrder)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberSite, LiberSiteAbbr, LiberDate, LiberTime, RaceCode) "
                         "VALUES ('C1', '12', 'Zeebrugge', 'ZEE', '2024-04-02 00:00:00', '08:00:00', '120402')"));
    TfrmRace::sortOrder().clear();
    RacePage p(t);
    const QStringList stored{"Arras", "Arras South", "Zeebrugge"};
    const QStringList descending{"Zeebrugge", "Arras South", "Arras"};
    auto sortDescending = [&] {
        p.clickTitle(p.grid, 3);
        if (p.column(p.grid, 3) != descending)
            p.clickTitle(p.grid, 3);
        ASSERT_EQ(p.column(p.grid, 3), descending);
    };
    sortDescending();
    p.clickRow(2);  // Arras
    p.get<QTimeEdit>("dtpLibTime")->setTime(QTime(9, 0, 0));
    p.click("btnOK");
    EXPECT_EQ(p.column(p.grid, 3), stored);

    sortDescending();
    p.clickRow(1);  // Arras South
    Dialogs::setNextAnswer(QMessageBox::Yes);
    p.menu(1);
    messageTexts();
    EXPECT_EQ(p.column(p.grid, 3), (QStringList{"Arras", "Zeebrugge"}));
    TfrmRace::sortOrder().clear();
}

TEST(TfrmRace, TheOperationsMenuOpensAgainWithNothingChosenOrHighlighted)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    p.clickRow(0);
    const QPoint row = p.grid->visualRect(p.grid->model()->index(0, 0)).center();
    for (int round = 0; round < 2; ++round) {
        QTest::mouseMove(p.grid->viewport(), row);
        QTest::mouseClick(p.grid->viewport(), Qt::RightButton, {}, row);
        ASSERT_FALSE(p.hidden("rgRacePoint"));
        for (const QRadioButton* item : p.menuItems()) {
            EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
            EXPECT_FALSE(item->hasFocus()) << item->text().toStdString();
            EXPECT_FALSE(item->underMouse()) << item->text().toStdString();
        }
        // "Edit Point", chosen with the mouse.
        QRadioButton* edit = p.menuItems().at(0);
        const QPoint on(6, edit->height() / 2);
        QTest::mouseMove(edit, on);
        QTest::mouseClick(edit, Qt::LeftButton, {}, on);
        EXPECT_TRUE(p.hidden("rgRacePoint"));
    }
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST(TfrmRace, TheSunTableShowsAllItsRowsAtThePagesNormalSize)
{
    TestDatabase t;
    addClub(t);
    addRaces(t);
    RacePage p(t);
    // The page's share of the main window at its first size.
    p.page->resize(1024, 650);
    p.clickRow(0);
    p.click("btnSetSunData");
    QApplication::processEvents();
    auto* sun = p.get<QTableWidget>("StrGridSunSet");
    ASSERT_EQ(sun->rowCount(), 8);
    EXPECT_LE(sun->rowViewportPosition(7) + sun->rowHeight(7), sun->viewport()->height());
    EXPECT_LE(sun->columnViewportPosition(3) + sun->columnWidth(3), sun->viewport()->width());
    EXPECT_FALSE(sun->verticalScrollBar()->isVisible());
    EXPECT_FALSE(sun->horizontalScrollBar()->isVisible());
    for (const char* button : {"btnOK_Sun", "btnCan_Sun"}) {
        const QWidget* w = p.get<QWidget>(button);
        EXPECT_LE(w->mapTo(p.page.get(), QPoint(0, w->height())).y(), p.page->height()) << button;
    }
}

}  // namespace
