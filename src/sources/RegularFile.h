// A file opened for reading only when it is a regular file (never a FIFO, device or folder).
#pragma once

#include <cstdint>
#include <string>

class CRegularFile {
public:
    CRegularFile() = default;
    CRegularFile(const CRegularFile&) = delete;
    CRegularFile& operator=(const CRegularFile&) = delete;
    ~CRegularFile();

    bool Open(const std::string& path);
    int Fd() const { return m_fd; }
    std::int64_t Size() const { return m_size; }
    void Close();

private:
    int m_fd = -1;
    std::int64_t m_size = -1;
};
