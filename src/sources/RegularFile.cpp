// CRegularFile: the one way the program opens a file for reading.
#include "RegularFile.h"

#include "FileAccess.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
int OpenDescriptor(const std::string& path) {
    return _wopen(FileSystemPath(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

std::int64_t RegularFileSize(int fd) {
    struct _stat64 status {};
    if (_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
        return -1;
    return status.st_size;
}

long long ReadSome(int fd, std::int64_t position, void* buffer, std::size_t size) {
    if (_lseeki64(fd, position, SEEK_SET) < 0)
        return -1;
    constexpr std::size_t kMaxRead = 1u << 30;
    return _read(fd, buffer, static_cast<unsigned>(size < kMaxRead ? size : kMaxRead));
}
#else
int OpenDescriptor(const std::string& path) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    return fd;
}

std::int64_t RegularFileSize(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    // Reads of a regular file never wait; blocking mode is restored for the file
    // systems that would otherwise answer a read with EAGAIN.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return -1;
    return static_cast<std::int64_t>(status.st_size);
}

long long ReadSome(int fd, std::int64_t position, void* buffer, std::size_t size) {
    ssize_t got = -1;
    do
        got = ::pread(fd, buffer, size, static_cast<off_t>(position));
    while (got < 0 && errno == EINTR);
    return got;
}
#endif

void CloseDescriptor(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
}

} // namespace

CRegularFile::CRegularFile() = default;

CRegularFile::~CRegularFile() {
    Close();
}

CRegularFile::CRegularFile(CRegularFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_size(std::exchange(other.m_size, -1)) {}

CRegularFile& CRegularFile::operator=(CRegularFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_size = std::exchange(other.m_size, -1);
    }
    return *this;
}

bool CRegularFile::Open(const std::string& path) {
    Close();
    const int fd = OpenDescriptor(path);
    if (fd < 0)
        return false;
    const std::int64_t size = RegularFileSize(fd);
    if (size < 0) {
        CloseDescriptor(fd);
        return false;
    }
    m_fd = fd;
    m_size = size;
    return true;
}

std::int64_t ReadFullyAt(int fd, std::int64_t position, void* buffer, std::size_t size) {
    if (fd < 0 || position < 0)
        return -1;
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const long long got =
            ReadSome(fd, position + static_cast<std::int64_t>(done), bytes + done, size - done);
        if (got < 0)
            return -1;
        if (got == 0)
            break; // the file ends here (it may have been cut while it was read)
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t CRegularFile::ReadAt(std::int64_t position, void* buffer, std::size_t size) const {
    return ReadFullyAt(m_fd, position, buffer, size);
}

void CRegularFile::Close() {
    if (m_fd >= 0)
        CloseDescriptor(m_fd);
    m_fd = -1;
    m_size = -1;
}
