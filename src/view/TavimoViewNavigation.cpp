// CTavimoView: moving through the page list (turns, ten-page jumps, first and last page, the
// page select dialog) and the commands that change how pages are drawn.
#include "TavimoView.h"

#include "Messages.h"
#include "settings/Option.h"

namespace {
constexpr int kOnePagePrepareDelayMs = 100;
constexpr int kTwoPagePrepareDelayMs = 10;
constexpr std::size_t kJump = 10;

void Invert(std::int32_t& flag)
{
    flag = flag == 0 ? 1 : 0;
}
} // namespace

bool CTavimoView::TurnPage(bool forward)
{
    if (m_bBusy)
        return false;
    if (g_option.bView2Page)
        return TurnPages(forward);
    if (m_pageList.empty()) {
        NotifyAndWait(QString::fromUtf8(viewtext::kNoFiles));
        return false;
    }
    const std::size_t count = m_pageList.size();
    if (!HasCurrentPage()) {
        if (!forward)
            return false;
        m_itCurPage = 0;
    } else if (forward) {
        if (m_itCurPage == count - 1) {
            Notify(viewtext::kLastPage);
            return false;
        }
        ++m_itCurPage;
    } else {
        if (m_itCurPage == 0) {
            Notify(viewtext::kFirstPage);
            return false;
        }
        --m_itCurPage;
    }
    return ShowTurnedPage(forward, kOnePagePrepareDelayMs);
}

bool CTavimoView::ShowTurnedPage(bool forward, int prepareDelayMs)
{
    if (!ShowCurrentPage())
        return false;
    // With reading ahead on, further turns wait for the tick that prepares the next one.
    if (g_option.bCacheNextFile) {
        StartTimer(forward ? TIMER_PREPARE_FORWARD : TIMER_PREPARE_BACKWARD, prepareDelayMs);
        m_bBusy = true;
    }
    return true;
}

bool CTavimoView::TurnPages(bool forward)
{
    if (m_bBusy)
        return false;
    if (m_pageList.empty()) {
        Notify(viewtext::kNoFiles);
        return false;
    }
    const std::size_t count = m_pageList.size();
    if (!HasCurrentPage()) {
        if (!forward)
            return false;
        m_itCurPage = 0;
    } else {
        if (forward && m_itCurPage + 2 >= count) {
            Notify(viewtext::kLastOfBook);
            return false;
        }
        if (!forward && m_itCurPage <= 1) {
            Notify(viewtext::kFirstPage);
            return false;
        }
        // A wide first page stands alone, so the spread moves by one page.
        const bool wide = g_option.bAutoDetectWidth && IsWidePage(m_pPage1->GetWidth(), m_pPage1->GetHeight());
        const std::size_t step = wide ? 1 : 2;
        m_itCurPage = forward ? m_itCurPage + step : m_itCurPage - step;
    }
    return ShowTurnedPage(forward, kTwoPagePrepareDelayMs);
}

void CTavimoView::OnPrev10()
{
    if (!HasCurrentPage())
        return;
    if (m_itCurPage == 0) {
        Notify(viewtext::kFirstPage);
        return;
    }
    m_itCurPage = m_itCurPage > kJump ? m_itCurPage - kJump : 0;
    ShowCurrentPage();
}

void CTavimoView::OnNext10()
{
    if (!HasCurrentPage())
        return;
    const std::size_t last = m_pageList.size() - 1;
    if (m_itCurPage == last) {
        Notify(viewtext::kLastOfBook);
        return;
    }
    m_itCurPage = m_itCurPage + kJump < last ? m_itCurPage + kJump : last;
    ShowCurrentPage();
}

void CTavimoView::ShowFirstPage()
{
    if (!HasCurrentPage())
        return;
    m_itCurPage = 0;
    ShowCurrentPage();
}

void CTavimoView::ShowLastPage()
{
    if (!HasCurrentPage())
        return;
    m_itCurPage = m_pageList.size() - 1;
    ShowCurrentPage();
}

void CTavimoView::SelectPage()
{
    if (m_pageList.empty()) {
        Notify(viewtext::kOpenFirst);
        return;
    }
    if (!m_dialogs.choosePage)
        return;
    std::vector<std::string> shown;
    shown.reserve(m_pageList.size());
    for (const std::string& page : m_pageList)
        shown.push_back(ShownPageName(page));
    const std::optional<std::size_t> chosen = m_dialogs.choosePage(shown, m_itCurPage);
    if (!chosen || *chosen >= m_pageList.size() || *chosen == m_itCurPage)
        return;
    m_itCurPage = *chosen;
    ShowCurrentPage();
}

void CTavimoView::OnPagePrev()
{
    if (HasCurrentPage())
        TurnPage(false);
}

void CTavimoView::OnPageNext()
{
    if (HasCurrentPage())
        TurnPage(true);
}

void CTavimoView::OnFlip()
{
    if (!g_option.bView2Page)
        return;
    Invert(g_option.bFlipPage);
    ShowCurrentPage();
    m_strPrepared.clear();
}

void CTavimoView::OnView2Page()
{
    Invert(g_option.bView2Page);
    m_strPrepared.clear();
    ShowCurrentPage();
}

void CTavimoView::OnViewOnePage()
{
    if (!g_option.bView2Page)
        return;
    m_strPrepared.clear();
    g_option.bView2Page = 0;
    ShowCurrentPage();
}

void CTavimoView::OnInterpolation()
{
    Invert(g_option.bInterpolation);
    m_strPrepared.clear();
    ShowCurrentPage();
}

void CTavimoView::OnSharpen()
{
    Invert(g_option.bSharpen);
    m_strPrepared.clear();
    ShowCurrentPage();
}

void CTavimoView::OnRotate()
{
    Invert(g_option.bRotate);
    m_strPrepared.clear();
    ShowCurrentPage();
}

void CTavimoView::OnZoomToggle()
{
    Invert(g_option.bStretech);
    m_strPrepared.clear();
    ShowCurrentPage();
    update();
}

void CTavimoView::OnOptionsChanged()
{
    // Pictures prepared under the old settings must not be shown under the new ones.
    m_strPrepared.clear();
    ShowCurrentPage();
}
