// CTavimoView: the unprepared turn in fit mode with smoothing. A worker decodes the pages
// into the spare page surfaces while this thread reads their bytes and scales and sharpens
// the decoded rows into the spare screen, so the turn costs little more than the decode;
// the result is byte for byte the composition of ComposeOnePage and ComposeTwoPages. The
// quick preview of the first page goes up as soon as the rows the window shows are decoded,
// while the rest decodes; the scaled page before the sharpen is not drawn, since the sharpen
// follows the scale a row behind and the final picture comes with the decode's end.
#include "TavimoView.h"

#include "FrameHost.h"
#include "Messages.h"
#include "imaging/PageStream.h"
#include "settings/Option.h"
#include "sources/RegularFile.h"

#include <QtMath>
#include <utility>

using imaging::PagePlacement;

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;

// A page's buffer gets the size its book declares before the bytes are read, and must not
// move while the worker decodes from it. A bigger page is read whole first, since a declared
// size is not trusted with an allocation before data backs it.
constexpr std::uint64_t kMostBytesReadInParts = 8u << 20;

} // namespace

// A picture file or a ZIP entry read a part at a time.
class PagePartReader {
public:
    // False when the file cannot be read as ReadPictureFile reads it, or is bigger than
    // kMostBytesReadInParts.
    bool OpenFile(const std::string& path)
    {
        if (!m_file.Open(path))
            return false;
        m_declared = static_cast<std::uint64_t>(std::max<std::int64_t>(m_file.Size(), 0));
        return m_declared > 0 && m_declared <= kMostBytesReadInParts;
    }
    bool OpenZipEntry(const std::string& zipPath, const std::string& name, const ZipIndex& index)
    {
        m_zipped = m_zip.Open(zipPath, name, &index);
        m_declared = m_zip.DeclaredSize();
        return m_zipped && m_declared <= kMostBytesReadInParts;
    }
    std::uint64_t DeclaredSize() const { return m_declared; }
    // Reads the part that follows the first `offset` bytes into `buffer` at that offset.
    std::int64_t ReadPart(std::uint8_t* buffer, std::size_t offset, std::size_t room)
    {
        if (m_zipped)
            return m_zip.ReadPart(buffer + offset, room);
        return m_file.ReadAt(static_cast<std::int64_t>(offset), buffer + offset, room);
    }

private:
    CRegularFile m_file;
    ZipEntryReader m_zip;
    bool m_zipped = false;
    std::uint64_t m_declared = 0;
};

bool CTavimoView::CanStreamTurn() const
{
    return m_streamTurns && g_option.bStretech && g_option.bInterpolation && !g_option.bRotate;
}

imaging::PagePreview CTavimoView::FirstPagePreview()
{
    // The rows of the page the window shows when it is drawn unscaled at the origin.
    return {qCeil(height() * devicePixelRatioF()), [this](const CDib& decoding) { DrawNow(&decoding); }};
}

bool CTavimoView::OpenPageInParts(const std::string& page, PagePartReader& reader) const
{
    switch (m_sourceKind) {
    case SOURCE_FOLDER:
        return reader.OpenFile(page);
    case SOURCE_ZIP:
        return reader.OpenZipEntry(m_strZipPath, page, m_zipIndex);
    case SOURCE_PCO:
    case SOURCE_ARCHIVE_BOOK:
        break;
    }
    return false;
}

