// ZIP, PCO, RAR 4 and tar bytes written by hand: the damage no tool makes, and the formats no
// packaged tool writes.
#include "ArchiveFixtures.h"

#include "BookFixtures.h"
#include "ImageFixtures.h"

#include <minizip/zip.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numeric>

namespace fixtures {

namespace {

// Each value little-endian in the bytes of its own type, in order.
template <typename... T> void Append(Bytes& out, T... values) {
    const auto one = [&out](auto value) {
        for (std::size_t i = 0; i < sizeof(value); ++i)
            out.push_back(std::uint8_t(std::uint64_t(value) >> 8 * i));
    };
    (one(values), ...);
}

bool OpenEntry(zipFile zip, const std::string& name, bool deflate) {
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2020;
    info.tmz_date.tm_mday = 1;
    return zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 deflate ? Z_DEFLATED : 0, deflate ? Z_DEFAULT_COMPRESSION : 0, 0) == ZIP_OK;
}

bool WriteToEntry(zipFile zip, const std::uint8_t* data, std::size_t size) {
    return size == 0 || zipWriteInFileInZip(zip, data, unsigned(size)) == ZIP_OK;
}

// A RAR 4 block: its CRC16 is the low half of the CRC32 of everything after the CRC field.
void AppendRarBlock(Bytes& out, const Bytes& afterCrc) {
    Append(out, std::uint16_t(crc32(0, afterCrc.data(), uInt(afterCrc.size()))));
    out.insert(out.end(), afterCrc.begin(), afterCrc.end());
}

void PutOctal(Bytes& header, std::size_t at, std::size_t width, std::uint64_t value) {
    for (std::size_t i = width - 1; i-- > 0; value >>= 3)
        header[at + i] = std::uint8_t('0' + (value & 7));
}

} // namespace

bool WriteZip(const std::string& path, const std::vector<ZipItem>& items) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (const ZipItem& item : items)
        ok = ok && OpenEntry(zip, item.name, item.deflate) &&
             WriteToEntry(zip, item.data.data(), item.data.size()) && zipCloseFileInZip(zip) == ZIP_OK;
    return zip && zipClose(zip, nullptr) == ZIP_OK && ok;
}

bool WriteZipOfZeros(const std::string& path, const std::string& name, std::uint64_t size,
                     const Bytes& head) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    const Bytes zeros(1u << 20, 0);
    bool ok = zip && OpenEntry(zip, name, true) && WriteToEntry(zip, head.data(), head.size());
    for (std::uint64_t left = size, piece = 0; ok && left > 0; left -= piece) {
        piece = std::min<std::uint64_t>(left, zeros.size());
        ok = WriteToEntry(zip, zeros.data(), piece);
    }
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    return zip && zipClose(zip, nullptr) == ZIP_OK && ok;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes PatternBytes(std::size_t size, unsigned seed) {
    Bytes bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = std::uint8_t(state >> 24);
    }
    return bytes;
}

Bytes PcoBytes(const std::string& title, std::int32_t count, const std::vector<PcoItem>& records,
               const Bytes& data) {
    Bytes out = {'P', 'C', 'O', '1', std::uint8_t(title.size())};
    out.insert(out.end(), title.begin(), title.end());
    Append(out, count);
    for (const PcoItem& record : records)
        Append(out, record.offset, record.size, std::uint8_t{0});
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes PcoBook(const std::string& title, const std::vector<Bytes>& pictures) {
    std::vector<PcoItem> records;
    Bytes data;
    for (const Bytes& picture : pictures) {
        records.push_back({std::int32_t(data.size()), std::int32_t(picture.size())});
        data.insert(data.end(), picture.begin(), picture.end());
    }
    return PcoBytes(title, std::int32_t(pictures.size()), records, data);
}

bool WriteRar4(const std::string& path, const std::vector<BookItem>& items) {
    Bytes out = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
    AppendRarBlock(out, {0x73, 0, 0, 13, 0, 0, 0, 0, 0, 0, 0}); // the archive header: no flags
    for (const BookItem& item : items) {
        const auto size = std::uint32_t(item.data.size());
        // A file header, its data following it: the header's size, the packed and unpacked sizes,
        // made on Unix, the CRC, the DOS time 2025-01-01, version 2.0 stored, the name's length and
        // the file's mode.
        Bytes header = {0x74, 0x00, 0x80};
        Append(header, std::uint16_t(32 + item.name.size()), size, size, std::uint8_t{3},
               std::uint32_t(crc32(0, item.data.data(), uInt(size))), std::uint32_t{0x5A210000},
               std::uint8_t{20}, std::uint8_t{0x30}, std::uint16_t(item.name.size()), std::uint32_t{0100644});
        header.insert(header.end(), item.name.begin(), item.name.end());
        AppendRarBlock(out, header);
        out.insert(out.end(), item.data.begin(), item.data.end());
    }
    AppendRarBlock(out, {0x7B, 0x00, 0x40, 0x07, 0x00});
    return WriteFile(path, out);
}

Bytes TarBytes(const std::vector<TarMember>& members) {
    Bytes out;
    for (const TarMember& member : members) {
        Bytes header(512, 0);
        std::memcpy(header.data(), member.name.data(), std::min<std::size_t>(member.name.size(), 100));
        PutOctal(header, 100, 8, 0644); // the mode; owner, group and time stay empty: 0
        std::uint64_t size =
            member.declaredSize >= 0 ? std::uint64_t(member.declaredSize) : member.data.size();
        if (size < 1ull << 33) {
            PutOctal(header, 124, 12, size);
        } else { // base-256: high bit set, the value big-endian in the remaining bytes
            for (std::size_t i = 136; i-- > 125; size >>= 8)
                header[i] = std::uint8_t(size);
            header[124] = 0x80;
        }
        header[156] = std::uint8_t(member.type);
        std::memcpy(header.data() + 157, member.linkName.data(),
                    std::min<std::size_t>(member.linkName.size(), 100));
        std::memcpy(header.data() + 257, "ustar\00000", 8);
        std::memset(header.data() + 148, ' ', 8);
        PutOctal(header, 148, 7, std::accumulate(header.begin(), header.end(), 0u));
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), member.data.begin(), member.data.end());
        out.resize((out.size() + 511) / 512 * 512, 0);
    }
    out.resize(out.size() + 1024, 0);
    return out;
}

} // namespace fixtures
