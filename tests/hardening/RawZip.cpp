#include "RawZip.h"

#include <zlib.h>

namespace {

using Buffer = std::vector<std::uint8_t>;

void Put(Buffer& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

constexpr std::uint32_t kMarksZip64 = 0xFFFFFFFF;

std::uint32_t Crc(const Buffer& data)
{
    return static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
}

} // namespace

std::vector<std::uint8_t> RawZip::Bytes() const
{
    Buffer out, directory;
    for (const Entry& entry : m_entries) {
        const std::uint64_t offset = out.size();
        const std::uint64_t stored = entry.data.size();
        const std::uint64_t declared = entry.declaredSize.value_or(stored);
        const std::uint32_t crc = Crc(entry.data);

        const bool extra = entry.zip64 != RawZip::Zip64::No;
        const bool marked = entry.zip64 == RawZip::Zip64::Marked;
        Buffer localExtra;
        if (extra) {
            Put(localExtra, 0x0001, 2);
            Put(localExtra, 16, 2);
            Put(localExtra, declared, 8);
            Put(localExtra, stored, 8);
        }
        Put(out, 0x04034b50, 4);
        Put(out, extra ? 45 : 20, 2);
        Put(out, 0, 2); // flags
        Put(out, entry.method, 2);
        Put(out, 0, 4); // time and date
        Put(out, crc, 4);
        Put(out, marked ? kMarksZip64 : stored, 4);
        Put(out, marked ? kMarksZip64 : declared, 4);
        Put(out, entry.name.size(), 2);
        Put(out, localExtra.size(), 2);
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), localExtra.begin(), localExtra.end());
        out.insert(out.end(), entry.data.begin(), entry.data.end());

        const std::uint64_t declaredOffset = offset + static_cast<std::uint64_t>(entry.localOffsetShift);
        Buffer centralExtra;
        if (extra) {
            Put(centralExtra, 0x0001, 2);
            Put(centralExtra, 24, 2);
            Put(centralExtra, declared, 8);
            Put(centralExtra, stored, 8);
            Put(centralExtra, declaredOffset, 8);
        }
        Put(directory, 0x02014b50, 4);
        Put(directory, extra ? 45 : 20, 2);
        Put(directory, extra ? 45 : 20, 2);
        Put(directory, 0, 2);
        Put(directory, entry.method, 2);
        Put(directory, 0, 4);
        Put(directory, crc, 4);
        Put(directory, marked ? kMarksZip64 : stored, 4);
        Put(directory, marked ? kMarksZip64 : declared, 4);
        Put(directory, entry.name.size(), 2);
        Put(directory, centralExtra.size(), 2);
        Put(directory, 0, 2); // comment
        Put(directory, 0, 2); // disk
        Put(directory, 0, 2); // internal attributes
        Put(directory, 0, 4); // external attributes
        Put(directory, marked ? kMarksZip64 : declaredOffset, 4);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
        directory.insert(directory.end(), centralExtra.begin(), centralExtra.end());
    }
    const std::uint64_t directoryOffset = out.size();
    out.insert(out.end(), directory.begin(), directory.end());
    Put(out, 0x06054b50, 4);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, declaredEntryCount.value_or(static_cast<std::uint16_t>(m_entries.size())), 2);
    Put(out, declaredEntryCount.value_or(static_cast<std::uint16_t>(m_entries.size())), 2);
    Put(out, directory.size(), 4);
    Put(out, declaredDirectoryOffset.value_or(static_cast<std::uint32_t>(directoryOffset)), 4);
    Put(out, 0, 2);
    return out;
}
