#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTimer>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(Dialogs, PresetAnswersAndFileNamesAreTakenInOrder)
{
    Dialogs::resetTestHooks();
    Dialogs::setNextAnswer(QMessageBox::Yes);
    Dialogs::setNextFileName(QStringLiteral("/tmp/club"));
    EXPECT_EQ(Dialogs::question(nullptr, QStringLiteral("Delete?")), QMessageBox::Yes);
    EXPECT_EQ(Dialogs::question(nullptr, QStringLiteral("Again?")), QMessageBox::No);  // the default button
    EXPECT_EQ(Dialogs::getSaveFileName(nullptr, QString(), QStringLiteral("Access BackUp files (*.Bak)|*.Bak")),
              QStringLiteral("/tmp/club"));
    EXPECT_EQ(Dialogs::lastFileFilter(), QStringLiteral("Access BackUp files (*.Bak)"));
    EXPECT_TRUE(Dialogs::getOpenFileName(nullptr, QString(), QString()).isEmpty());  // nothing preset: cancelled
    const auto shown = Dialogs::takeMessages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.at(0).text, QStringLiteral("Delete?"));
    EXPECT_EQ(shown.at(1).kind, Dialogs::Kind::Question);
}

TEST(Dialogs, FilterPairsBecomeQtFilters)
{
    EXPECT_EQ(Dialogs::toQtFilter(QStringLiteral("Excel files|*.xlsx;*.xls|All|*.*")),
              QStringLiteral("Excel files (*.xlsx *.xls);;All (*.*)"));
    EXPECT_EQ(Dialogs::toQtFilter(QStringLiteral("Images (*.png)")), QStringLiteral("Images (*.png)"));
}

TEST(Dialogs, SelfClosingNoticeClosesByItselfOrOnOk)
{
    {
        auto box = Dialogs::createSelfClosingNotice(nullptr, QStringLiteral("Access DB Backup Now, Pls. Wait !"), 2000);
        const auto* timer = box->findChild<QTimer*>(QStringLiteral("noticeTimer"));
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 2000);
        EXPECT_EQ(box->text(), QStringLiteral("Access DB Backup Now, Pls. Wait !"));
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButton(box->buttons().first()), QMessageBox::Ok);
    }
    {
        // The timer closes the box without the user.
        auto box = Dialogs::createSelfClosingNotice(nullptr, QStringLiteral("notice"), 10);
        EXPECT_EQ(box->exec(), QMessageBox::Ok);
    }
    {
        // OK closes it long before its timer.
        auto box = Dialogs::createSelfClosingNotice(nullptr, QStringLiteral("notice"), 600000);
        QTimer::singleShot(0, box.get(), [&box] { box->button(QMessageBox::Ok)->click(); });
        EXPECT_EQ(box->exec(), QMessageBox::Ok);
        EXPECT_FALSE(box->findChild<QTimer*>(QStringLiteral("noticeTimer"))->isActive());
    }
}

TEST(ErrorHandler, ShowsTheErrorsTextAndAbandonsTheAction)
{
    Dialogs::resetTestHooks();
    bool after = false;
    EXPECT_FALSE(guarded(nullptr, [&] {
        throw CorvelError(QStringLiteral("IFD_Connect NOT OK !"));
        after = true;  // never reached
    }));
    EXPECT_FALSE(after);
    EXPECT_FALSE(guarded(nullptr, [] { throw std::runtime_error("plain failure"); }));
    EXPECT_TRUE(guarded(nullptr, [] {}));
    const auto shown = Dialogs::takeMessages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.at(0).kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown.at(0).text, QStringLiteral("IFD_Connect NOT OK !"));
    EXPECT_EQ(shown.at(1).text, QStringLiteral("plain failure"));
}

}  // namespace
