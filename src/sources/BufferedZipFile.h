// BufferedZipFile: the file under an open ZIP archive, read through a window of its bytes so
// that walking the central directory entry by entry costs no system call per entry.
#pragma once

#include "RegularFile.h"

#include <cstdint>
#include <string>
#include <vector>

class BufferedZipFile {
public:
    // Null when the path cannot be opened for reading or is not a regular file.
    static BufferedZipFile* Open(const std::string& path);

    std::size_t Read(void* buffer, std::size_t size);
    bool Seek(std::int64_t offset, int origin); // origin: the unzip library's SEEK_SET/CUR/END
    std::int64_t Tell() const { return m_position; }
    bool HasError() const { return m_error; }

private:
    explicit BufferedZipFile(CRegularFile file);
    bool ReadAt(std::int64_t position, void* buffer, std::size_t size, std::size_t& got);

    CRegularFile m_file;
    std::int64_t m_size;
    std::int64_t m_position = 0;
    std::vector<std::uint8_t> m_window;
    std::int64_t m_windowStart = 0;
    std::size_t m_windowLength = 0;
    bool m_error = false;
};

// Opens the archive at `path` for the unzip library through a BufferedZipFile; null (an
// unzFile) when the file cannot be opened or is not a ZIP archive.
void* OpenZipArchive(const std::string& path);
