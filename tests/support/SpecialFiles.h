// Files that are not regular files, made at run time under any name: what a shared folder
// or a download tool can leave where a reader expects a picture or a book.
#pragma once

#include <ostream>
#include <string>

namespace fixtures {

enum class SpecialFile {
    Fifo,       // a named pipe nobody writes to
    Socket,     // a Unix socket bound to the name
    NullDevice, // a symbolic link to /dev/null
    ZeroDevice, // a symbolic link to /dev/zero, which never ends
};
const char* SpecialFileName(SpecialFile kind);
inline void PrintTo(SpecialFile kind, std::ostream* out)
{
    *out << SpecialFileName(kind);
}
// Makes `kind` at `path`; false when the system refuses.
bool MakeSpecialFile(SpecialFile kind, const std::string& path);

} // namespace fixtures
