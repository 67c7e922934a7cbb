// CRecentBooks: each book is stored as one text "kind:path:page" with the path and the page
// as hexadecimal bytes, so that a path in any encoding comes back byte for byte.
#include "RecentBooks.h"

#include "RegStore.h"

#include <QByteArray>

#include <algorithm>
#include <optional>

CRecentBooks g_recentBooks;

namespace {

constexpr const char* kRecentBooks = "sRecentBooks";
// Longer paths or entry names than this are not a book's: a damaged store is not read into
// memory whole.
constexpr qsizetype kMaxNameBytes = 4096;
constexpr std::int32_t kMaxKind = 999;

bool Contains(const std::vector<std::string>& paths, const std::string& path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}

std::vector<RecentBook>::iterator FindPath(std::vector<RecentBook>& books, const std::string& path) {
    return std::find_if(books.begin(), books.end(),
                        [&](const RecentBook& book) { return book.path == path; });
}

// Hexadecimal digits back to bytes; nothing when the text is not whole hexadecimal bytes
// or decodes to more than kMaxNameBytes.
std::optional<std::string> FromHex(const QString& text) {
    if (text.size() % 2 != 0 || text.size() > 2 * kMaxNameBytes)
        return std::nullopt;
    const bool hex = std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    });
    if (!hex)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString ToHex(const std::string& bytes) {
    return QString::fromLatin1(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex());
}

} // namespace

QStringList CRecentBooks::Encode(const std::vector<RecentBook>& books) {
    QStringList stored;
    for (const RecentBook& book : books)
        stored.append(QStringLiteral("%1:%2:%3").arg(book.kind).arg(ToHex(book.path), ToHex(book.page)));
    return stored;
}

std::vector<RecentBook> CRecentBooks::Decode(const QStringList& stored) {
    std::vector<RecentBook> books;
    for (const QString& entry : stored) {
        if (books.size() == kMaxBooks)
            break;
        const QStringList parts = entry.split(u':');
        if (parts.size() != 3)
            continue;
        bool isNumber = false;
        const int kind = parts[0].toInt(&isNumber);
        const std::optional<std::string> path = FromHex(parts[1]);
        if (!isNumber || kind < 0 || kind > kMaxKind || !path || path->empty() ||
            FindPath(books, *path) != books.end())
            continue;
        // A page name that does not read leaves the book on its first page.
        books.push_back({*path, kind, FromHex(parts[2]).value_or(std::string())});
    }
    return books;
}

void CRecentBooks::Load() {
    QStringList stored;
    GetRegList(kTavimoKey, kRecentBooks, stored);
    m_books = Decode(stored);
    m_put.clear();
    m_forgotten.clear();
}

void CRecentBooks::Save() {
    std::vector<RecentBook> merged;
    const bool written = UpdateRegList(kTavimoKey, kRecentBooks, [&](const QStringList& stored) {
        // Ours in front, in our order; then the other instance's, as far as we left them.
        for (const RecentBook& book : m_books)
            if (Contains(m_put, book.path))
                merged.push_back(book);
        for (const RecentBook& book : Decode(stored))
            if (merged.size() < kMaxBooks && !Contains(m_put, book.path) && !Contains(m_forgotten, book.path))
                merged.push_back(book);
        return Encode(merged);
    });
    if (!written)
        return;
    m_books = std::move(merged);
    m_put.clear();
    m_forgotten.clear();
}

const RecentBook* CRecentBooks::Find(const std::string& path, std::int32_t kind) const {
    const auto it = std::find_if(m_books.begin(), m_books.end(), [&](const RecentBook& book) {
        return book.path == path && book.kind == kind;
    });
    return it == m_books.end() ? nullptr : &*it;
}

void CRecentBooks::Remember(const std::string& path, std::int32_t kind, const std::string& page) {
    const auto old = FindPath(m_books, path);
    if (old != m_books.end())
        m_books.erase(old);
    m_books.insert(m_books.begin(), {path, kind, page});
    if (m_books.size() > kMaxBooks)
        m_books.resize(kMaxBooks);
    if (!Contains(m_put, path))
        m_put.push_back(path);
    std::erase(m_forgotten, path);
}

void CRecentBooks::Forget(const std::string& path) {
    const auto old = FindPath(m_books, path);
    if (old != m_books.end())
        m_books.erase(old);
    std::erase(m_put, path);
    if (!Contains(m_forgotten, path))
        m_forgotten.push_back(path);
}

void CRecentBooks::Clear() {
    std::vector<std::string> paths;
    for (const RecentBook& book : m_books)
        paths.push_back(book.path);
    for (const std::string& path : paths)
        Forget(path);
}
