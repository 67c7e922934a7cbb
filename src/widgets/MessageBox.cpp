// GMessageBoxWnd: builds, lays out and runs the message window; GMessageBox and
// GMessageBoxAutoClose are the program's only way of showing a message.
#include "MessageBox.h"

#include "widgets/Fonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QStringList>
#include <QWindow>
#include <qdrawutil.h>

#include <cstdio>
#include <memory>

namespace {

GMessageBoxHook& Hook()
{
    static GMessageBoxHook hook;
    return hook;
}

QString& AppTitleStore()
{
    static QString title = QStringLiteral("Tavimo");
    return title;
}

int g_timerPeriod = 1000;

enum { ID_OK = 1, ID_CANCEL = 2, ID_FRAME = 25, ID_ICON = 26, ID_MESSAGE = 27, ID_CAPTION = 28 };

// Caption colours, left to right, and the caption text colour.
constexpr int kCaptionLeft[3] = {0, 0, 200};
constexpr int kCaptionRight[3] = {140, 161, 255};

constexpr int kMinTextWidth = 50;
constexpr int kMinTextHeight = 32;
constexpr int kMessageFontPixels = 12;
constexpr int kMeasureFontPoints = 9;
constexpr int kCaptionHeight = 20;

struct TextSize {
    int width;  // W: the widest line, at least kMinTextWidth
    int height; // H: character height times the number of lines
};

TextSize MeasureText(const QString& text)
{
    const QFontMetrics metrics(UiFontPoints(kMeasureFontPoints));
    const QStringList lines = text.split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) {
        if (!line.isEmpty())
            widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return {std::max(widest, kMinTextWidth), metrics.height() * static_cast<int>(lines.size())};
}

bool IsOwnWidget(QObject* object, const QWidget* window)
{
    const auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget->window() == window;
}

} // namespace

QString FormatCountdownText(const QString& format, int count)
{
    QString out;
    bool countUsed = false;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (i + 1 < n && format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && QStringLiteral("-+ 0#").contains(format[j]))
            ++j;
        while (j < n && format[j].isDigit() && j - i < 8)
            ++j;
        const bool isInteger = j < n && QStringLiteral("diu").contains(format[j]);
        if (!isInteger || countUsed) {
            out += c; // not ours to interpret: shown as written
            continue;
        }
        const QByteArray conversion = format.mid(i, j - i + 1).toLatin1();
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, conversion.constData(), count);
        out += QString::fromLatin1(buffer);
        countUsed = true;
        i = j;
    }
    return out;
}

void SetGMessageBoxHook(GMessageBoxHook hook)
{
    Hook() = std::move(hook);
}

void SetAppTitle(const QString& title)
{
    AppTitleStore() = title;
}

QString AppTitle()
{
    return AppTitleStore();
}

int GMessageBox(QWidget* owner, const QString& text, const QString& title, int type, int flags, int seconds)
{
    if (Hook())
        return Hook()(GMessageBoxCall{owner, text, title, type, flags, seconds});
    const QString shownTitle = title == QLatin1String("~~") ? AppTitle() : title;
    auto wnd = std::make_unique<GMessageBoxWnd>();
    if (!wnd->Create(owner, text, shownTitle, type, flags, seconds))
        return 0;
    return wnd->RunModal();
}

int GMessageBoxAutoClose(QWidget* owner, const QString& text, const QString& title, int type, int seconds)
{
    return GMessageBox(owner, text, title, type, GMB_AUTOCLOSE | GMB_NOBUTTON, seconds);
}

GMessageBoxWnd::GMessageBoxWnd()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("GMessageBoxWnd"));
}

GMessageBoxWnd::~GMessageBoxWnd()
{
    m_docker.OnButtonUp();
    if (m_pLoop)
        m_pLoop->exit(0);
}

QEvent::Type GMessageBoxWnd::CloseEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void GMessageBoxWnd::SetTimerPeriod(int milliseconds)
{
    g_timerPeriod = std::max(1, milliseconds);
}

bool GMessageBoxWnd::Create(QWidget* owner, const QString& text, const QString& title, int type, int flags, int seconds)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    m_pOwner = owner;
    m_strText = text;
    m_strTitle = title;
    m_nType = type;
    m_nFlags = flags;
    setWindowTitle(QStringLiteral("GMessageBoxWnd"));
    if (m_nFlags & GMB_AUTOCLOSE)
        m_nRemaining = seconds;
    m_font = UiFontPixels(kMessageFontPixels);
    setFont(m_font);
    CreateChildren();
    Layout();
    m_docker.Attach(this);
    return true;
}

