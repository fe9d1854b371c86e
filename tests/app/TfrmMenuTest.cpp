#include "CorvelApplication.h"
#include "Dialogs.h"
#include "TestDatabase.h"
#include "TfrmClockOP.h"
#include "TfrmHome.h"
#include "TfrmMember.h"
#include "TfrmMenu.h"
#include "TfrmRace.h"
#include "TfrmSetup.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QToolButton* button(TfrmMenu& menu, const char* name)
{
    return menu.findChild<QToolButton*>(QString::fromLatin1(name));
}

TEST(TfrmMenu, CaptionToolbarAndEmptyPageArea)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("Corvel Club Management V6"));
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"ToolButton1", "&H Home"}, {"ToolButton2", "&C Clock Operation"}, {"ToolButton3", "&M Member"},
        {"ToolButton4", "&R Races"}, {"ToolButton5", "&S Setup"}};
    for (const auto& [name, caption] : buttons) {
        QToolButton* b = button(menu, name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromLatin1(caption)) << name;
    }
    EXPECT_EQ(menu.currentPage(), nullptr);
    EXPECT_NE(menu.findChild<QWidget*>(QStringLiteral("pnlMain")), nullptr);
    EXPECT_TRUE(menu.statusBar()->currentMessage().isEmpty());
}

TEST(TfrmMenu, TheWindowSystemIsGivenTheCaptionAlone)
{
    // A display name of the application would be appended to every window's title.
    const QString testName = QCoreApplication::applicationName();
    CorvelApplication::nameApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("corvel-club"));
    QCoreApplication::setApplicationName(testName);
}

// The share of a picture's pixels that are not transparent.
double coverage(const QImage& picture)
{
    int covered = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            covered += qAlpha(picture.pixel(x, y)) > 0 ? 1 : 0;
    return double(covered) / (picture.width() * picture.height());
}

TEST(TfrmMenu, EachButtonShowsItsOwnPictureBesideTheCaptionDrawnAfreshAtDoubleScale)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    std::vector<QImage> pictures;
    for (const char* name : {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton4", "ToolButton5"}) {
        QToolButton* b = button(menu, name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextBesideIcon) << name;
        const QImage single = b->icon().pixmap(b->iconSize(), 1.0).toImage();
        const QImage twice = b->icon().pixmap(b->iconSize(), 2.0).toImage();
        EXPECT_EQ(single.size(), b->iconSize()) << name;
        EXPECT_EQ(twice.size(), b->iconSize() * 2) << name;  // not the single one scaled up
        EXPECT_GT(coverage(twice), 0.2) << name;
        for (const QImage& other : pictures)
            EXPECT_NE(twice, other) << name;
        pictures.push_back(twice);
    }
    EXPECT_EQ(menu.windowIcon().pixmap(QSize(256, 256)).size(), QSize(256, 256));
    EXPECT_GT(coverage(menu.windowIcon().pixmap(QSize(256, 256)).toImage()), 0.5);
}

TEST(TfrmMenu, EachButtonDocksItsPageAloneAndFillingThePageArea)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.resize(900, 600);
    menu.show();
    struct Expected {
        const char* button;
        const char* pageClass;
        std::function<QWidget*()> reference;
    };
    const std::vector<Expected> pages = {
        {"ToolButton1", "TfrmHome", [] { return static_cast<QWidget*>(nullptr); }},
        {"ToolButton2", "TfrmClockOP", [] { return static_cast<QWidget*>(frmClockOP.data()); }},
        {"ToolButton3", "TfrmMember", [] { return static_cast<QWidget*>(frmMember.data()); }},
        {"ToolButton4", "TfrmRace", [] { return static_cast<QWidget*>(frmRace.data()); }},
        {"ToolButton5", "TfrmSetup", [] { return static_cast<QWidget*>(nullptr); }},
    };
    for (const Expected& e : pages) {
        QTest::mouseClick(button(menu, e.button), Qt::LeftButton);
        QWidget* page = menu.currentPage();
        ASSERT_NE(page, nullptr) << e.button;
        EXPECT_STREQ(page->metaObject()->className(), e.pageClass);
        EXPECT_EQ(page->parentWidget(), menu.pnlMain());
        EXPECT_EQ(page->geometry(), QRect(0, 0, menu.pnlMain()->width(), menu.pnlMain()->height()));
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(menu.pnlMain()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
        if (QWidget* reference = e.reference()) {
            EXPECT_EQ(reference, page);
        }
    }
    // The pages that are gone leave no reference behind.
    EXPECT_TRUE(frmClockOP.isNull());
    EXPECT_TRUE(frmMember.isNull());
    EXPECT_TRUE(frmRace.isNull());
}

