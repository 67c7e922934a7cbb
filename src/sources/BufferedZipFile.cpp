// BufferedZipFile: the file under an open ZIP archive, read through a window of its bytes so
// that walking the central directory entry by entry costs no system call per entry.
#include "BufferedZipFile.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Directory records are small and read one after another; a window of this size holds
// hundreds of them. Larger reads (the inflater's) go straight to the file.
constexpr std::size_t kWindowSize = 64 * 1024;

voidpf OpenCallback(voidpf, const void* path, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !path)
        return nullptr;
    return BufferedZipFile::Open(static_cast<const char*>(path));
}

uLong ReadCallback(voidpf, voidpf stream, void* buffer, uLong size)
{
    return static_cast<uLong>(static_cast<BufferedZipFile*>(stream)->Read(buffer, size));
}

uLong WriteCallback(voidpf, voidpf, const void*, uLong)
{
    return 0; // archives are only ever read
}

ZPOS64_T TellCallback(voidpf, voidpf stream)
{
    return static_cast<ZPOS64_T>(static_cast<BufferedZipFile*>(stream)->Tell());
}

long SeekCallback(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    return static_cast<BufferedZipFile*>(stream)->Seek(static_cast<std::int64_t>(offset), origin) ? 0 : -1;
}

int CloseCallback(voidpf, voidpf stream)
{
    delete static_cast<BufferedZipFile*>(stream);
    return 0;
}

int ErrorCallback(voidpf, voidpf stream)
{
    return static_cast<BufferedZipFile*>(stream)->HasError() ? 1 : 0;
}

} // namespace

BufferedZipFile* BufferedZipFile::Open(const std::string& path)
{
    CRegularFile file;
    if (!file.Open(path))
        return nullptr;
    return new BufferedZipFile(std::move(file));
}

BufferedZipFile::BufferedZipFile(CRegularFile file) : m_file(std::move(file)), m_size(m_file.Size()) {}

bool BufferedZipFile::Seek(std::int64_t offset, int origin)
{
    std::int64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = m_position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = m_size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return false;
    const std::int64_t target = base + offset;
    if (offset < 0 || target < 0 || target > m_size)
        return false;
    m_position = target;
    return true;
}

bool BufferedZipFile::ReadAt(std::int64_t position, void* buffer, std::size_t size, std::size_t& got)
{
    const std::int64_t read = m_file.ReadAt(position, buffer, size);
    got = read > 0 ? static_cast<std::size_t>(read) : 0;
    return read >= 0;
}

std::size_t BufferedZipFile::Read(void* buffer, std::size_t size)
{
    std::size_t got = 0;
    if (size == 0)
        return 0;
    if (size >= kWindowSize / 4) {
        if (!ReadAt(m_position, buffer, size, got))
            m_error = true;
        m_position += static_cast<std::int64_t>(got);
        return got;
    }
    const bool inWindow = m_position >= m_windowStart &&
                          m_position + static_cast<std::int64_t>(size) <=
                              m_windowStart + static_cast<std::int64_t>(m_windowLength);
    if (!inWindow) {
        m_window.resize(kWindowSize);
        m_windowStart = m_position;
        m_windowLength = 0;
        if (!ReadAt(m_position, m_window.data(), m_window.size(), m_windowLength))
            m_error = true;
    }
    const std::int64_t available = m_windowStart + static_cast<std::int64_t>(m_windowLength) - m_position;
    got = static_cast<std::size_t>(std::clamp<std::int64_t>(available, 0, static_cast<std::int64_t>(size)));
    std::memcpy(buffer, m_window.data() + (m_position - m_windowStart), got);
    m_position += static_cast<std::int64_t>(got);
    return got;
}

void* OpenZipArchive(const std::string& path)
{
    zlib_filefunc64_def functions{OpenCallback, ReadCallback, WriteCallback, TellCallback,
                                  SeekCallback, CloseCallback, ErrorCallback, nullptr};
    return unzOpen2_64(path.c_str(), &functions);
}
