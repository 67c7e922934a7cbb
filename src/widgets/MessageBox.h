// GMessageBoxWnd and the two calls through which the program shows every message:
// GMessageBox (waits for the user) and GMessageBoxAutoClose (a notice that closes
// itself after about a second).
#pragma once

#include "imaging/Dib.h"
#include "widgets/Docker.h"

#include <QEvent>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QEventLoop;
class QGroupBox;
class QLabel;
class QPushButton;

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

// The countdown text: `format` with its first integer conversion (%d, %i, %u, with flags
// and width) replaced by `count` and "%%" by "%". Any other conversion is shown as written,
// so a stray "%s" in a message can never read past the one argument.
QString FormatCountdownText(const QString& format, int count);

// The application title that the title "~~" stands for ("Tavimo").
void SetAppTitle(const QString& title);
QString AppTitle();

// The program's own message window: a borderless tool window with a painted gradient
// caption, the application icon, the message and up to two buttons, run modally over its
// owner by its own event loop.
class GMessageBoxWnd : public QWidget {
    Q_OBJECT
public:
    GMessageBoxWnd();
    ~GMessageBoxWnd() override;

    bool Create(QWidget* owner, const QString& text, const QString& title, int type, int flags, int seconds);
    // Shows the window and waits until it ends; returns the result code, or -1 when the
    // application quits meanwhile.
    int RunModal();
    // Ends the window with the accept result, as the close message does.
    void Close();

    // The event type that closes an open message window (posted by other code).
    static QEvent::Type CloseEventType();
    // The countdown period in milliseconds (1000); tests shorten it.
    static void SetTimerPeriod(int milliseconds);

    // The child controls by their ids: 1 OK/Yes, 2 Cancel/No, 25 frame, 26 icon,
    // 27 message, 28 caption place.
    QWidget* Child(int id) const;
    // Client coordinates: positions inside the dialog frame.
    QPoint ClientOrigin() const;
    QRect ClientGeometry(int id) const;
    const CDib& CaptionImage() const { return m_captionImage; }
    QString Title() const { return m_strTitle; }
    QString MessageText() const;
    int Remaining() const { return m_nRemaining; }

    static constexpr int kFrameWidth = 3;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void CreateChildren();
    void Layout();
    void UpdateMessageText();
    void PaintCaptionImage();
    void CentreOverOwner();
    void OnCommand(int id);
    void End(int result);
    int AcceptResult() const;
    int RejectResult() const;
    void PlaceChild(QWidget* child, int x, int y, int w, int h);

    QPointer<QWidget> m_pOwner;
    QString m_strTitle;
    QString m_strText;
    int m_nType = 0;
    int m_nFlags = 0;
    GDocker m_docker;
    CDib m_captionImage;
    QFont m_font;
    int m_nRemaining = 0;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
    QGroupBox* m_pFrame = nullptr;
    QLabel* m_pIcon = nullptr;
    QLabel* m_pMessage = nullptr;
    QLabel* m_pCaptionPlace = nullptr;

    QEventLoop* m_pLoop = nullptr;
    bool m_bEnded = false;
    bool m_bQuitting = false; // the application's quit request is being handled
    int m_nResult = 0;
    int m_nTimerId = 0;
};
