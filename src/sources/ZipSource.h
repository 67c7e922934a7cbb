// ZIP books through minizip's unzip interface: listing the picture entries of an archive
// and reading one entry, whole or a part at a time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

// Where each listed entry stands in the archive, so that a page read can go straight to
// it instead of searching the central directory by name. It belongs to one file state:
// a read checks the file's size and modification time and falls back to a search by
// name when the archive was replaced since the listing.
struct ZipIndex {
    std::int64_t fileSize = -1;
    std::int64_t modifiedMs = -1;
    struct Position {
        std::uint64_t posInCentralDir = 0;
        std::uint64_t numFile = 0;
    };
    std::map<std::string, Position> positions; // keyed by the entry name as stored
};

struct ZipListing {
    enum Status { Ok, CannotOpen, GlobalInfoFailed };
    Status status = CannotOpen;
    int errorCode = 0;              // the unzip library's code when status is GlobalInfoFailed
    std::vector<std::string> pages; // picture entry names exactly as stored, in archive order
    // The pages whose entries carry the UTF-8 flag (general purpose bit 11); any other
    // name is shown as UTF-8 when it is valid UTF-8, else as CP949.
    std::unordered_set<std::string> utf8FlaggedPages;
    ZipIndex index;
};

// Largest uncompressed entry a page read accepts (a bigger declared size is refused
// rather than allocated).
constexpr std::uint64_t kMaxZipEntrySize = 256ull * 1024 * 1024;

// Lists the picture entries. Folders are no pages, and neither are the resource files
// macOS adds beside each file (IsMacResourceEntry).
ZipListing ListZipPictures(const std::string& zipPath);

// Reads the entry named exactly `name` (falling back to an ASCII case-insensitive match
// when no entry has that exact name). `bytes` receives only what was inflated: an entry
// that is empty, declared larger than kMaxZipEntrySize, damaged, or that ends before its
// declared size fails and leaves `bytes` empty. With the listing's index the entry is
// reached without a search, as long as the archive is still the file that was listed.
bool ReadZipEntry(const std::string& zipPath, const std::string& name, std::vector<std::uint8_t>& bytes,
                  const ZipIndex* index = nullptr);

// One entry opened to be inflated a part at a time, found as ReadZipEntry finds it.
class ZipEntryReader {
public:
    ZipEntryReader();
    ~ZipEntryReader();
    ZipEntryReader(const ZipEntryReader&) = delete;
    ZipEntryReader& operator=(const ZipEntryReader&) = delete;

    // False when the entry is missing, empty, declared larger than kMaxZipEntrySize, or
    // cannot be opened.
    bool Open(const std::string& zipPath, const std::string& name, const ZipIndex* index = nullptr);
    std::uint64_t DeclaredSize() const { return m_declared; }
    // Inflates up to `room` more bytes into `to`: how many, 0 once the declared size is
    // inflated, -1 when the data is damaged or ends before its declared size.
    std::int64_t ReadPart(std::uint8_t* to, std::size_t room);

private:
    void Close();

    void* m_zip = nullptr;
    std::uint64_t m_declared = 0;
    std::uint64_t m_inflated = 0;
};
