// The message window's loop when the application quits while it runs.
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MessageBoxQuit, ApplicationQuitDuringLoopReturnsMinusOneAndEndsMainLoop) {
    int result = 0;
    QObject guardOwner;
    // Only fires when the quit went unheard; keeps a failing test from hanging.
    QTimer::singleShot(10000, &guardOwner, [] { QCoreApplication::exit(99); });
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        result = GMessageBox(nullptr, "x", "t", MB_OK, 0, 0);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(result, -1);
}
