// CRegularFile: the one way the program opens a file for reading. Only a regular file is
// opened: a named pipe, a socket or a device node (or a link to one) standing under a
// picture's or a book's name is refused before a byte is read, so it can never block the
// reader or feed it an endless stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads up to `size` bytes of descriptor `fd` at `position`, fewer only where the file
// ends; -1 on a read error. Interrupted reads are taken up again.
std::int64_t ReadFullyAt(int fd, std::int64_t position, void* buffer, std::size_t size);

class CRegularFile {
public:
    CRegularFile();
    ~CRegularFile();
    CRegularFile(const CRegularFile&) = delete;
    CRegularFile& operator=(const CRegularFile&) = delete;
    CRegularFile(CRegularFile&& other) noexcept;
    CRegularFile& operator=(CRegularFile&& other) noexcept;

    // Opens `path` without blocking, then checks the open descriptor itself, so what is
    // checked is what is read even when the name is replaced meanwhile. False (and
    // closed) when the path cannot be opened or is anything but a regular file.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    // The size the file had when it was opened; a file that changes later reads what is
    // there (see ReadAt).
    std::int64_t Size() const { return m_size; }
    // Reads up to `size` bytes at `position`, fewer only where the file ends; -1 on a read
    // error. The file position is not used, so reads at any place need no seek.
    std::int64_t ReadAt(std::int64_t position, void* buffer, std::size_t size) const;
    void Close();

private:
    int m_fd = -1;
    std::int64_t m_size = -1;
};
