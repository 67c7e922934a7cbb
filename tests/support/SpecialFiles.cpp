#include "SpecialFiles.h"

#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fixtures {

const SpecialFile kSpecialFiles[4] = {
    {"Fifo", [](const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }},
    {"Socket",
     [](const std::string& path) {
         sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
         const int fd = path.size() < sizeof(address.sun_path) ? ::socket(AF_UNIX, SOCK_STREAM, 0) : -1;
         std::memcpy(address.sun_path, path.c_str(), std::min(path.size() + 1, sizeof(address.sun_path)));
         // The socket's node stays in the folder after the socket itself is closed.
         const bool bound =
             fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
         if (fd >= 0)
             ::close(fd);
         return bound;
     }},
    {"DevNullLink", [](const std::string& path) { return ::symlink("/dev/null", path.c_str()) == 0; }},
    {"DevZeroLink", [](const std::string& path) { return ::symlink("/dev/zero", path.c_str()) == 0; }}};

} // namespace fixtures
