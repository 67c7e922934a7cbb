#include "ArchiveBook.h"

#include "NameEncoding.h"
#include "PageNames.h"

#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <string_view>
#include <unistd.h>

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;
// The buffer for passed-over pages keeps its memory between reads up to this size.
constexpr std::size_t kKeptPassingBytes = 32u << 20;
// A RAR 4 archive header's flag for a solid archive, and where the flags stand: after the
// seven-byte marker block, the header's CRC (2 bytes) and type (1 byte).
constexpr std::uint16_t kRar4SolidFlag = 0x0008;
constexpr off_t kRar4FlagsOffset = 10;

// The name as the archive stores it: bytes for tar, converted text where the archive
// itself holds Unicode (7z, RAR). It identifies the entry again when it is reread.
std::string StoredName(archive_entry* entry)
{
    if (const char* bytes = archive_entry_pathname(entry))
        return bytes;
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return utf8;
    return std::string();
}

// The text the reader sees: the archive's Unicode name where it keeps one, otherwise the
// stored bytes read as UTF-8 where valid, else CP949 (as an unflagged ZIP name).
std::string DisplayName(archive_entry* entry, bool storesUnicode)
{
    if (storesUnicode)
        if (const char* utf8 = archive_entry_pathname_utf8(entry))
            return utf8;
    if (const char* bytes = archive_entry_pathname(entry))
        return DisplayNameFromBytes(bytes, false);
    const char* utf8 = archive_entry_pathname_utf8(entry);
    return utf8 ? std::string(utf8) : std::string();
}

bool IsPlainFile(archive_entry* entry)
{
    // Links and devices carry no picture of their own; a hard link's data belongs to the
    // entry it names.
    return archive_entry_filetype(entry) == AE_IFREG && archive_entry_hardlink(entry) == nullptr
           && archive_entry_symlink(entry) == nullptr;
}

bool MentionsEncryption(archive* handle)
{
    const char* text = archive_error_string(handle);
    return archive_read_has_encrypted_entries(handle) > 0 || (text && (std::strstr(text, "ncrypt") || std::strstr(text, "assword")));
}

bool IsRar4Solid(int fd)
{
    std::uint8_t flags[2] = {};
    if (::pread(fd, flags, sizeof flags, kRar4FlagsOffset) != sizeof flags)
        return true;
    return ((flags[0] | (flags[1] << 8)) & kRar4SolidFlag) != 0;
}

// libarchive converts the names it decodes (7z and RAR keep UTF-16) into the thread's
// locale: on this thread, while it reads, that is UTF-8, whatever the program's locale.
class ScopedUtf8Names {
public:
    ScopedUtf8Names()
    {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (utf8 != locale_t(0))
            m_previous = uselocale(utf8);
    }
    ~ScopedUtf8Names()
    {
        if (m_previous != locale_t(0))
            uselocale(m_previous);
    }
    ScopedUtf8Names(const ScopedUtf8Names&) = delete;
    ScopedUtf8Names& operator=(const ScopedUtf8Names&) = delete;

private:
    locale_t m_previous = locale_t(0);
};

} // namespace

void CArchiveBook::ArchiveFree::operator()(archive* handle) const
{
    archive_read_free(handle);
}

CArchiveBook::CArchiveBook() = default;
CArchiveBook::~CArchiveBook() = default;

CArchiveBook::Handle CArchiveBook::OpenHandle()
{
    if (::lseek(m_file.Fd(), 0, SEEK_SET) != 0)
        return nullptr;
    Handle handle(archive_read_new());
    if (!handle)
        return nullptr;
    // Only the built-in decompressors: none that would start an outside program.
    archive* a = handle.get();
    archive_read_support_filter_gzip(a);
    archive_read_support_filter_bzip2(a);
    archive_read_support_filter_xz(a);
    archive_read_support_filter_lzma(a);
    archive_read_support_filter_zstd(a);
    archive_read_support_format_7zip(a);
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_tar(a);
    archive_read_support_format_gnutar(a);
    archive_read_support_format_zip(a);
    if (archive_read_open_fd(a, m_file.Fd(), kReadBlock) != ARCHIVE_OK)
        return nullptr;
    return handle;
}

