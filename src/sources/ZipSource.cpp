// ZIP books through minizip's unzip interface: listing the picture entries of an archive
// and reading one entry whole.
#include "ZipSource.h"

#include "BufferedZipFile.h"
#include "FileAccess.h"
#include "PageNames.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <system_error>

namespace {

// Closes the archive (and any entry still open) when a listing or a read ends.
struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};
using ZipHandle = std::unique_ptr<void, ZipCloser>;

// The first piece of a page's buffer; it grows towards the declared size only as bytes
// are actually inflated, so a size that lies costs nothing until data backs it.
constexpr std::size_t kFirstReadChunk = 8u * 1024 * 1024;

struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modifiedMs = -1;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path)
{
    std::error_code error;
    const auto fsPath = FileSystemPath(path);
    const auto size = std::filesystem::file_size(fsPath, error);
    if (error)
        return {};
    const auto modified = std::filesystem::last_write_time(fsPath, error);
    if (error)
        return {};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(modified.time_since_epoch()).count();
    return {static_cast<std::int64_t>(size), static_cast<std::int64_t>(ms)};
}

// Reads the current entry's information and its whole name. The buffer holds the longest
// name an entry can have (its length field is 16 bits), so no name is ever cut.
class EntryReader {
public:
    bool Read(void* zip, unz_file_info64& info, std::string& name)
    {
        if (unzGetCurrentFileInfo64(zip, &info, m_buffer.data(), static_cast<uLong>(m_buffer.size()), nullptr, 0,
                                    nullptr, 0) != UNZ_OK)
            return false;
        if (info.size_filename >= m_buffer.size())
            return false;
        name.assign(m_buffer.data(), info.size_filename);
        return true;
    }

private:
    std::string m_buffer = std::string(0xFFFF + 1, '\0');
};

bool IsDirectoryName(const std::string& name)
{
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// General purpose bit 11: the entry's name (and comment) are UTF-8.
constexpr uLong kUtf8NameFlag = 1u << 11;

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

// Goes straight to the entry through the listing's index. Only when the archive is the
// file that was listed and the entry found there carries the requested name.
bool GoToIndexedEntry(void* zip, const std::string& zipPath, const std::string& name, const ZipIndex& index,
                      EntryReader& reader, unz_file_info64& info)
{
    if (index.fileSize < 0 || StampOf(zipPath) != FileStamp{index.fileSize, index.modifiedMs})
        return false;
    const auto found = index.positions.find(name);
    if (found == index.positions.end())
        return false;
    const unz64_file_pos position{found->second.posInCentralDir, found->second.numFile};
    std::string storedName;
    return unzGoToFilePos64(zip, &position) == UNZ_OK && reader.Read(zip, info, storedName) && storedName == name;
}

// Searches the central directory from its first entry: the entry with exactly this name,
// else the first whose name differs only in ASCII letter case.
bool LocateEntry(void* zip, const std::string& name, EntryReader& reader, unz_file_info64& info)
{
    bool haveFolded = false;
    unz64_file_pos folded{};
    std::string storedName;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        if (!reader.Read(zip, info, storedName))
            break;
        if (storedName == name)
            return true;
        if (!haveFolded && EqualsIgnoringAsciiCase(storedName, name))
            haveFolded = unzGetFilePos64(zip, &folded) == UNZ_OK;
    }
    return haveFolded && unzGoToFilePos64(zip, &folded) == UNZ_OK && reader.Read(zip, info, storedName);
}

} // namespace

