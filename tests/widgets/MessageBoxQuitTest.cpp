// The message window's loop when the application quits while it runs.
#include "widgets/MessageBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

namespace {

TEST(MessageBoxQuit, ApplicationQuitDuringLoopReturnsMinusOneAndEndsMainLoop) {
    int result = 0;
    QObject guardOwner;
    // Only fires when the quit went unheard; keeps a failing test from hanging.
    QTimer::singleShot(10000, &guardOwner, [] { QCoreApplication::exit(99); });
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        result = GMessageBox(nullptr, "x", "t", MB_OK, 0, 0);
    });
    const int exitCode = QApplication::exec();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(exitCode, 0);
}

} // namespace
