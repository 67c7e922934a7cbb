// CArchiveBook: RAR, 7z and tar books (plain or compressed) read through libarchive.
// Opening indexes the entries once; a page is then reached by skipping what stands before
// it, and in an archive where skipping means decompressing (solid RAR and 7z, compressed
// tar) the pages a forward pass decompressed are kept, so that reading the book from front
// to back decompresses it about once and turning back never starts again from the top.
#pragma once

#include "PageStore.h"
#include "RegularFile.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct archive;

// Largest uncompressed entry a page read accepts, as for a ZIP book.
constexpr std::uint64_t kMaxArchiveEntrySize = 256ull * 1024 * 1024;
// More entries than this are refused at opening rather than indexed.
constexpr std::int64_t kMaxArchiveEntries = 65536;

class CArchiveBook {
public:
    enum Status { Ok, CannotOpen, NotAnArchive, IsZip, Encrypted, Damaged, TooManyEntries };

    CArchiveBook();
    CArchiveBook(const CArchiveBook&) = delete;
    CArchiveBook& operator=(const CArchiveBook&) = delete;
    ~CArchiveBook();

    // Indexes the archive at `path`; the pages are its picture entries in archive order.
    Status Open(const std::string& path, std::size_t memoryBudget = CPageStore::kDefaultMemoryBudget);
    const std::vector<std::string>& Pages() const { return m_pages; }
    // Reads the page listed as `page` whole. Fails, leaving `bytes` empty, for an entry that
    // is empty, declared or found larger than kMaxArchiveEntrySize, damaged or encrypted.
    bool ReadPage(const std::string& page, std::vector<std::uint8_t>& bytes);

    bool IsSolid() const { return m_solid; }
    // How often a read had to start again from the archive's first entry.
    int Restarts() const { return m_restarts; }
    // Bytes decompressed for reading (skipped entries of non-solid archives excluded).
    std::uint64_t DecompressedBytes() const { return m_decompressed; }
    const CPageStore& Store() const { return m_store; }

private:
    struct Entry {
        std::int64_t index;      // position in the archive
        std::string storedName;  // the name as stored, to find it again whatever its bytes
        std::int64_t declaredSize; // -1 when the archive does not say
        bool isPage;
    };
    struct ArchiveFree {
        void operator()(archive* handle) const;
    };
    using Handle = std::unique_ptr<archive, ArchiveFree>;

    Handle OpenHandle();
    bool Restart();
    // Reads the current entry's data into `bytes`, at most kMaxArchiveEntrySize bytes.
    bool ReadData(const Entry& entry, std::vector<std::uint8_t>& bytes);
    // Moves the handle to the header of entry `index`.
    bool AdvanceTo(std::int64_t index);

    CRegularFile m_file;
    Handle m_handle;
    std::int64_t m_nextHeader = 0; // index of the header the handle reads next
    bool m_atData = false;         // the handle stands at the data of entry m_nextHeader - 1
    std::vector<Entry> m_entries;
    std::vector<std::string> m_pages;
    std::map<std::string, std::size_t> m_entryOfPage; // page string -> m_entries index
    bool m_solid = false;
    int m_restarts = 0;
    std::uint64_t m_decompressed = 0;
    CPageStore m_store;
    std::vector<std::uint8_t> m_passing; // a passed-over page on its way into the store
};
