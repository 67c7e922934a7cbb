// CTavimoView: opening books (folders, picture files, ZIP, PCO, RAR, 7z and tar archives, drops and the
// command line) and reading one page's picture from the open source.
#include "TavimoView.h"

#include "Messages.h"
#include "imaging/Decode.h"
#include "settings/Option.h"
#include "settings/RecentBooks.h"
#include "sources/ArchiveKind.h"
#include "sources/PageNames.h"
#include "widgets/MessageBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {
#ifdef _WIN32
constexpr char kSeparators[] = "\\/";
#else
constexpr char kSeparators[] = "/";
#endif

// Pages up to this size keep their buffer for the next turn (scanned pages are a few
// megabytes).
constexpr std::size_t kKeptPageBytes = 32u << 20;

// The folder part of a path without its trailing separator; empty when there is none.
std::string FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

} // namespace

void CTavimoView::AddImageFile(const std::string& path)
{
    if (!IsImageFileName(path) || !IsFile(path))
        return;
    m_pageList.push_back(path);
    g_option.sRecentFolder = FolderOf(path);
}

void CTavimoView::SortPageList()
{
    std::sort(m_pageList.begin(), m_pageList.end(), PageNameLess);
}

void CTavimoView::ResetForNewSource()
{
    LeaveBook();
    // Entries such as "0000" recur between books: nothing prepared for the old book may be
    // taken for the new one, and a pending preparation must not hold back its first page.
    KillTimer(TIMER_PREPARE_FORWARD);
    KillTimer(TIMER_PREPARE_BACKWARD);
    m_bBusy = false;
    m_strPrepared.clear();
    // An archive book's open file, handle and kept pages go with it.
    m_archiveBook.reset();
}

void CTavimoView::ScanFolder(const std::string& folder)
{
    namespace fs = std::filesystem;
    g_option.sRecentFolder = folder;
    std::error_code error;
    fs::directory_iterator entry(fs::path(folder), error);
    if (error) {
        NotifyAndWait(QString::fromUtf8(viewtext::kFolderCannotOpen).arg(QString::fromStdString(folder)));
        return;
    }
    ResetForNewSource();
    m_sourceKind = SOURCE_FOLDER;
    m_pageList.clear();
    for (; !error && entry != fs::directory_iterator(); entry.increment(error))
        AddImageFile(JoinPath(folder, entry->path().filename().string()));
    SortPageList();
    m_itCurPage = m_pageList.size();
    if (!m_pageList.empty())
        ShowOpenedBook(folder);
    else
        NotifyAndWait(QString::fromUtf8(viewtext::kFolderEmpty).arg(QString::fromStdString(folder)));
}

void CTavimoView::OpenZip(const std::string& path)
{
    ZipListing listing = ListZipPictures(path);
    if (listing.status == ZipListing::CannotOpen) {
        NotifyAndWait(QString::fromUtf8(viewtext::kZipCannotOpen));
        return;
    }
    if (listing.status == ZipListing::GlobalInfoFailed) {
        NotifyAndWait(QString::fromUtf8(viewtext::kZipGlobalInfoError).arg(listing.errorCode));
        return;
    }
    ResetForNewSource();
    m_sourceKind = SOURCE_ZIP;
    m_strZipPath = path;
    m_zipIndex = std::move(listing.index);
    m_zipUtf8FlaggedPages = std::move(listing.utf8FlaggedPages);
    m_pageList = std::move(listing.pages);
    m_itCurPage = m_pageList.size();
    SortPageList();
    if (!m_pageList.empty())
        ShowOpenedBook(path);
}

