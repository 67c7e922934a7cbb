#include "RawZip.h"

#include <initializer_list>
#include <utility>
#include <zlib.h>

namespace {

using Buffer = std::vector<std::uint8_t>;

// Appends each value little-endian in the given number of bytes.
void Put(Buffer& out, std::initializer_list<std::pair<std::uint64_t, int>> fields)
{
    for (const auto& [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

void Append(Buffer& out, const std::string& name, const Buffer& extra)
{
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), extra.begin(), extra.end());
}

constexpr std::uint32_t kMarksZip64 = 0xFFFFFFFF;

} // namespace

std::vector<std::uint8_t> RawZip::Bytes() const
{
    Buffer out, directory;
    for (const Entry& entry : m_entries) {
        const std::uint64_t offset = out.size() + static_cast<std::uint64_t>(entry.localOffsetShift);
        const std::uint64_t stored = entry.data.size();
        const std::uint64_t declared = entry.declaredSize.value_or(stored);
        const auto crc = static_cast<std::uint32_t>(crc32(0, entry.data.data(), static_cast<uInt>(stored)));
        const bool extra = entry.zip64 != RawZip::Zip64::No;
        const bool marked = entry.zip64 == RawZip::Zip64::Marked;
        Buffer localExtra, centralExtra;
        if (extra) {
            Put(localExtra, {{0x0001, 2}, {16, 2}, {declared, 8}, {stored, 8}});
            Put(centralExtra, {{0x0001, 2}, {24, 2}, {declared, 8}, {stored, 8}, {offset, 8}});
        }
        const std::uint64_t version = extra ? 45 : 20;
        const std::uint64_t storedField = marked ? kMarksZip64 : stored;
        const std::uint64_t declaredField = marked ? kMarksZip64 : declared;
        // The fields the local header and the central record share: version needed, flags,
        // method, time and date, CRC, sizes and name length.
        const auto common = [&](Buffer& to, const Buffer& extraField) {
            Put(to, {{version, 2}, {0, 2}, {entry.method, 2}, {0, 4}, {crc, 4}, {storedField, 4}, {declaredField, 4},
                     {entry.name.size(), 2}, {extraField.size(), 2}});
        };
        Put(out, {{0x04034b50, 4}});
        common(out, localExtra);
        Append(out, entry.name, localExtra);
        out.insert(out.end(), entry.data.begin(), entry.data.end());

        Put(directory, {{0x02014b50, 4}, {version, 2}});
        common(directory, centralExtra);
        // Comment length, disk, internal and external attributes, local header offset.
        Put(directory, {{0, 2}, {0, 2}, {0, 2}, {0, 4}, {marked ? kMarksZip64 : offset, 4}});
        Append(directory, entry.name, centralExtra);
    }
    const std::uint64_t directoryOffset = out.size();
    out.insert(out.end(), directory.begin(), directory.end());
    const std::uint64_t count = declaredEntryCount.value_or(static_cast<std::uint16_t>(m_entries.size()));
    Put(out, {{0x06054b50, 4}, {0, 2}, {0, 2}, {count, 2}, {count, 2}, {directory.size(), 4},
              {declaredDirectoryOffset.value_or(static_cast<std::uint32_t>(directoryOffset)), 4}, {0, 2}});
    return out;
}
