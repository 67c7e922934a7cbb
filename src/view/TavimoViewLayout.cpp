// CTavimoView: composing the current page or pair into the window-sized picture, taking the
// pictures prepared ahead, and the title and page counter.
#include "TavimoView.h"

#include "FrameHost.h"
#include "Messages.h"
#include "imaging/Sharpen.h"
#include "imaging/SmoothScale.h"
#include "settings/Option.h"
#include "sources/NameEncoding.h"
#include "widgets/MessageBox.h"

#include <utility>

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;

bool HasSize(const CDib& surface, const QRect& area)
{
    return surface.IsCreated() && surface.GetWidth() == area.width() && surface.GetHeight() == area.height();
}
} // namespace

bool IsWidePage(int width, int height)
{
    return width > height;
}

bool CTavimoView::ShowCurrentPage()
{
    if (!HasCurrentPage())
        return false;
    UpdateWindowRect();
    const bool shown = g_option.bView2Page ? ShowTwoPages() : ShowOnePage();
    if (m_pFrame)
        m_pFrame->ShowPageStatus(FormatTitle());
    return shown;
}

bool CTavimoView::ShowOnePage()
{
    m_unsharpenedShown = QRegion();
    bool ok = true;
    const bool prepared = m_pageList[m_itCurPage] == m_strPrepared;
    if (!prepared && CanStreamTurn())
        return StreamOnePage();
    if (!prepared) {
        ok = LoadCurrentPage();
        DrawNow(m_pPage1);
    } else {
        std::swap(m_pPage1, m_pNextPage1);
    }
    if (prepared && g_option.bStretech && HasSize(*m_pNextScreen, m_rcWindow))
        std::swap(m_pScreen, m_pNextScreen);
    else
        ok = ComposeOnePage(m_pPage1, m_pScreen, true);
    // The spare surfaces now hold the previous pictures: they must not be taken again.
    if (prepared)
        m_strPrepared.clear();
    UpdateShownScreen();
    return ok;
}

bool CTavimoView::ShowTwoPages()
{
    m_unsharpenedShown = QRegion();
    const bool prepared = m_pageList[m_itCurPage] == m_strPrepared;
    if (!prepared && CanStreamTurn())
        return StreamTwoPages();
    if (!prepared) {
        if (!LoadCurrentPages())
            return false;
        DrawNow(m_pPage1);
    } else {
        std::swap(m_pPage1, m_pNextPage1);
        std::swap(m_pPage2, m_pNextPage2);
    }
    bool ok = true;
    if (prepared && g_option.bStretech && HasSize(*m_pNextScreen, m_rcWindow))
        std::swap(m_pScreen, m_pNextScreen);
    else
        ok = ComposeTwoPages(m_pPage1, m_pPage2, m_pScreen, true);
    if (prepared)
        m_strPrepared.clear();
    UpdateShownScreen();
    return ok;
}

bool CTavimoView::LoadCurrentPage()
{
    if (LoadPage(m_pPage1, m_pageList[m_itCurPage]))
        return true;
    NotifyAndWait(QString::fromUtf8(viewtext::kOpenFailed));
    return false;
}

bool CTavimoView::LoadCurrentPages()
{
    if (!LoadCurrentPage())
        return false;
    const std::size_t next = m_itCurPage + 1;
    if (next >= m_pageList.size()) {
        m_pPage2->Fill(kWhite);
        return true;
    }
    // A second page that fails is not reported: its slot shows what the surface holds.
    LoadPage(m_pPage2, m_pageList[next]);
    return true;
}

bool CTavimoView::EnsureScreenSize(CDib* target) const
{
    if (HasSize(*target, m_rcWindow))
        return true;
    return target->Create(m_rcWindow.width(), m_rcWindow.height(), DIB_24BPP, kWhite);
}

QRect CTavimoView::FittedRect(int pageWidth, int pageHeight, int left, int slotWidth, int slotHeight)
{
    if (pageWidth <= 0 || pageHeight <= 0 || slotWidth <= 0 || slotHeight <= 0)
        return QRect();
    // Fit inside the slot with the aspect ratio kept; pages may grow as well as shrink.
    const double scale = double(slotHeight) / slotWidth <= double(pageHeight) / pageWidth
                             ? double(slotHeight) / pageHeight
                             : double(slotWidth) / pageWidth;
    return QRect(left, 0, int(pageWidth * scale), int(pageHeight * scale));
}

QRect CTavimoView::FitPage(CDib* page, CDib* target, int left, int slotWidth, int slotHeight)
{
    const int pageWidth = page->GetWidth();
    const int pageHeight = page->GetHeight();
    const QRect fitted = FittedRect(pageWidth, pageHeight, left, slotWidth, slotHeight);
    if (fitted.isEmpty())
        return QRect();
    if (g_option.bInterpolation) {
        if (m_pFrame)
            page->SetProgress(ProgressCallback, m_pFrame);
        page->SmoothStretchTo(target, left, 0, left + fitted.width(), fitted.height(), 0, 0, pageWidth, pageHeight);
        page->SetProgress(nullptr, nullptr);
    } else {
        page->StretchTo(target, left, 0, left + fitted.width(), fitted.height(), 0, 0, pageWidth, pageHeight);
    }
    return imaging::SmoothlyDrawnArea(fitted);
}