CArchiveBook::Status CArchiveBook::Open(const std::string& path, std::size_t memoryBudget)
{
    const ScopedUtf8Names names;
    m_store.Clear();
    m_store.SetMemoryBudget(memoryBudget);
    m_restarts = 0;
    m_decompressed = 0;
    m_entries.clear();
    m_pages.clear();
    m_entryOfPage.clear();
    m_handle.reset();
    if (!m_file.Open(path))
        return CannotOpen;
    Handle handle = OpenHandle();
    if (!handle)
        return NotAnArchive;
    archive* a = handle.get();
    bool storesUnicode = false;
    for (std::int64_t index = 0;; ++index) {
        archive_entry* entry = nullptr;
        const int result = archive_read_next_header(a, &entry);
        if (result == ARCHIVE_EOF)
            break;
        if (result < ARCHIVE_WARN)
            return MentionsEncryption(a) ? Encrypted : Damaged;
        if (index == 0) {
            const int format = archive_format(a) & ARCHIVE_FORMAT_BASE_MASK;
            if (format == ARCHIVE_FORMAT_ZIP)
                return IsZip;
            storesUnicode = format != ARCHIVE_FORMAT_TAR;
        }
        if (index >= kMaxArchiveEntries)
            return TooManyEntries;
        if (archive_entry_is_encrypted(entry))
            return Encrypted;
        Entry listed{index, StoredName(entry), archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1, false};
        if (IsPlainFile(entry)) {
            std::string name = DisplayName(entry, storesUnicode);
            if (!name.empty() && name.back() != '/' && IsImageFileName(name) && !IsMacResourceEntry(name)) {
                // Two entries may show the same text (a repeated tar member, undecodable bytes):
                // each stays its own page.
                if (m_entryOfPage.count(name))
                    name += " #" + std::to_string(index + 1);
                listed.isPage = true;
                m_entryOfPage.emplace(name, m_entries.size());
                m_pages.push_back(std::move(name));
            }
        }
        m_entries.push_back(std::move(listed));
        if (archive_read_data_skip(a) < ARCHIVE_WARN)
            return MentionsEncryption(a) ? Encrypted : Damaged;
    }
    const int format = archive_format(a) & ARCHIVE_FORMAT_BASE_MASK;
    if (format == ARCHIVE_FORMAT_TAR)
        m_solid = archive_filter_count(a) > 1;
    else if (format == ARCHIVE_FORMAT_RAR)
        m_solid = IsRar4Solid(m_file.Fd());
    else
        m_solid = true; // 7z and RAR 5: libarchive does not tell, and caching is never wrong
    return Ok;
}

bool CArchiveBook::Restart()
{
    m_handle = OpenHandle();
    m_nextHeader = 0;
    m_atData = false;
    ++m_restarts;
    return m_handle != nullptr;
}

bool CArchiveBook::ReadData(const Entry& entry, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    m_atData = false;
    if (entry.declaredSize > std::int64_t(kMaxArchiveEntrySize))
        return false;
    if (entry.declaredSize > 0)
        bytes.reserve(std::size_t(entry.declaredSize));
    for (;;) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int result = archive_read_data_block(m_handle.get(), &block, &size, &offset);
        if (result == ARCHIVE_EOF)
            break;
        if (result < ARCHIVE_WARN || offset < 0 || std::uint64_t(offset) + size > kMaxArchiveEntrySize) {
            bytes.clear();
            return false;
        }
        // A sparse entry's holes read as zeros.
        bytes.resize(std::size_t(offset), 0);
        const auto* data = static_cast<const std::uint8_t*>(block);
        bytes.insert(bytes.end(), data, data + size);
    }
    m_decompressed += bytes.size();
    return true;
}

bool CArchiveBook::AdvanceTo(std::int64_t index)
{
    const bool passed = m_nextHeader > index + 1 || (m_nextHeader == index + 1 && !m_atData);
    if ((!m_handle || passed) && !Restart())
        return false;
    while (m_nextHeader <= index) {
        if (m_atData) {
            const Entry& current = m_entries[std::size_t(m_nextHeader - 1)];
            // In a solid archive skipping decompresses anyway: keep the pages it yields.
            if (m_solid && current.isPage && !m_store.Contains(current.index)) {
                if (ReadData(current, m_passing))
                    m_store.Put(current.index, m_passing.data(), m_passing.size());
                else
                    return false;
            } else if (archive_read_data_skip(m_handle.get()) < ARCHIVE_WARN) {
                return false;
            }
            m_atData = false;
        }
        archive_entry* entry = nullptr;
        if (std::size_t(m_nextHeader) >= m_entries.size()
            || archive_read_next_header(m_handle.get(), &entry) < ARCHIVE_WARN
            || StoredName(entry) != m_entries[std::size_t(m_nextHeader)].storedName)
            return false;
        ++m_nextHeader;
        m_atData = true;
    }
    return true;
}

bool CArchiveBook::ReadPage(const std::string& page, std::vector<std::uint8_t>& bytes)
{
    const ScopedUtf8Names names;
    bytes.clear();
    const auto found = m_entryOfPage.find(page);
    if (found == m_entryOfPage.end())
        return false;
    const Entry& entry = m_entries[found->second];
    if (m_store.Get(entry.index, bytes))
        return true;
    if (entry.declaredSize > std::int64_t(kMaxArchiveEntrySize) || !AdvanceTo(entry.index)
        || !ReadData(entry, bytes)) {
        // A failed read leaves the handle anywhere: the next read starts afresh.
        m_handle.reset();
        bytes.clear();
        return false;
    }
    if (m_passing.capacity() > kKeptPassingBytes)
        std::vector<std::uint8_t>().swap(m_passing);
    if (bytes.empty())
        return false;
    if (m_solid)
        m_store.Put(entry.index, bytes.data(), bytes.size());
    return true;
}
