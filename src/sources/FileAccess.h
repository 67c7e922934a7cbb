// Paths as the file system takes them, for the sources.
#pragma once

#include <filesystem>
#include <string>

// The path as the file system takes it (bytes as they are on POSIX, UTF-8 decoded on Windows).
std::filesystem::path FileSystemPath(const std::string& path);
