// Files that are not regular files, made at run time under any name.
#include "SpecialFiles.h"

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fixtures {

const char* SpecialFileName(SpecialFile kind)
{
    switch (kind) {
    case SpecialFile::Fifo:
        return "Fifo";
    case SpecialFile::Socket:
        return "Socket";
    case SpecialFile::NullDevice:
        return "DevNullLink";
    case SpecialFile::ZeroDevice:
        return "DevZeroLink";
    }
    return "";
}

namespace {

bool BindSocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    // The socket's node stays in the folder after the socket itself is closed.
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

} // namespace

bool MakeSpecialFile(SpecialFile kind, const std::string& path)
{
    switch (kind) {
    case SpecialFile::Fifo:
        return ::mkfifo(path.c_str(), 0600) == 0;
    case SpecialFile::Socket:
        return BindSocket(path);
    case SpecialFile::NullDevice:
        return ::symlink("/dev/null", path.c_str()) == 0;
    case SpecialFile::ZeroDevice:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    }
    return false;
}

} // namespace fixtures