void CTavimoView::OpenArchiveBook(const std::string& path)
{
    // Indexed aside first, so that a book that fails leaves the open one readable.
    auto book = std::make_unique<CArchiveBook>();
    switch (book->Open(path)) {
    case CArchiveBook::Ok:
        break;
    case CArchiveBook::IsZip:
        OpenZip(path);
        return;
    case CArchiveBook::Encrypted:
        NotifyAndWait(QString::fromUtf8(viewtext::kArchiveEncrypted));
        return;
    case CArchiveBook::TooManyEntries:
        NotifyAndWait(QString::fromUtf8(viewtext::kArchiveTooManyEntries).arg(kMaxArchiveEntries));
        return;
    case CArchiveBook::NotAnArchive:
        NotifyAndWait(QString::fromUtf8(viewtext::kArchiveUnknown));
        return;
    case CArchiveBook::CannotOpen:
    case CArchiveBook::Damaged:
        NotifyAndWait(QString::fromUtf8(viewtext::kArchiveCannotOpen));
        return;
    }
    ResetForNewSource();
    m_sourceKind = SOURCE_ARCHIVE_BOOK;
    m_strArchivePath = path;
    m_pageList = book->Pages();
    m_archiveBook = std::move(book);
    m_itCurPage = m_pageList.size();
    SortPageList();
    if (!m_pageList.empty())
        ShowOpenedBook(path);
}

void CTavimoView::OpenPco(const std::string& path)
{
    // Read the directory aside first, so a damaged file leaves the open book readable.
    auto opened = std::make_unique<CPco>();
    if (!opened->Open(path)) {
        NotifyAndWait(QString::fromUtf8(viewtext::kPcoCannotOpen));
        return;
    }
    ResetForNewSource();
    m_sourceKind = SOURCE_PCO;
    m_strPcoPath = path;
    m_pco = *opened;
    m_pageList.clear();
    char name[16];
    for (std::int32_t index = 0; index < m_pco.m_count; ++index) {
        std::snprintf(name, sizeof name, "%04d", int(index));
        m_pageList.emplace_back(name);
    }
    m_itCurPage = m_pageList.size();
    SortPageList();
    if (!m_pageList.empty())
        ShowOpenedBook(path);
}

bool CTavimoView::ReadPageBytes(const std::string& page)
{
    bool read = false;
    switch (m_sourceKind) {
    case SOURCE_FOLDER:
        read = imaging::ReadPictureFile(page, m_pageBytes);
        break;
    case SOURCE_PCO:
        read = ReadPcoEntry(m_pco, page, m_pageBytes);
        break;
    case SOURCE_ZIP:
        read = ReadZipEntry(m_strZipPath, page, m_pageBytes, &m_zipIndex);
        break;
    case SOURCE_ARCHIVE_BOOK:
        read = m_archiveBook && m_archiveBook->ReadPage(page, m_pageBytes);
        break;
    }
    return read;
}

void CTavimoView::ReleasePageBytes()
{
    // The buffer is kept so that turns reuse its memory, but one unusually large page
    // must not hold its size for the rest of the session.
    if (m_pageBytes.capacity() > kKeptPageBytes)
        std::vector<std::uint8_t>().swap(m_pageBytes);
}

bool CTavimoView::LoadPage(CDib* target, const std::string& page)
{
    bool loaded = ReadPageBytes(page)
                  && target->LoadFromMemory(m_pageBytes.data(), static_cast<std::uint32_t>(m_pageBytes.size()));
    ReleasePageBytes();
    if (loaded && g_option.bRotate)
        loaded = RotatePage(target);
    return loaded;
}

void CTavimoView::OpenArchiveByName(const std::string& path)
{
    switch (ArchiveKindFromName(path)) {
    case ArchiveKind::Pco:
        OpenPco(path);
        break;
    case ArchiveKind::Zip:
        OpenZip(path);
        break;
    case ArchiveKind::Rar:
    case ArchiveKind::SevenZip:
    case ArchiveKind::Tar:
        OpenArchiveBook(path);
        break;
    case ArchiveKind::None:
        break;
    }
}

void CTavimoView::OpenCommandLinePath(const std::string& path)
{
    if (IsDirectory(path))
        ScanFolder(path);
    else
        OpenArchiveByName(path);
}

