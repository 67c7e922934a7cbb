// The one QApplication of a test program, made on first use.
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "tavimo-app-tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
