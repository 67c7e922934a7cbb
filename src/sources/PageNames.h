// Page names and the small file-system helpers the sources share.
#pragma once

#include <cstdint>
#include <string>

bool IsImageExt(const std::string& ext);
bool IsImageFileName(const std::string& name);
// Whether an archive entry is one of the resource files macOS adds beside each file (under a
// "__MACOSX" folder, or named "._" + the file's name): no page, whatever its extension.
bool IsMacResourceEntry(const std::string& name);
std::string JoinPath(const std::string& folder, const std::string& name);
bool IsDirectory(const std::string& path);
bool IsFile(const std::string& path);
// The size of a regular file that can be opened for reading, -1 otherwise (also for a
// folder, a named pipe, a socket or a device).
// A file of 2 GiB or more reports INT32_MAX rather than a wrapped or negative size.
std::int32_t GetFileLength(const std::string& path);
bool PageNameLess(const std::string& a, const std::string& b); // the page list's order

// The path separator of the platform ('/' here, '\\' on Windows).
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Lower-cases the ASCII letters only; every other byte (UTF-8 sequences included) stays.
std::string AsciiLower(const std::string& text);
// The lower-cased extension of a name or path: from its last '.' to the end, or the
// whole text when it has no '.', so that only a name such as ".jpg" or "jpg" itself
// is compared whole.
std::string LowerExtension(const std::string& name);
