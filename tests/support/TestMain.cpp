#include "Dialogs.h"

#include <QApplication>
#include <gtest/gtest.h>

// Tests run without a display and never block on a modal window.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvel-club-tests"));
    Dialogs::setNonInteractive(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
