// Paths as the file system takes them, for the sources.
#include "FileAccess.h"

std::filesystem::path FileSystemPath(const std::string& path)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
    return std::filesystem::path(path);
#endif
}
