// ZIP archives and PCO books made at run time for the tests, the benchmarks and the sample book.
#include "ArchiveFixtures.h"

#include "ImageFixtures.h"

#include <minizip/zip.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fixtures {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kCentralRecordSignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kEndRecordSignature = 0x06054b50;
constexpr std::size_t kCentralRecordSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;

template <typename T>
void AppendLittleEndian(Bytes& out, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
}

std::uint32_t ReadU32(const Bytes& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t{bytes[at + i]} << (8 * i);
    return value;
}

std::uint16_t ReadU16(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void WriteU32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The offset of the central directory record of `name`, or npos.
std::size_t FindCentralRecord(const Bytes& zip, const std::string& name)
{
    for (std::size_t at = 0; at + kCentralRecordSize <= zip.size(); ++at) {
        if (ReadU32(zip, at) != kCentralRecordSignature)
            continue;
        const std::size_t nameLength = ReadU16(zip, at + 28);
        if (at + kCentralRecordSize + nameLength <= zip.size() &&
            std::memcmp(zip.data() + at + kCentralRecordSize, name.data(), name.size()) == 0 &&
            nameLength == name.size())
            return at;
    }
    return std::string::npos;
}

zip_fileinfo FixedDateInfo()
{
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2020;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_mday = 1;
    return info;
}

bool OpenEntry(zipFile zip, const std::string& name, bool deflate)
{
    const zip_fileinfo info = FixedDateInfo();
    return zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 deflate ? Z_DEFLATED : 0, deflate ? Z_DEFAULT_COMPRESSION : 0, 0) == ZIP_OK;
}

} // namespace

bool WriteZip(const std::string& path, const std::vector<ZipItem>& items)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const ZipItem& item : items) {
        ok = ok && OpenEntry(zip, item.name, item.deflate);
        ok = ok && (item.data.empty() || zipWriteInFileInZip(zip, item.data.data(),
                                                             static_cast<unsigned>(item.data.size())) == ZIP_OK);
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

std::vector<std::uint8_t> PcoBytes(const std::string& title, std::int32_t count, const std::vector<PcoItem>& records,
                                   const std::vector<std::uint8_t>& data)
{
    Bytes out = {'P', 'C', 'O', '1'};
    out.push_back(static_cast<std::uint8_t>(title.size()));
    out.insert(out.end(), title.begin(), title.end());
    AppendLittleEndian(out, count);
    for (const PcoItem& record : records) {
        AppendLittleEndian(out, record.offset);
        AppendLittleEndian(out, record.size);
        out.push_back(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> PcoBook(const std::string& title, const std::vector<std::vector<std::uint8_t>>& pictures)
{
    std::vector<PcoItem> records;
    Bytes data;
    for (const Bytes& picture : pictures) {
        records.push_back({static_cast<std::int32_t>(data.size()), static_cast<std::int32_t>(picture.size())});
        data.insert(data.end(), picture.begin(), picture.end());
    }
    return PcoBytes(title, static_cast<std::int32_t>(pictures.size()), records, data);
}

bool WriteZipOfZeros(const std::string& path, const std::string& name, std::uint64_t size)
{
    return WriteZipOfZeros(path, name, size, {});
}

bool WriteZipOfZeros(const std::string& path, const std::string& name, std::uint64_t size, const std::vector<std::uint8_t>& head)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    const Bytes zeros(1u << 20, 0);
    bool ok = OpenEntry(zip, name, true)
              && (head.empty() || zipWriteInFileInZip(zip, head.data(), static_cast<unsigned>(head.size())) == ZIP_OK);
    for (std::uint64_t left = size; ok && left > 0;) {
        const auto piece = static_cast<unsigned>(std::min<std::uint64_t>(left, zeros.size()));
        ok = zipWriteInFileInZip(zip, zeros.data(), piece) == ZIP_OK;
        left -= piece;
    }
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

bool SetZipDeclaredSize(const std::string& path, const std::string& name, std::uint32_t size)
{
    Bytes zip = ReadBytes(path);
    const std::size_t central = FindCentralRecord(zip, name);
    if (central == std::string::npos)
        return false;
    const std::size_t local = ReadU32(zip, central + 42);
    if (local + kLocalHeaderSize > zip.size() || ReadU32(zip, local) != kLocalHeaderSignature)
        return false;
    WriteU32(zip, central + 24, size);
    WriteU32(zip, local + 22, size);
    return WriteFile(path, zip);
}

bool DamageZipEndRecord(const std::string& path)
{
    Bytes zip = ReadBytes(path);
    for (std::size_t at = zip.size() >= 22 ? zip.size() - 22 + 1 : 0; at-- > 0;) {
        if (ReadU32(zip, at) == kEndRecordSignature) {
            WriteU32(zip, at, 0xDEADBEEF);
            return WriteFile(path, zip);
        }
    }
    return false;
}

bool DamageZipDirectoryRecord(const std::string& path, const std::string& name)
{
    Bytes zip = ReadBytes(path);
    const std::size_t central = FindCentralRecord(zip, name);
    if (central == std::string::npos)
        return false;
    WriteU32(zip, central, 0xDEADBEEF);
    return WriteFile(path, zip);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TruncateFile(const std::string& path, std::uint64_t size)
{
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    return !error;
}

std::vector<std::uint8_t> PatternBytes(std::size_t size, unsigned seed)
{
    Bytes bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

} // namespace fixtures
