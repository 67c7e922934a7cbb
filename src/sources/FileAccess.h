// Opening files by their UTF-8 path and working with 64-bit positions, for the sources.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The path as the file system takes it (bytes as they are on POSIX, UTF-8 decoded on Windows).
std::filesystem::path FileSystemPath(const std::string& path);
// Opens a file for binary reading; null when it cannot be opened or is a folder.
FilePtr OpenForReading(const std::string& path);
// The file's size in bytes, -1 when it is unknown; leaves the read position at the end.
std::int64_t FileSize(std::FILE* file);
// The size of the file at `path` after opening it for reading, -1 when it cannot be opened.
std::int64_t OpenFileSize(const std::string& path);
bool SeekTo(std::FILE* file, std::int64_t position);
