// CRecentBooks: the last books opened, most recent first, each with the page last shown
// (by its entry name). Kept in the settings store beside the switches.
#pragma once

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct RecentBook {
    std::string path;  // the book's path, byte for byte
    std::int32_t kind; // the view's source kind
    std::string page;  // the entry name of the page last shown; empty for the first page
};

class CRecentBooks {
public:
    static constexpr std::size_t kMaxBooks = 10;

    // Replaces the list by the stored one.
    void Load();
    // Writes the list: what another instance wrote meanwhile is read again and kept, except
    // for the books this one put in front, forgot or cleared.
    void Save();

    const std::vector<RecentBook>& Books() const { return m_books; }
    // The book kept for `path` with `kind`, or nullptr.
    const RecentBook* Find(const std::string& path, std::int32_t kind) const;
    // Puts the book in front with `page` as its page; the oldest book beyond the bound goes.
    void Remember(const std::string& path, std::int32_t kind, const std::string& page);
    void Forget(const std::string& path);
    void Clear();

    // The stored form of the list and back; entries that do not read as a book are skipped.
    static QStringList Encode(const std::vector<RecentBook>& books);
    static std::vector<RecentBook> Decode(const QStringList& stored);

private:
    std::vector<RecentBook> m_books;
    std::vector<std::string> m_put;       // paths put in front since the last load or save
    std::vector<std::string> m_forgotten; // paths forgotten since then
};

extern CRecentBooks g_recentBooks;
