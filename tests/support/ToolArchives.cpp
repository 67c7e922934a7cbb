// Archives made at test time by other programs' real tools, from files named by raw bytes.
#include "ToolArchives.h"

#include "ImageFixtures.h"
#include "Shell.h"

#include <cstdlib>
#include <filesystem>

namespace fixtures {

namespace {

// zipfile chooses a name's bytes and bit 11 itself; this entry type stores the bytes given.
// Arguments: each entry's UTF-8 flag (1) and method (d: deflated) as two letters, whether the
// archive is a stream that cannot seek (1), the archive, the entries' files.
constexpr char kPythonWriter[] = R"(import os, sys, zipfile
class RawName(zipfile.ZipInfo):
    def _encodeFilenameFlags(self): return self.raw, self.flag_bits | self.utf8
class Unseekable:
    def __init__(self, f): self.write, self.flush = f.write, f.flush
how, out = sys.argv[1], open(sys.argv[3], 'wb')
with zipfile.ZipFile(Unseekable(out) if sys.argv[2] == '1' else out, 'w') as archive:
    for i, name in enumerate(sys.argv[4:]):
        raw = os.fsencode(name)
        entry = RawName(raw.decode('latin-1'), (2024, 1, 2, 3, 4, 6))
        entry.raw, entry.utf8 = raw, 0x800 if how[2 * i] == '1' else 0
        entry.compress_type = zipfile.ZIP_DEFLATED if how[2 * i + 1] == 'd' else zipfile.ZIP_STORED
        archive.writestr(entry, open(raw, 'rb').read())
)";

} // namespace

bool WriteFilesByByteName(const std::string& folder, const std::vector<BookItem>& files) {
    std::error_code error;
    for (const BookItem& file : files) {
        const std::filesystem::path path = std::filesystem::path(folder) / file.name;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error || !WriteFile(path.string(), file.data))
            return false;
    }
    return true;
}

bool PackWithTool(const std::string& folder, const std::string& archive, const std::string& program,
                  const std::vector<std::string>& arguments, const std::vector<BookItem>& items) {
    // The tools read the names on disk in the locale's encoding: make it UTF-8.
    std::string command = "cd " + ShellQuoted(folder) + " && LC_ALL=C.UTF-8 " + ShellQuoted(program);
    for (const std::string& argument : arguments)
        command += " " + ShellQuoted(argument);
    command += " " + ShellQuoted(archive);
    for (const BookItem& item : items)
        command += " " + ShellQuoted(item.name);
    return WriteFilesByByteName(folder, items) &&
           std::system(("bash -c " + ShellQuoted(command + " >/dev/null")).c_str()) == 0;
}

bool ZipWithPython(const std::string& zipPath, const std::vector<PythonEntry>& entries, bool streamed) {
    std::vector<BookItem> files;
    std::string how;
    for (const PythonEntry& entry : entries) {
        files.push_back({entry.name, entry.data});
        how += std::string(entry.utf8Flag ? "1" : "0") + (entry.deflate ? "d" : "s");
    }
    const std::string parts = zipPath + ".parts";
    const bool written =
        PackWithTool(parts, zipPath, "python3", {"-c", kPythonWriter, how, streamed ? "1" : "0"}, files);
    std::error_code error;
    std::filesystem::remove_all(parts, error);
    return written;
}

} // namespace fixtures
