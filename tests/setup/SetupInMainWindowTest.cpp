#include "Dialogs.h"
#include "TestDatabase.h"
#include "TfrmMenu.h"
#include "TfrmSetup.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void retype(QWidget* page, const char* name, const QString& text)
{
    auto* edit = page->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString storedCityAndAge(TdmZAVR& dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT City, DBBackupDays FROM ZAVR_ClubData"));
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + QLatin1Char('|') + q.value(1).toString();
    return rows.join(QLatin1Char(';'));
}

TEST(SetupInMainWindow, ChoosingAnotherPageStoresTheSettings)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    menu.ToolButton5Click();
    retype(menu.currentPage(), "edtClubToneCity", QStringLiteral("Leeds"));
    EXPECT_TRUE(menu.showPage(TfrmMenu::HomePage));
    EXPECT_EQ(storedCityAndAge(t.dm()), QStringLiteral("Leeds|0"));
}

TEST(SetupInMainWindow, ABadBackupAgeKeepsThePageUntilCorrected)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    menu.ToolButton5Click();
    QWidget* setup = menu.currentPage();
    ASSERT_NE(qobject_cast<TfrmSetup*>(setup), nullptr);
    retype(setup, "edtClubToneCity", QStringLiteral("York"));
    retype(setup, "edtDay", QStringLiteral("abc"));
    Dialogs::takeMessages();

    EXPECT_FALSE(menu.showPage(TfrmMenu::HomePage));
    EXPECT_EQ(menu.currentPage(), setup);
    EXPECT_FALSE(menu.close());
    EXPECT_EQ(menu.currentPage(), setup);
    EXPECT_EQ(Dialogs::takeMessages().size(), 2);
    EXPECT_EQ(storedCityAndAge(t.dm()), QString());

    retype(setup, "edtDay", QStringLiteral("12"));
    EXPECT_TRUE(menu.close());
    EXPECT_EQ(menu.currentPage(), nullptr);
    EXPECT_EQ(storedCityAndAge(t.dm()), QStringLiteral("York|12"));
}

TEST(SetupInMainWindow, TheWindowClosesWithoutSavingWhenTheUserSaysSo)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    menu.ToolButton5Click();
    retype(menu.currentPage(), "edtDay", QStringLiteral("abc"));
    Dialogs::takeMessages();
    Dialogs::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(menu.close());
    EXPECT_EQ(menu.currentPage(), nullptr);
    EXPECT_EQ(storedCityAndAge(t.dm()), QString());
}

}  // namespace
