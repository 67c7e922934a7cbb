// Page names and the small file-system helpers the sources share.
#include "PageNames.h"

#include "FileAccess.h"
#include "RegularFile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <system_error>

namespace {

constexpr std::array<std::string_view, 5> kImageExtensions = {".jpg", ".jpe", ".jpeg", ".gif", ".bmp"};

unsigned char AsciiLowerByte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

std::string AsciiLower(const std::string& text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(AsciiLowerByte(static_cast<unsigned char>(c)));
    return lower;
}

std::string LowerExtension(const std::string& name)
{
    // '.' never occurs inside a UTF-8 multi-byte sequence, so a plain byte search is safe.
    const auto dot = name.rfind('.');
    return AsciiLower(dot == std::string::npos ? name : name.substr(dot));
}

bool IsImageExt(const std::string& ext)
{
    const std::string lower = AsciiLower(ext);
    return std::find(kImageExtensions.begin(), kImageExtensions.end(), lower) != kImageExtensions.end();
}

bool IsImageFileName(const std::string& name)
{
    return IsImageExt(LowerExtension(name));
}

bool IsMacResourceEntry(const std::string& name)
{
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = name.find_first_of("/\\", start);
        const std::string_view part = std::string_view(name).substr(start, separator - start);
        if (separator == std::string::npos)
            return part.starts_with("._");
        if (part == "__MACOSX")
            return true;
        start = separator + 1;
    }
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    const std::string_view tail = (!name.empty() && name.front() == kPathSeparator)
                                      ? std::string_view(name).substr(1)
                                      : std::string_view(name);
    std::string joined(folder);
    if (joined.empty() || joined.back() != kPathSeparator)
        joined += kPathSeparator;
    joined += tail;
    return joined;
}

bool IsDirectory(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(FileSystemPath(path), error);
}

bool IsFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(FileSystemPath(path), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::int32_t GetFileLength(const std::string& path)
{
    CRegularFile file;
    if (!file.Open(path))
        return -1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(file.Size(), std::numeric_limits<std::int32_t>::max()));
}

bool PageNameLess(const std::string& a, const std::string& b)
{
    const auto lowerLess = [](char x, char y) {
        return AsciiLowerByte(static_cast<unsigned char>(x)) < AsciiLowerByte(static_cast<unsigned char>(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess))
        return false;
    // Names equal but for letter case still get a fixed order, by their real bytes.
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}