void CTavimoView::ShowOpenedBook(const std::string& path)
{
    m_bookPath = path;
    std::size_t start = 0;
    const RecentBook* known = g_recentBooks.Find(path, m_sourceKind);
    if (known && (g_option.bResumePage || m_bOpeningRecent)) {
        // A page gone from the book since it was read leaves it on its first page.
        const auto page = std::find(m_pageList.begin(), m_pageList.end(), known->page);
        if (page != m_pageList.end())
            start = std::size_t(page - m_pageList.begin());
    }
    g_recentBooks.Remember(path, m_sourceKind, m_pageList[start]);
    ShowOpenedPage(start);
}

void CTavimoView::LeaveBook()
{
    if (m_bookPath.empty())
        return;
    if (HasCurrentPage())
        g_recentBooks.Remember(m_bookPath, m_sourceKind, m_pageList[m_itCurPage]);
    g_recentBooks.Save();
    m_bookPath.clear();
}

void CTavimoView::OpenRecentBook(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(path), error)) {
        g_recentBooks.Forget(path);
        g_recentBooks.Save();
        NotifyAndWait(QString::fromUtf8(viewtext::kOpenFailed));
        return;
    }
    m_bOpeningRecent = true;
    OpenCommandLinePath(path);
    m_bOpeningRecent = false;
}

void CTavimoView::OpenPictureFiles(const std::vector<std::string>& paths)
{
    // The new book is gathered beside the open one: names that give no page at all leave
    // the open book readable, and a name gone from the disk since it was chosen is reported.
    std::vector<std::string> picked;
    picked.swap(m_pageList);
    for (const std::string& path : paths)
        AddImageFile(path);
    picked.swap(m_pageList);
    if (picked.empty()) {
        if (std::any_of(paths.begin(), paths.end(),
                        [](const std::string& path) { return !IsFile(path) && !IsDirectory(path); }))
            NotifyAndWait(QString::fromUtf8(viewtext::kOpenFailed));
        return;
    }
    ResetForNewSource();
    m_sourceKind = SOURCE_FOLDER;
    m_pageList = std::move(picked);
    SortPageList();
    m_itCurPage = m_pageList.size();
    TurnPage(true);
}

void CTavimoView::OnOpenFile()
{
    if (!m_dialogs.chooseImageFiles)
        return;
    const std::vector<std::string> paths = m_dialogs.chooseImageFiles(g_option.sRecentFolder);
    if (paths.empty())
        return;
    g_option.sRecentFolder = FolderOf(paths.front());
    OpenPictureFiles(paths);
}

void CTavimoView::OnOpenFolder()
{
    if (!m_dialogs.chooseFolder)
        return;
    const std::string folder = m_dialogs.chooseFolder(g_option.sRecentFolder);
    if (!folder.empty())
        ScanFolder(folder);
}

void CTavimoView::OnOpenArchive()
{
    if (!m_dialogs.chooseArchive)
        return;
    const std::string path = m_dialogs.chooseArchive(g_option.sRecentFolder);
    if (path.empty())
        return;
    g_option.sRecentFolder = FolderOf(path);
    OpenArchiveByName(path);
}

void CTavimoView::OpenDroppedPaths(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    // Only the first name can open a folder or an archive; later ones must be pictures.
    const std::string& first = paths.front();
    if (IsDirectory(first)) {
        g_option.sRecentFolder = first;
        ScanFolder(first);
        return;
    }
    if (ArchiveKindFromName(first) != ArchiveKind::None) {
        g_option.sRecentFolder = FolderOf(first);
        OpenArchiveByName(first);
        return;
    }
    OpenPictureFiles(paths);
}

void CTavimoView::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void CTavimoView::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    // The path's own bytes: QUrl keeps what is not UTF-8 percent-encoded, where toLocalFile()
    // would turn it into U+FFFD and name a file that does not exist.
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
    event->acceptProposedAction();
    OpenDroppedPaths(paths);
}