TEST(TfrmMenu, AltLetterShowsThePage)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    QApplication::setActiveWindow(&menu);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
    QTest::keyClick(&menu, Qt::Key_R, Qt::AltModifier);
    // The mnemonic presses the button visibly: the click lands a moment later.
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.currentPage() != nullptr; }, 2000));
    EXPECT_STREQ(menu.currentPage()->metaObject()->className(), "TfrmRace");
}

TEST(TfrmMenu, ChoosingTheShownPageCreatesItAnew)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    menu.ToolButton1Click();
    QPointer<QWidget> first = menu.currentPage();
    menu.ToolButton1Click();
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(menu.currentPage(), nullptr);
    EXPECT_STREQ(menu.currentPage()->metaObject()->className(), "TfrmHome");
}

// A page whose close handler fails: it says why and refuses to close.
class StubbornPage : public QWidget {
public:
    using QWidget::QWidget;
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (refuse) {
            Dialogs::error(this, QStringLiteral("cannot store the value"));
            event->ignore();
        } else {
            event->accept();
        }
    }
};

TEST(TfrmMenu, APageWhoseCloseFailsStaysAndTheSwitchOrTheClosingIsAbandoned)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.setPageFactory([](TfrmMenu::Page, QWidget* area) { return new StubbornPage(area); });
    menu.show();
    menu.ToolButton5Click();
    auto* stubborn = static_cast<StubbornPage*>(menu.currentPage());
    ASSERT_NE(stubborn, nullptr);
    Dialogs::takeMessages();

    EXPECT_FALSE(menu.showPage(TfrmMenu::HomePage));
    EXPECT_EQ(menu.currentPage(), stubborn);
    EXPECT_TRUE(stubborn->isVisible());
    EXPECT_FALSE(menu.close());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.currentPage(), stubborn);
    EXPECT_EQ(Dialogs::takeMessages().size(), 2);

    stubborn->refuse = false;
    EXPECT_TRUE(menu.close());
    EXPECT_EQ(menu.currentPage(), nullptr);
}

TEST(TfrmMenu, FirstShowRunsTheNoticeAndTheStartupBackupOnce)
{
    TestDatabase t;
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.startupBackupRan(); }, 2000));
    const auto shown = Dialogs::takeMessages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().kind, Dialogs::Kind::Notice);
    EXPECT_EQ(shown.first().text, QStringLiteral("Access DB Backup Now, Pls. Wait !"));
    EXPECT_TRUE(QFile::exists(t.folder().currentBackupPath()));
    menu.hide();
    menu.show();
    QTest::qWait(10);
    EXPECT_TRUE(Dialogs::takeMessages().isEmpty());
}

TEST(TfrmMenu, AFailedStartupBackupIsShownInTheStatusBar)
{
    TestDatabase t;
    // A file where the Backup folder should be.
    QFile blocker(t.folder().backupFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.startupBackupRan(); }, 2000));
    EXPECT_TRUE(menu.statusBar()->currentMessage().startsWith(QStringLiteral("The start-up backup failed: ")))
        << menu.statusBar()->currentMessage().toStdString();
    EXPECT_EQ(menu.findChild<QLabel*>(QStringLiteral("lblReadOnly")), nullptr);
}

TEST(TfrmMenu, AReadOnlyClubSaysSoAndTakesNoBackup)
{
    TestDatabase t;
    t.dm().close();
    t.dm().setReadOnly(true);
    ASSERT_TRUE(t.dm().open());
    TfrmMenu menu(t.dm(), t.folder());
    menu.show();
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.startupBackupRan(); }, 2000));
    EXPECT_FALSE(QFile::exists(t.folder().currentBackupPath()));
    const auto* label = menu.findChild<QLabel*>(QStringLiteral("lblReadOnly"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("Read-only")));
}

TEST(TfrmMenu, StartsOnADatabaseThatCannotBeOpened)
{
    QTemporaryDir dir;
    DataFolder folder(dir.path());
    folder.prepare();
    {
        QFile f(folder.databasePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a database");
    }
    Dialogs::resetTestHooks();
    TdmZAVR dm(folder.databasePath());
    ASSERT_FALSE(dm.open());
    TfrmMenu menu(dm, folder);
    menu.show();
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.startupBackupRan(); }, 2000));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_FALSE(QFile::exists(folder.currentBackupPath()));
    Dialogs::takeMessages();
    menu.ToolButton1Click();
    ASSERT_NE(menu.currentPage(), nullptr);
    const auto shown = Dialogs::takeMessages();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last().kind, Dialogs::Kind::Error);
    EXPECT_TRUE(shown.last().text.contains(QStringLiteral("not a database"))) << shown.last().text.toStdString();
}

}  // namespace
