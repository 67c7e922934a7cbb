// CTavimoView: preparing the next turn ahead, in the timer tick that follows a page turn, so
// that the turn shows its pictures by exchanging surfaces instead of decoding.
#include "TavimoView.h"

#include "settings/Option.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcView, "tavimo.view", QtInfoMsg)
}

void CTavimoView::OnTimer(int timerId)
{
    m_bBusy = false;
    KillTimer(timerId);
    if (timerId != TIMER_PREPARE_FORWARD && timerId != TIMER_PREPARE_BACKWARD)
        return;
    const bool forward = timerId == TIMER_PREPARE_FORWARD;
    if (g_option.bView2Page)
        PrepareTwoPages(forward);
    else
        PrepareOnePage(forward);
}

void CTavimoView::PrepareOnePage(bool forward)
{
    if (!HasCurrentPage()) {
        m_strPrepared.clear();
        return;
    }
    const std::size_t current = m_itCurPage;
    if (forward ? current + 1 >= m_pageList.size() : current == 0) {
        m_strPrepared.clear();
        return;
    }
    const std::size_t next = forward ? current + 1 : current - 1;
    m_strPrepared = m_pageList[next];
    qCDebug(lcView) << "cache.";
    if (!LoadPage(m_pNextPage1, m_strPrepared)) {
        m_strPrepared.clear();
        return;
    }
    ComposeOnePage(m_pNextPage1, m_pNextScreen, false);
    qCDebug(lcView) << "cache........end";
}

void CTavimoView::PrepareTwoPages(bool forward)
{
    if (!HasCurrentPage()) {
        m_strPrepared.clear();
        return;
    }
    const std::size_t current = m_itCurPage;
    const std::size_t count = m_pageList.size();
    if (forward ? current + 2 >= count : current <= 2) {
        m_strPrepared.clear();
        return;
    }
    const std::size_t first = forward ? current + 2 : current - 2;
    m_strPrepared = m_pageList[first];
    qCDebug(lcView) << "cache.";
    if (!LoadPage(m_pNextPage1, m_strPrepared)) {
        m_strPrepared.clear();
        return;
    }
    // Without a second page the next spread is decoded at the turn.
    if (forward && current + 3 >= count) {
        m_strPrepared.clear();
        return;
    }
    if (!LoadPage(m_pNextPage2, m_pageList[first + 1])) {
        m_strPrepared.clear();
        return;
    }
    ComposeTwoPages(m_pNextPage1, m_pNextPage2, m_pNextScreen, false);
    qCDebug(lcView) << "cache........end";
}