ZipListing ListZipPictures(const std::string& zipPath)
{
    ZipListing listing;
    const ZipHandle zip(OpenZipArchive(zipPath));
    if (!zip)
        return listing;
    const FileStamp listed = StampOf(zipPath);

    unz_global_info64 global{};
    const int globalStatus = unzGetGlobalInfo64(zip.get(), &global);
    if (globalStatus != UNZ_OK) {
        listing.status = ZipListing::GlobalInfoFailed;
        listing.errorCode = globalStatus;
        return listing;
    }
    listing.status = ZipListing::Ok;

    EntryReader reader;
    unz_file_info64 info{};
    std::string name;
    for (ZPOS64_T counter = 0; counter < global.number_entry;) {
        if (!reader.Read(zip.get(), info, name))
            break;
        if (!IsDirectoryName(name) && IsImageFileName(name) && !IsMacResourceEntry(name)) {
            listing.pages.push_back(name);
            if (info.flag & kUtf8NameFlag)
                listing.utf8FlaggedPages.insert(name);
            unz64_file_pos position{};
            if (unzGetFilePos64(zip.get(), &position) == UNZ_OK)
                listing.index.positions.emplace(name, ZipIndex::Position{position.pos_in_zip_directory,
                                                                         position.num_of_file});
        }
        ++counter;
        if (counter < global.number_entry && unzGoToNextFile(zip.get()) != UNZ_OK)
            break;
    }

    // The index belongs to the file that was listed; if it changed meanwhile, none is kept.
    if (listed.size >= 0 && StampOf(zipPath) == listed) {
        listing.index.fileSize = listed.size;
        listing.index.modifiedMs = listed.modifiedMs;
    } else {
        listing.index.positions.clear();
    }
    return listing;
}

bool ReadZipEntry(const std::string& zipPath, const std::string& name, std::vector<std::uint8_t>& bytes,
                  const ZipIndex* index)
{
    bytes.clear();
    ZipEntryReader entry;
    if (!entry.Open(zipPath, name, index))
        return false;
    // The entry fails when it ends before its declared size or its data is damaged, so the
    // caller never sees bytes that were not inflated.
    const auto declared = static_cast<std::size_t>(entry.DeclaredSize());
    bytes.resize(std::min(declared, kFirstReadChunk));
    std::size_t total = 0;
    while (total < declared) {
        if (total == bytes.size())
            bytes.resize(std::min(declared, bytes.size() * 2));
        const std::int64_t read = entry.ReadPart(bytes.data() + total, bytes.size() - total);
        if (read <= 0) {
            bytes.clear();
            return false;
        }
        total += static_cast<std::size_t>(read);
    }
    return true;
}

ZipEntryReader::ZipEntryReader() = default;

ZipEntryReader::~ZipEntryReader()
{
    Close();
}

void ZipEntryReader::Close()
{
    if (m_zip)
        unzClose(m_zip); // closes the open entry too
    m_zip = nullptr;
    m_declared = m_inflated = 0;
}

bool ZipEntryReader::Open(const std::string& zipPath, const std::string& name, const ZipIndex* index)
{
    Close();
    m_zip = OpenZipArchive(zipPath);
    if (!m_zip)
        return false;
    EntryReader reader;
    unz_file_info64 info{};
    const bool found = (index && GoToIndexedEntry(m_zip, zipPath, name, *index, reader, info)) ||
                       LocateEntry(m_zip, name, reader, info);
    // An empty entry holds no picture; one declared bigger than the limit is refused
    // before anything is allocated for it.
    if (!found || info.uncompressed_size == 0 || info.uncompressed_size > kMaxZipEntrySize
        || unzOpenCurrentFile(m_zip) != UNZ_OK) {
        Close();
        return false;
    }
    m_declared = info.uncompressed_size;
    return true;
}

std::int64_t ZipEntryReader::ReadPart(std::uint8_t* to, std::size_t room)
{
    if (!m_zip)
        return -1;
    const auto ask = static_cast<unsigned>(std::min<std::uint64_t>({room, m_declared - m_inflated, 1u << 30}));
    if (ask == 0)
        return 0;
    const int read = unzReadCurrentFile(m_zip, to, ask);
    if (read <= 0)
        return -1;
    m_inflated += static_cast<std::uint64_t>(read);
    return read;
}
