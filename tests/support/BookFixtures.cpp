#include "BookFixtures.h"

#include "ImageFixtures.h"

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <cstring>
#include <zlib.h>

namespace fixtures {

bool PackWithTool(const std::string& folder, const std::string& archive, const std::string& program,
                  const std::vector<std::string>& arguments, const std::vector<BookItem>& items)
{
    QStringList commandLine;
    for (const std::string& argument : arguments)
        commandLine << QString::fromStdString(argument);
    commandLine << QString::fromStdString(archive);
    for (const BookItem& item : items) {
        const std::string path = folder + "/" + item.name;
        QDir().mkpath(QString::fromStdString(path.substr(0, path.rfind('/'))));
        if (!WriteFile(path, item.data))
            return false;
        commandLine << QString::fromStdString(item.name);
    }
    QProcess tool;
    tool.setWorkingDirectory(QString::fromStdString(folder));
    // The tools read the names on disk in the locale's encoding: make it UTF-8.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C.UTF-8");
    tool.setProcessEnvironment(environment);
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.start(QString::fromStdString(program), commandLine);
    return tool.waitForFinished(120000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

namespace {

void Put16(Bytes& out, unsigned value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A RAR 4 block: its CRC16 is the low half of the CRC32 of everything after the CRC field.
void PutBlock(Bytes& out, const Bytes& afterCrc)
{
    const std::uint32_t crc = std::uint32_t(crc32(0, afterCrc.data(), uInt(afterCrc.size())));
    Put16(out, crc & 0xFFFF);
    out.insert(out.end(), afterCrc.begin(), afterCrc.end());
}

} // namespace

bool WriteRar4(const std::string& path, const std::vector<BookItem>& items)
{
    constexpr unsigned kLongBlock = 0x8000;
    constexpr std::uint8_t kStored = 0x30, kHostUnix = 3, kVersion = 20;
    Bytes out = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00}; // marker block "Rar!\x1a\x07\0"
    Bytes archiveHeader = {0x73};
    Put16(archiveHeader, 0);
    Put16(archiveHeader, 13);
    Put16(archiveHeader, 0); // reserved
    Put32(archiveHeader, 0);
    PutBlock(out, archiveHeader);
    for (const BookItem& item : items) {
        Bytes header = {0x74};
        Put16(header, kLongBlock);
        Put16(header, unsigned(32 + item.name.size()));
        Put32(header, std::uint32_t(item.data.size())); // packed size
        Put32(header, std::uint32_t(item.data.size())); // unpacked size
        header.push_back(kHostUnix);
        Put32(header, std::uint32_t(crc32(0, item.data.data(), uInt(item.data.size()))));
        Put32(header, 0x5A210000); // DOS time: 2025-01-01
        header.push_back(kVersion);
        header.push_back(kStored);
        Put16(header, unsigned(item.name.size()));
        Put32(header, 0100644u); // Unix mode
        header.insert(header.end(), item.name.begin(), item.name.end());
        PutBlock(out, header);
        out.insert(out.end(), item.data.begin(), item.data.end());
    }
    const Bytes end = {0x7B, 0x00, 0x40, 0x07, 0x00};
    PutBlock(out, end);
    return WriteFile(path, out);
}

namespace {

void PutOctal(Bytes& header, std::size_t at, std::size_t width, std::uint64_t value)
{
    std::string digits(width - 1, '0');
    for (std::size_t i = width - 1; i-- > 0; value >>= 3)
        digits[i] = char('0' + (value & 7));
    std::memcpy(header.data() + at, digits.data(), digits.size());
}

void PutSize(Bytes& header, std::uint64_t size)
{
    constexpr std::size_t kAt = 124, kWidth = 12;
    if (size < (1ull << 33)) {
        PutOctal(header, kAt, kWidth, size);
        return;
    }
    // base-256: high bit set, the value big-endian in the remaining bytes.
    for (std::size_t i = kWidth; i-- > 1; size >>= 8)
        header[kAt + i] = std::uint8_t(size);
    header[kAt] = 0x80;
}

} // namespace

Bytes TarBytes(const std::vector<TarMember>& members)
{
    Bytes out;
    for (const TarMember& member : members) {
        Bytes header(512, 0);
        std::memcpy(header.data(), member.name.data(), std::min<std::size_t>(member.name.size(), 100));
        PutOctal(header, 100, 8, 0644);
        PutOctal(header, 108, 8, 0);
        PutOctal(header, 116, 8, 0);
        PutSize(header, member.declaredSize >= 0 ? std::uint64_t(member.declaredSize) : member.data.size());
        PutOctal(header, 136, 12, 0);
        header[156] = std::uint8_t(member.type);
        std::memcpy(header.data() + 157, member.linkName.data(), std::min<std::size_t>(member.linkName.size(), 100));
        std::memcpy(header.data() + 257, "ustar\00000", 8);
        std::memset(header.data() + 148, ' ', 8);
        unsigned sum = 0;
        for (std::uint8_t byte : header)
            sum += byte;
        PutOctal(header, 148, 7, sum);
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), member.data.begin(), member.data.end());
        out.resize((out.size() + 511) / 512 * 512, 0);
    }
    out.resize(out.size() + 1024, 0);
    return out;
}

} // namespace fixtures
