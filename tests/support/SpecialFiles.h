// Files that are not regular files, made at run time under any name: what a shared folder
// or a download tool can leave where a reader expects a picture or a book.
#pragma once

#include <ostream>
#include <string>

namespace fixtures {

struct SpecialFile {
    const char* name;
    bool (*make)(const std::string& path); // false when the system refuses
};
// A named pipe nobody writes to, a Unix socket, links to /dev/null and to the endless /dev/zero.
extern const SpecialFile kSpecialFiles[4];
inline void PrintTo(const SpecialFile& kind, std::ostream* out) {
    *out << kind.name;
}

} // namespace fixtures
