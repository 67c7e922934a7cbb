// Names stored as raw bytes turned into text to show: UTF-8 as it is, CP949 (the Korean
// Windows code page) through the system's converter, anything else as U+FFFD.
#include "NameEncoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <cstdint>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// The length of the well-formed UTF-8 sequence at the start of `bytes`, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong below U+0800
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong below U+10000
        if (lead == 0xF4)
            high = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

// UTF-8 kept as it is, each byte that starts no well-formed sequence shown as U+FFFD.
std::string RepairedUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0) {
            text += kReplacement;
            bytes.remove_prefix(1);
        } else {
            text.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        }
    }
    return text;
}

#ifdef _WIN32
std::string Cp949ToUtf8(std::string_view bytes) {
    std::string text;
    while (!bytes.empty()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[0]);
        const int length = (lead >= 0x81 && lead <= 0xFE && bytes.size() >= 2) ? 2 : 1;
        wchar_t wide[2];
        const int wideCount = MultiByteToWideChar(949, MB_ERR_INVALID_CHARS, bytes.data(), length, wide, 2);
        char utf8[8];
        const int utf8Count = wideCount > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, wideCount, utf8,
                                                                  sizeof utf8, nullptr, nullptr)
                                            : 0;
        if (utf8Count > 0) {
            text.append(utf8, static_cast<std::size_t>(utf8Count));
            bytes.remove_prefix(static_cast<std::size_t>(length));
        } else {
            text += kReplacement;
            bytes.remove_prefix(1);
        }
    }
    return text;
}
#else
struct IconvCloser {
    iconv_t descriptor;
    ~IconvCloser() {
        if (descriptor != reinterpret_cast<iconv_t>(-1))
            iconv_close(descriptor);
    }
};

// CP949 through iconv; a byte it cannot convert shows as U+FFFD and conversion goes on
// from the next byte.
std::string Cp949ToUtf8(std::string_view bytes) {
    const IconvCloser converter{iconv_open("UTF-8", "CP949")};
    if (converter.descriptor == reinterpret_cast<iconv_t>(-1))
        return RepairedUtf8(bytes);
    // A CP949 character is one or two bytes and becomes at most three bytes of UTF-8; a
    // refused byte becomes the three bytes of U+FFFD.
    std::string text(bytes.size() * 3, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = text.data();
    std::size_t outLeft = text.size();
    while (inLeft > 0) {
        if (iconv(converter.descriptor, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG || outLeft < kReplacement.size())
            break;
        iconv(converter.descriptor, nullptr, nullptr, nullptr, nullptr);
        for (const char c : kReplacement)
            *out++ = c;
        outLeft -= kReplacement.size();
        ++in;
        --inLeft;
    }
    text.resize(text.size() - outLeft);
    return text;
}
#endif

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string DisplayNameFromBytes(std::string_view bytes, bool flaggedUtf8) {
    if (flaggedUtf8 || IsValidUtf8(bytes))
        return RepairedUtf8(bytes);
    return Cp949ToUtf8(bytes);
}

std::string DisplayPathFromBytes(std::string_view path) {
    std::string text;
    text.reserve(path.size());
    while (true) {
        // '/' is never part of a CP949 character (its second bytes start at 0x41).
        const std::size_t separator = path.find('/');
        text += DisplayNameFromBytes(path.substr(0, separator), false);
        if (separator == std::string_view::npos)
            break;
        text += '/';
        path.remove_prefix(separator + 1);
    }
    return text;
}
