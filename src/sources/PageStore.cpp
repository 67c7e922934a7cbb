#include "PageStore.h"

#include "RegularFile.h"

#include <QDir>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, std::int64_t offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
        offset += written;
    }
    return true;
}

} // namespace

std::string PrivateSpillFolder()
{
    const std::string folder =
        QDir::tempPath().toStdString() + "/tavimo-" + std::to_string(static_cast<unsigned long>(::getuid()));
    ::mkdir(folder.c_str(), 0700);
    // Another user may have made the name first, or left a link there: use it only when it
    // is our own folder that nobody else can enter.
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::getuid()
        || (status.st_mode & 077) != 0)
        return std::string();
    return folder;
}

CPageStore::CPageStore(std::size_t memoryBudget, std::int64_t fileBudget)
    : m_memoryBudget(memoryBudget)
    , m_fileBudget(fileBudget)
{
}

CPageStore::~CPageStore()
{
    Clear();
}

bool CPageStore::Contains(std::int64_t key) const
{
    return m_memory.count(key) != 0 || m_spilled.count(key) != 0;
}

bool CPageStore::Get(std::int64_t key, std::vector<std::uint8_t>& bytes) const
{
    bytes.clear();
    if (const auto kept = m_memory.find(key); kept != m_memory.end()) {
        bytes = kept->second;
        return true;
    }
    const auto spilled = m_spilled.find(key);
    if (spilled == m_spilled.end())
        return false;
    bytes.resize(spilled->second.size);
    if (ReadFullyAt(m_fd, spilled->second.offset, bytes.data(), bytes.size()) != std::int64_t(bytes.size())) {
        bytes.clear();
        return false;
    }
    return true;
}

void CPageStore::Put(std::int64_t key, const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || Contains(key))
        return;
    if (m_memoryBytes + size <= m_memoryBudget) {
        m_memory.emplace(key, std::vector<std::uint8_t>(data, data + size));
        m_memoryBytes += size;
        return;
    }
    if (m_fileBytes + std::int64_t(size) > m_fileBudget || !EnsureFile())
        return;
    if (!WriteAll(m_fd, data, size, m_fileBytes))
        return;
    m_spilled.emplace(key, Span{m_fileBytes, size});
    m_fileBytes += std::int64_t(size);
}

bool CPageStore::EnsureFile()
{
    if (m_fd >= 0)
        return true;
    if (m_fileFailed)
        return false;
    m_fileFailed = true;
    const std::string folder = PrivateSpillFolder();
    if (folder.empty())
        return false;
    std::string name = folder + "/pages-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    // Unnamed at once: the file lives only as long as this descriptor, even after a crash.
    ::unlink(name.c_str());
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    m_fd = fd;
    m_fileFailed = false;
    return true;
}

void CPageStore::Clear()
{
    m_memory.clear();
    m_spilled.clear();
    m_memoryBytes = 0;
    m_fileBytes = 0;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_fileFailed = false;
}
