// GMessageBoxWnd and the two calls through which the program shows every message:
// GMessageBox (waits for the user) and GMessageBoxAutoClose (a notice that closes
// itself after about a second).
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNO = 4 };
enum { GMB_AUTOCLOSE = 1, GMB_NOBUTTON = 2 };
enum { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

int GMessageBox(QWidget* owner, const QString& text, const QString& title, int type, int flags, int seconds);
int GMessageBoxAutoClose(QWidget* owner, const QString& text, const QString& title, int type, int seconds);

// For tests: when a hook is set, GMessageBox records the call through it and returns the
// hook's answer at once instead of showing a window.
struct GMessageBoxCall {
    QWidget* owner;
    QString text;
    QString title;
    int type;
    int flags;
    int seconds;
};
using GMessageBoxHook = std::function<int(const GMessageBoxCall&)>;
void SetGMessageBoxHook(GMessageBoxHook hook);

// The application title that the title "~~" stands for ("Tavimo").
void SetAppTitle(const QString& title);
QString AppTitle();