QRegion CTavimoView::SharpenComposition(CDib* target, const std::vector<QRect>& drawn)
{
    if (!g_option.bSharpen)
        return QRegion();
    if (m_pFrame)
        target->SetProgress(ProgressCallback, m_pFrame);
    QRegion sharpened;
    for (const QRect& area : imaging::SharpenAreas(drawn)) {
        target->SharpenArea(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
        sharpened += area;
    }
    target->SetProgress(nullptr, nullptr);
    return sharpened;
}

void CTavimoView::FinishComposition()
{
    if (m_pFrame)
        m_pFrame->SetProgressPos(0);
}

bool CTavimoView::ComposeOnePage(CDib* page, CDib* target, bool drawNow)
{
    UpdateWindowRect();
    EnsureScreenSize(target);
    target->Fill(kWhite);
    m_unsharpenedShown = QRegion();
    if (g_option.bStretech) {
        const QRect drawn = FitPage(page, target, 0, target->GetWidth(), target->GetHeight());
        // The scaled page goes up before the sharpen; without one the final paint follows at once.
        const bool drawnFirst = drawNow && g_option.bSharpen;
        if (drawnFirst)
            DrawNow(target);
        const QRegion sharpened = SharpenComposition(target, {drawn});
        if (drawnFirst)
            m_unsharpenedShown = sharpened;
    } else {
        page->DrawToDib(target, 0, 0);
    }
    FinishComposition();
    return true;
}

bool CTavimoView::ComposeTwoPages(CDib* page1, CDib* page2, CDib* target, bool drawNow)
{
    UpdateWindowRect();
    if (g_option.bAutoDetectWidth && IsWidePage(page1->GetWidth(), page1->GetHeight()))
        return ComposeOnePage(page1, target, false);

    CDib* left = g_option.bFlipPage ? page2 : page1;
    CDib* right = g_option.bFlipPage ? page1 : page2;
    EnsureScreenSize(target);
    target->Fill(kWhite);
    m_unsharpenedShown = QRegion();
    const int half = target->GetWidth() / 2;
    if (g_option.bStretech) {
        const QRect leftDrawn = FitPage(left, target, 0, half, target->GetHeight());
        if (drawNow)
            DrawNow(target);
        const QRect rightDrawn = FitPage(right, target, half, half, target->GetHeight());
        const bool drawnFirst = drawNow && g_option.bSharpen;
        if (drawnFirst)
            DrawNow(target);
        const QRegion sharpened = SharpenComposition(target, {leftDrawn, rightDrawn});
        if (drawnFirst)
            m_unsharpenedShown = sharpened;
    } else {
        left->DrawToDib(target, 0, 0);
        right->DrawToDib(target, half, 0);
    }
    FinishComposition();
    return true;
}

QString CTavimoView::GetPageCounterText() const
{
    if (!HasCurrentPage())
        return QString();
    return QString::fromUtf8(viewtext::kPageCounter).arg(m_itCurPage + 1).arg(m_pageList.size());
}

std::string CTavimoView::ShownPageName(const std::string& page) const
{
    switch (m_sourceKind) {
    case SOURCE_ZIP:
        return DisplayNameFromBytes(page, m_zipUtf8FlaggedPages.contains(page));
    case SOURCE_FOLDER:
        return DisplayPathFromBytes(page);
    case SOURCE_PCO:
    case SOURCE_ARCHIVE_BOOK: // listed by the text it shows
        break;
    }
    return page;
}

QString CTavimoView::FormatTitle() const
{
    const QString product = QString::fromUtf8(viewtext::kProductName);
    const QString page = QString::fromStdString(ShownPageName(m_pageList[m_itCurPage]));
    const std::string* archive = nullptr;
    switch (m_sourceKind) {
    case SOURCE_PCO: archive = &m_strPcoPath; break;
    case SOURCE_ZIP: archive = &m_strZipPath; break;
    case SOURCE_ARCHIVE_BOOK: archive = &m_strArchivePath; break;
    case SOURCE_FOLDER: break;
    }
    if (archive)
        return QString::fromUtf8(viewtext::kTitleArchive)
            .arg(product, QString::fromStdString(DisplayPathFromBytes(*archive)), page);
    return QString::fromUtf8(viewtext::kTitleFolder).arg(product, page);
}

void CTavimoView::Notify(const char* text)
{
    GMessageBoxAutoClose(this, QString::fromUtf8(text),
                         QString::fromUtf8(viewtext::kProductName), 1, 0);
}

void CTavimoView::NotifyAndWait(const QString& text)
{
    GMessageBox(this, text, QString::fromUtf8(viewtext::kProductName), MB_OK, 0, 0);
}
