// CPco: the head and directory of a PCO book, the program's own read-only archive format.
#include "Pco.h"

#include "RegularFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::int32_t kMaxEntries = 600; // a count of this or more is refused
constexpr std::int32_t kMaxTitleLength = 100;
constexpr std::int32_t kHeadFixedBytes = 9; // signature, title length byte, count
// An entry offset that cannot be placed in the file (before its start or beyond a signed
// 32-bit position); reading such an entry fails.
constexpr std::int32_t kNoPosition = -1;

// Reads the head field by field from `position` on, which moves past each field.
template <typename T>
void ReadField(const CRegularFile& file, std::int64_t& position, T& field)
{
    // A head that ends early leaves the rest of the field zero, as cleared before.
    if (file.ReadAt(position, &field, sizeof(field)) != static_cast<std::int64_t>(sizeof(field)))
        std::memset(&field, 0, sizeof(field));
    position += static_cast<std::int64_t>(sizeof(field));
}

std::int32_t AbsolutePosition(std::int32_t offset, std::int32_t dataStart)
{
    const std::int64_t position = std::int64_t{offset} + dataStart;
    if (position < 0 || position > std::numeric_limits<std::int32_t>::max())
        return kNoPosition;
    return static_cast<std::int32_t>(position);
}

// The index a page name stands for: its leading decimal digits ("0007" is 7); -1 when the
// name starts with no digit or its number does not fit.
std::int64_t PageIndex(const std::string& name)
{
    std::int64_t index = -1;
    for (const char c : name) {
        if (c < '0' || c > '9')
            break;
        index = (index < 0 ? 0 : index * 10) + (c - '0');
        if (index > std::numeric_limits<std::int32_t>::max())
            return -1;
    }
    return index;
}

} // namespace

CPco::CPco() = default;

CPco::~CPco() = default;

bool CPco::Open(const std::string& path)
{
    m_strPath = path;
    CRegularFile file;
    if (!file.Open(m_strPath))
        return false;

    std::memset(m_signature, 0, sizeof(m_signature));
    m_titleLen = 0;
    std::memset(m_title, 0, sizeof(m_title));
    m_count = 0;
    m_dataStart = 0;
    std::memset(m_entries, 0, sizeof(m_entries));

    std::int64_t position = 0;
    ReadField(file, position, m_signature);
    ReadField(file, position, m_titleLen);
    // A title length outside 0..100 cannot be held and would misplace everything after it.
    if (m_titleLen < 0 || m_titleLen > kMaxTitleLength)
        return false;
    (void)file.ReadAt(position, m_title, static_cast<std::size_t>(m_titleLen));
    position += m_titleLen;
    ReadField(file, position, m_count);

    // A negative count holds no directory; the data then starts right after the head.
    const std::int32_t recordCount = std::max<std::int32_t>(m_count, 0);
    if (m_count >= kMaxEntries)
        return false;
    m_dataStart = recordCount * static_cast<std::int32_t>(sizeof(PcoEntry)) + kHeadFixedBytes + m_titleLen;

    // Records beyond the end of the file stay zero (offset at the data area, size 0).
    (void)file.ReadAt(position, m_entries, sizeof(PcoEntry) * static_cast<std::size_t>(recordCount));
    for (std::int32_t k = 0; k < recordCount; ++k)
        m_entries[k].offset = AbsolutePosition(m_entries[k].offset, m_dataStart);

    // The length is that of the file just read, not of whatever stands at the path now.
    return file.Size() > std::min(m_dataStart, kHeadFixedBytes);
}

bool CPco::GetEntry(int index, PcoEntry& entry) const
{
    if (index < 0 || index >= m_count)
        return false;
    entry = m_entries[index];
    return true;
}

bool ReadPcoEntry(const CPco& pco, const std::string& name, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    const std::int64_t index = PageIndex(name);
    PcoEntry entry{};
    if (index < 0 || !pco.GetEntry(static_cast<int>(index), entry))
        return false;
    if (entry.offset < 0 || entry.size <= 0)
        return false;

    CRegularFile file;
    if (!file.Open(pco.m_strPath))
        return false;
    const std::int64_t end = std::int64_t{entry.offset} + entry.size;
    if (end > file.Size())
        return false;

    bytes.resize(static_cast<std::size_t>(entry.size));
    if (file.ReadAt(entry.offset, bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size())) {
        bytes.clear();
        return false;
    }
    return true;
}
