// CTavimoView: construction, painting, resizing and the preparation timers of the page view.
#include "TavimoView.h"

#include "FrameHost.h"
#include "settings/Option.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QtMath>
#include <algorithm>

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kEmptySurfaceSize = 4;
} // namespace

CTavimoView::CTavimoView(QWidget* parent) : QWidget(parent)
{
    m_itCurPage = m_pageList.size();
    m_pPage1 = new CDib;
    m_pScreen = new CDib;
    m_pNextPage1 = new CDib;
    m_pNextPage2 = new CDib;
    m_pNextScreen = new CDib;
    m_pPage2 = new CDib;
    for (CDib* surface : {m_pPage1, m_pScreen, m_pNextPage1, m_pNextPage2, m_pNextScreen, m_pPage2})
        surface->Create(kEmptySurfaceSize, kEmptySurfaceSize, DIB_24BPP, kWhite);

    m_dialogs = DefaultViewDialogs(this);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted by paintEvent, so Qt need not clear the area first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateWindowRect();
}

CTavimoView::~CTavimoView()
{
    for (CDib* surface : {m_pPage1, m_pPage2, m_pScreen, m_pNextPage1, m_pNextPage2, m_pNextScreen})
        delete surface;
}

void CTavimoView::SetFrame(CFrameHost* frame)
{
    m_pFrame = frame;
}

bool CTavimoView::HasCurrentPage() const
{
    return m_itCurPage < m_pageList.size();
}

void CTavimoView::UpdateWindowRect()
{
    // The layout area is measured in device pixels, so pages are composed at the screen's
    // real resolution and painted one surface pixel to one device pixel.
    const qreal ratio = devicePixelRatioF();
    m_rcWindow = QRect(0, 0, qRound(width() * ratio), qRound(height() * ratio));
}

namespace {
// The device pixels a logical rectangle covers, and the logical rectangle covering device pixels.
QRect DeviceRect(const QRect& logical, qreal ratio)
{
    const int left = qFloor(logical.x() * ratio), top = qFloor(logical.y() * ratio);
    return QRect(QPoint(left, top), QPoint(qCeil((logical.x() + logical.width()) * ratio) - 1,
                                           qCeil((logical.y() + logical.height()) * ratio) - 1));
}

QRect LogicalRect(const QRect& device, qreal ratio)
{
    const int left = qFloor(device.x() / ratio), top = qFloor(device.y() / ratio);
    return QRect(QPoint(left, top), QPoint(qCeil((device.x() + device.width()) / ratio) - 1,
                                           qCeil((device.y() + device.height()) / ratio) - 1));
}
} // namespace

void CTavimoView::PaintSurface(QPainter& painter, const CDib& surface, const QRegion& region)
{
    const qreal ratio = devicePixelRatioF();
    const QRect widgetArea(0, 0, qCeil(width() * ratio), qCeil(height() * ratio));
    // Only what is to be painted is converted: after a sharpen that is the pages' area.
    for (const QRect& rect : region)
        m_screenImage.Paint(painter, surface, DeviceRect(rect, ratio) & widgetArea, ratio);
}

QRect CTavimoView::CoveredRect(const CDib& surface) const
{
    if (!surface.IsCreated())
        return QRect();
    const qreal ratio = devicePixelRatioF();
    return QRect(0, 0, qFloor(surface.GetWidth() / ratio), qFloor(surface.GetHeight() / ratio));
}

void CTavimoView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QRegion background = event->region();
    // A quick preview goes over the picture the window shows, which stays around it.
    if (m_pDrawNow && m_pDrawNow != m_pScreen) {
        PaintSurface(painter, *m_pScreen, background - CoveredRect(*m_pDrawNow));
        PaintSurface(painter, *m_pDrawNow, background);
        background -= CoveredRect(*m_pDrawNow);
    } else {
        PaintSurface(painter, *m_pScreen, background);
    }
    background -= CoveredRect(*m_pScreen);

    // What the pictures do not cover shows the desktop's base colour, the background of
    // text fields and documents (white on a light desktop, dark on a dark one).
    for (const QRect& rect : background)
        painter.fillRect(rect, palette().base());
}

void CTavimoView::UpdateShownScreen()
{
    if (m_unsharpenedShown.isEmpty()) {
        update();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QRegion logical;
    for (const QRect& rect : m_unsharpenedShown)
        logical += LogicalRect(rect, ratio);
    m_unsharpenedShown = QRegion();
    update(logical);
}

void CTavimoView::DrawNow(const CDib* surface)
{
    m_pDrawNow = surface;
    repaint();
    m_pDrawNow = nullptr;
}

void CTavimoView::resizeEvent(QResizeEvent* event)
{
    update();
    QWidget::resizeEvent(event);
    UpdateWindowRect();
    if (!HasCurrentPage())
        return;
    if (m_pScreen->IsCreated() && m_pScreen->GetWidth() == m_rcWindow.width()
        && m_pScreen->GetHeight() == m_rcWindow.height())
        return;
    if (g_option.bView2Page)
        ComposeTwoPages(m_pPage1, m_pPage2, m_pScreen, false);
    else
        ComposeOnePage(m_pPage1, m_pScreen, false);
}

bool CTavimoView::focusNextPrevChild(bool)
{
    // Tab flips the pages; it never moves the focus away from the view.
    return false;
}

void CTavimoView::StartTimer(int timerId, int milliseconds)
{
    KillTimer(timerId);
    m_timers[timerId] = startTimer(milliseconds);
}

void CTavimoView::KillTimer(int timerId)
{
    const auto found = m_timers.find(timerId);
    if (found == m_timers.end())
        return;
    killTimer(found->second);
    m_timers.erase(found);
}

bool CTavimoView::IsTimerRunning(int timerId) const
{
    return m_timers.count(timerId) != 0;
}

void CTavimoView::timerEvent(QTimerEvent* event)
{
    for (const auto& [viewId, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            OnTimer(viewId);
            return;
        }
    }
    QWidget::timerEvent(event);
}