bool CTavimoView::AddStreamedPage(imaging::PageStream& stream, CDib& page, CDib& spare, const std::string& name,
                                  const imaging::PlacePage& place, const imaging::PagePreview& preview)
{
    bool loaded = false;
    PagePartReader reader;
    if (OpenPageInParts(name, reader)) {
        m_pageBytes.resize(static_cast<std::size_t>(reader.DeclaredSize()));
        imaging::PageBytes bytes{m_pageBytes.data(), static_cast<std::uint32_t>(m_pageBytes.size()), 0,
                                 [this, &reader](std::size_t offset, std::size_t room) {
                                     return reader.ReadPart(m_pageBytes.data(), offset, room);
                                 }};
        loaded = stream.AddPage(page, spare, bytes, place, preview);
    } else if (ReadPageBytes(name)) {
        loaded = stream.AddPage(page, spare, m_pageBytes.data(), static_cast<std::uint32_t>(m_pageBytes.size()),
                                place, preview);
    } else {
        stream.AddDecodedPage(page, place); // what the page holds is shown, as in a composition
    }
    ReleasePageBytes();
    return loaded;
}

void CTavimoView::ShowStreamedScreen()
{
    std::swap(m_pScreen, m_pNextScreen);
    FinishComposition();
    m_unsharpenedShown = QRegion();
    UpdateShownScreen();
}

bool CTavimoView::StreamOnePage()
{
    UpdateWindowRect();
    EnsureScreenSize(m_pNextScreen);
    m_strPrepared.clear(); // the spare screen is drawn over
    const int width = m_pNextScreen->GetWidth(), height = m_pNextScreen->GetHeight();
    imaging::PageStream stream(*m_pNextScreen, g_option.bSharpen, m_pFrame ? ProgressCallback : nullptr, m_pFrame);
    const auto place = [&](int pageWidth, int pageHeight) {
        return PagePlacement{FittedRect(pageWidth, pageHeight, 0, width, height), true};
    };
    if (!AddStreamedPage(stream, *m_pPage1, *m_pNextPage1, m_pageList[m_itCurPage], place, FirstPagePreview())) {
        NotifyAndWait(QString::fromUtf8(viewtext::kOpenFailed));
        DrawNow(m_pPage1);
    }
    ShowStreamedScreen();
    return true;
}

bool CTavimoView::StreamTwoPages()
{
    UpdateWindowRect();
    EnsureScreenSize(m_pNextScreen);
    m_strPrepared.clear();
    const int width = m_pNextScreen->GetWidth(), height = m_pNextScreen->GetHeight(), half = width / 2;
    const int firstLeft = g_option.bFlipPage ? half : 0, secondLeft = g_option.bFlipPage ? 0 : half;
    imaging::PageStream stream(*m_pNextScreen, g_option.bSharpen, m_pFrame ? ProgressCallback : nullptr, m_pFrame);
    bool alone = false; // a wide first page is shown by itself
    const auto placeFirst = [&](int pageWidth, int pageHeight) {
        alone = g_option.bAutoDetectWidth && IsWidePage(pageWidth, pageHeight);
        if (alone)
            return PagePlacement{FittedRect(pageWidth, pageHeight, 0, width, height), true};
        return PagePlacement{FittedRect(pageWidth, pageHeight, firstLeft, half, height), false};
    };
    if (!AddStreamedPage(stream, *m_pPage1, *m_pNextPage1, m_pageList[m_itCurPage], placeFirst, FirstPagePreview())) {
        update(); // the preview of the page that failed leaves the window to the shown screen
        FinishComposition(); // what was drawn of it is not shown: its progress goes too
        NotifyAndWait(QString::fromUtf8(viewtext::kOpenFailed));
        return false;
    }
    const auto placeSecond = [&](int pageWidth, int pageHeight) {
        return PagePlacement{FittedRect(pageWidth, pageHeight, secondLeft, half, height), true};
    };
    const std::size_t second = m_itCurPage + 1;
    if (second >= m_pageList.size()) {
        m_pPage2->Fill(kWhite); // the last page's partner is blank, of the size it last had
        if (!alone)
            stream.AddDecodedPage(*m_pPage2, placeSecond);
    } else if (alone) {
        LoadPage(m_pPage2, m_pageList[second]); // decoded as always, though not shown
    } else {
        AddStreamedPage(stream, *m_pPage2, *m_pNextPage2, m_pageList[second], placeSecond, {});
    }
    ShowStreamedScreen();
    return true;
}
