// Opening files by their UTF-8 path and working with 64-bit positions, for the sources.
#include "FileAccess.h"

#include <system_error>

std::filesystem::path FileSystemPath(const std::string& path)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
    return std::filesystem::path(path);
#endif
}

FilePtr OpenForReading(const std::string& path)
{
    std::error_code error;
    // fopen opens a folder on POSIX; a folder has no bytes to read, so it is refused here.
    if (std::filesystem::is_directory(FileSystemPath(path), error))
        return nullptr;
#ifdef _WIN32
    return FilePtr(_wfopen(FileSystemPath(path).c_str(), L"rb"));
#else
    return FilePtr(std::fopen(path.c_str(), "rb"));
#endif
}

bool SeekTo(std::FILE* file, std::int64_t position)
{
#ifdef _WIN32
    return _fseeki64(file, position, SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

std::int64_t FileSize(std::FILE* file)
{
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0)
        return -1;
    const std::int64_t size = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0)
        return -1;
    const std::int64_t size = ftello(file);
#endif
    return size;
}

std::int64_t OpenFileSize(const std::string& path)
{
    const FilePtr file = OpenForReading(path);
    return file ? FileSize(file.get()) : -1;
}
