// CTavimoView: keys, wheel and mouse buttons over the view, and what each of them does.
#include "TavimoView.h"

#include "CommandIds.h"
#include "FrameHost.h"
#include "settings/Option.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

namespace {

enum class KeyAction {
    TurnForward,
    TurnBackward,
    SelectPage,
    Flip,
    ToggleBars,
    OnePage,
    TwoPageToggle,
    PostSharpen,
    PostInterpolation,
    PostZoomToggle,
    PostFullscreen,
    Redraw,
    FirstPage,
    LastPage,
};

struct KeyBinding {
    int key;
    KeyAction action;
};

// The keys the view handles itself; every other key does nothing here.
constexpr KeyBinding kKeyBindings[] = {
    {Qt::Key_Space, KeyAction::TurnForward},
    {Qt::Key_PageDown, KeyAction::TurnForward},
    {Qt::Key_Down, KeyAction::TurnForward},
    {Qt::Key_Insert, KeyAction::TurnForward},
    {Qt::Key_Delete, KeyAction::TurnForward},
    {Qt::Key_PageUp, KeyAction::TurnBackward},
    {Qt::Key_Up, KeyAction::TurnBackward},
    {Qt::Key_Return, KeyAction::SelectPage},
    {Qt::Key_Enter, KeyAction::SelectPage},
    {Qt::Key_Tab, KeyAction::Flip},
    {Qt::Key_Backtab, KeyAction::Flip},
    {Qt::Key_QuoteLeft, KeyAction::ToggleBars},
    {Qt::Key_1, KeyAction::OnePage},
    {Qt::Key_2, KeyAction::TwoPageToggle},
    {Qt::Key_S, KeyAction::PostSharpen},
    {Qt::Key_I, KeyAction::PostInterpolation},
    {Qt::Key_Z, KeyAction::PostZoomToggle},
    {Qt::Key_Escape, KeyAction::PostFullscreen},
    {Qt::Key_F, KeyAction::PostFullscreen},
    {Qt::Key_F5, KeyAction::Redraw},
    {Qt::Key_Home, KeyAction::FirstPage},
    {Qt::Key_End, KeyAction::LastPage},
};

} // namespace

bool CTavimoView::RunKeyAction(int key)
{
    const auto binding = std::find_if(std::begin(kKeyBindings), std::end(kKeyBindings),
                                      [key](const KeyBinding& entry) { return entry.key == key; });
    if (binding == std::end(kKeyBindings))
        return false;

    auto post = [this](int id) {
        if (m_pFrame)
            m_pFrame->PostCommand(id);
    };
    switch (binding->action) {
    case KeyAction::TurnForward:
        TurnPage(true);
        break;
    case KeyAction::TurnBackward:
        TurnPage(false);
        break;
    case KeyAction::SelectPage:
        SelectPage();
        break;
    case KeyAction::Flip:
        OnFlip();
        break;
    case KeyAction::ToggleBars:
        post(ID_VIEW_TOOLBAR);
        post(ID_VIEW_STATUS_BAR);
        break;
    case KeyAction::OnePage:
        OnViewOnePage();
        break;
    case KeyAction::TwoPageToggle:
        OnView2Page();
        break;
    case KeyAction::PostSharpen:
        post(ID_SHARPEN);
        break;
    case KeyAction::PostInterpolation:
        post(ID_INTERPOLATION);
        break;
    case KeyAction::PostZoomToggle:
        post(ID_ZOOM_TOGGLE);
        break;
    case KeyAction::PostFullscreen:
        post(ID_FULLSCREEN);
        break;
    case KeyAction::Redraw:
        ShowCurrentPage();
        break;
    case KeyAction::FirstPage:
        ShowFirstPage();
        break;
    case KeyAction::LastPage:
        ShowLastPage();
        break;
    }
    return true;
}

void CTavimoView::keyPressEvent(QKeyEvent* event)
{
    if (!RunKeyAction(ViewKey(*event, m_keyCodes)))
        QWidget::keyPressEvent(event);
}

void CTavimoView::wheelEvent(QWheelEvent* event)
{
    // Only vertical notches turn: sideways scrolling and the empty begin and end phases of
    // touchpad scrolling are no wheel turns.
    const int delta = event->angleDelta().y();
    if (delta != 0)
        TurnPage(delta < 0);
    event->ignore();
}

void CTavimoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !HasCurrentPage())
        return;
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point))
        return;
    const int halfWidth = width() / 2;
    const int halfHeight = height() / 2;
    // The backward zone is the upper half, or the left half when pages are rotated.
    const bool backward = g_option.bRotate ? point.x() < halfWidth : point.y() < halfHeight;
    TurnPage(!backward);
}

void CTavimoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_pFrame)
        m_pFrame->PostCommand(ID_VIEW_TOOLBAR);
}

void CTavimoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && m_pFrame)
        m_pFrame->PostCommand(ID_FULLSCREEN);
}