void GMessageBoxWnd::CreateChildren()
{
    m_pOk = new QPushButton(QStringLiteral("확인"), this);
    m_pCancel = new QPushButton(QStringLiteral("취소"), this);
    for (QPushButton* button : {m_pOk, m_pCancel}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        button->hide();
    }
    connect(m_pOk, &QPushButton::clicked, this, [this] { OnCommand(ID_OK); });
    connect(m_pCancel, &QPushButton::clicked, this, [this] { OnCommand(ID_CANCEL); });
    setFocusProxy(m_pOk);

    m_pFrame = new QGroupBox(this);
    m_pIcon = new QLabel(this);
    m_pIcon->setAlignment(Qt::AlignCenter);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    m_pIcon->setPixmap(icon.pixmap(32, 32));
    m_pMessage = new QLabel(this);
    m_pMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setFont(m_font);
    m_pCaptionPlace = new QLabel(this);
    m_pCaptionPlace->setFrameShape(QFrame::Box);
    m_pCaptionPlace->hide();
}

void GMessageBoxWnd::PlaceChild(QWidget* child, int x, int y, int w, int h)
{
    child->setGeometry(QRect(ClientOrigin() + QPoint(x, y), QSize(w, h)));
}

void GMessageBoxWnd::Layout()
{
    const TextSize text = MeasureText(m_strText);
    const int W = text.width;
    const int H = text.height;
    const int Hc = std::max(H, kMinTextHeight);
    const bool noButton = (m_nFlags & GMB_NOBUTTON) != 0;

    setFixedSize(W + 82, noButton ? Hc + 85 : Hc + 110);
    PlaceChild(m_pFrame, 7, 30, W + 62, Hc + 40);
    PlaceChild(m_pIcon, 17, (Hc + 8) / 2 + 30, 32, 32);
    PlaceChild(m_pMessage, 59, (Hc + 40 - H) / 2 + 30, W, H);
    PlaceChild(m_pCaptionPlace, 5, 5, W + 67, kCaptionHeight);

    const QRect right(W - 6, Hc + 75, 70, 25);
    const QRect left(W - 81, Hc + 75, 70, 25);
    if (noButton) {
        m_pOk->setEnabled(false);
        m_pCancel->setEnabled(false);
    } else if (m_nType == MB_OK) {
        PlaceChild(m_pOk, right.x(), right.y(), right.width(), right.height());
        m_pOk->show();
    } else if (m_nType == MB_OKCANCEL || m_nType == MB_YESNO) {
        PlaceChild(m_pOk, left.x(), left.y(), left.width(), left.height());
        PlaceChild(m_pCancel, right.x(), right.y(), right.width(), right.height());
        if (m_nType == MB_YESNO) {
            m_pOk->setText(QStringLiteral("예"));
            m_pCancel->setText(QStringLiteral("아니오"));
        }
        m_pOk->show();
        m_pCancel->show();
    }

    UpdateMessageText();
    m_captionImage.Create(W + 67, kCaptionHeight, DIB_24BPP, 0xFFFFFF);
    PaintCaptionImage();
}

void GMessageBoxWnd::UpdateMessageText()
{
    m_pMessage->setText(m_nFlags & GMB_AUTOCLOSE ? FormatCountdownText(m_strText, m_nRemaining) : m_strText);
}

QString GMessageBoxWnd::MessageText() const
{
    return m_pMessage ? m_pMessage->text() : QString();
}

void GMessageBoxWnd::PaintCaptionImage()
{
    if (m_strTitle.isEmpty())
        m_strTitle = QStringLiteral("Morvel");
    m_strTitle.prepend(QLatin1Char(' '));

    const int width = m_captionImage.GetWidth();
    const int height = m_captionImage.GetHeight();
    if (width <= 0 || height <= 0)
        return;
    QImage picture(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x) {
        int rgb[3];
        for (int k = 0; k < 3; ++k)
            rgb[k] = kCaptionLeft[k] - (x * (kCaptionLeft[k] - kCaptionRight[k])) / width;
        const QRgb colour = qRgb(rgb[0], rgb[1], rgb[2]);
        for (int y = 0; y < height; ++y)
            picture.setPixel(x, y, colour);
    }
    {
        QPainter painter(&picture);
        painter.setFont(UiFontPixels(kMessageFontPixels));
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, width, height), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_strTitle);
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x)
            m_captionImage.SetPixel(x, y, row[x] & 0xFFFFFF);
    }
}

QWidget* GMessageBoxWnd::Child(int id) const
{
    switch (id) {
    case ID_OK: return m_pOk;
    case ID_CANCEL: return m_pCancel;
    case ID_FRAME: return m_pFrame;
    case ID_ICON: return m_pIcon;
    case ID_MESSAGE: return m_pMessage;
    case ID_CAPTION: return m_pCaptionPlace;
    default: return nullptr;
    }
}

QPoint GMessageBoxWnd::ClientOrigin() const
{
    return {kFrameWidth, kFrameWidth};
}

QRect GMessageBoxWnd::ClientGeometry(int id) const
{
    const QWidget* child = Child(id);
    return child ? child->geometry().translated(-ClientOrigin()) : QRect();
}

int GMessageBoxWnd::AcceptResult() const
{
    return m_nType == MB_YESNO ? IDYES : IDOK;
}

int GMessageBoxWnd::RejectResult() const
{
    return m_nType == MB_YESNO ? IDNO : IDCANCEL;
}

void GMessageBoxWnd::OnCommand(int id)
{
    if (id == ID_OK)
        End(AcceptResult());
    else if (id == ID_CANCEL)
        End(RejectResult());
}

void GMessageBoxWnd::Close()
{
    End(AcceptResult());
}

void GMessageBoxWnd::End(int result)
{
    m_nResult = result;
    m_bEnded = true;
    if (m_pLoop)
        m_pLoop->exit(0);
}

void GMessageBoxWnd::CentreOverOwner()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen ? screen->availableGeometry() : QRect();
    const QWidget* top = m_pOwner ? m_pOwner->window() : nullptr;
    QPoint centre = screen ? screen->geometry().center() : QPoint();
    if (top && top->isVisible() && !top->isMinimized())
        centre = top->frameGeometry().center();
    QRect placed(QPoint(0, 0), size());
    placed.moveCenter(centre);
    if (workArea.isValid()) {
        if (placed.right() > workArea.right())
            placed.moveRight(workArea.right());
        if (placed.bottom() > workArea.bottom())
            placed.moveBottom(workArea.bottom());
        if (placed.left() < workArea.left())
            placed.moveLeft(workArea.left());
        if (placed.top() < workArea.top())
            placed.moveTop(workArea.top());
    }
    move(placed.topLeft());
}

int GMessageBoxWnd::RunModal()
{
    // Only the owner is disabled; its frame stays usable. A nested message window over the
    // same owner leaves it as the outer one expects.
    QPointer<QWidget> owner = m_pOwner;
    const bool ownerWasEnabled = owner && owner->isEnabled();
    if (owner)
        owner->setEnabled(false);

    CentreOverOwner();
    if (owner && owner->window()->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    show();
    raise();
    activateWindow();
    if (m_pOk->isVisible())
        m_pOk->setFocus(Qt::OtherFocusReason);
    if (m_nFlags & GMB_AUTOCLOSE)
        m_nTimerId = startTimer(g_timerPeriod);

    qApp->installEventFilter(this);
    QEventLoop loop;
    m_pLoop = &loop;
    if (!m_bEnded)
        loop.exec();
    m_pLoop = nullptr;
    qApp->removeEventFilter(this);

    if (m_nTimerId) {
        killTimer(m_nTimerId);
        m_nTimerId = 0;
    }
    m_docker.OnButtonUp();
    hide();
    if (owner && ownerWasEnabled)
        owner->setEnabled(true);
    return m_bEnded ? m_nResult : -1;
}

bool GMessageBoxWnd::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Quit && watched == QCoreApplication::instance())
        m_bQuitting = true;
    const bool isKey = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
    if (!isKey || !IsOwnWidget(watched, this))
        return QWidget::eventFilter(watched, e);
    const auto* key = static_cast<QKeyEvent*>(e);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter presses the focused button, as Space does.
        QWidget* target = focusWidget() ? focusWidget() : static_cast<QWidget*>(watched);
        QKeyEvent space(key->type(), Qt::Key_Space, key->modifiers(), QStringLiteral(" "), key->isAutoRepeat());
        QCoreApplication::sendEvent(target, &space);
        return true;
    }
    case Qt::Key_Escape:
        if (e->type() == QEvent::KeyPress && (m_nType & (MB_OKCANCEL | MB_YESNO))) {
            QMetaObject::invokeMethod(this, [this] { OnCommand(ID_CANCEL); }, Qt::QueuedConnection);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool GMessageBoxWnd::event(QEvent* e)
{
    if (e->type() == CloseEventType()) {
        Close();
        return true;
    }
    return QWidget::event(e);
}

void GMessageBoxWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
    const int width = m_captionImage.GetWidth();
    const int height = m_captionImage.GetHeight();
    if (width <= 0 || height <= 0)
        return;
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF000000u | m_captionImage.GetPixel(x, y);
    }
    painter.drawImage(m_pCaptionPlace->geometry().topLeft(), picture);
}

void GMessageBoxWnd::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_docker.OnButtonDown(e->globalPosition().toPoint());
}

void GMessageBoxWnd::mouseMoveEvent(QMouseEvent* e)
{
    m_docker.OnMouseMove(e->globalPosition().toPoint());
}

void GMessageBoxWnd::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_docker.OnButtonUp();
}

void GMessageBoxWnd::closeEvent(QCloseEvent* e)
{
    // The user cannot close the window; the application quitting can. Should another
    // window refuse to close and so keep the application running, the window comes back.
    if (!m_bQuitting || !m_pLoop) {
        e->ignore();
        return;
    }
    m_bQuitting = false;
    e->accept();
    QTimer::singleShot(0, this, [this] {
        if (m_pLoop && !isVisible())
            show();
    });
}

void GMessageBoxWnd::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_nTimerId)
        return QWidget::timerEvent(e);
    --m_nRemaining;
    if (m_nRemaining < 1) {
        killTimer(m_nTimerId);
        m_nTimerId = 0;
        End(AcceptResult());
    } else {
        UpdateMessageText();
    }
}
