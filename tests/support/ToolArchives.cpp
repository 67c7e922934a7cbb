// ZIP archives made at test time by other programs' real tools.
#include "ToolArchives.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fixtures {

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return bool(out);
}

bool Run(const std::string& command) {
    return std::system(("bash -c " + Quoted(command)).c_str()) == 0;
}

// zipfile chooses a name's bytes and bit 11 itself; this entry type stores the bytes given.
constexpr char kPythonWriter[] = R"(
import sys, zipfile
class RawName(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.raw, self.flag_bits | self.utf8
class Unseekable:
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
out = open(sys.argv[1], 'wb')
with zipfile.ZipFile(Unseekable(out) if sys.argv[2] == '1' else out, 'w') as archive:
    for row in sys.argv[3:]:
        name, flag, method, data = row.split(':')
        raw = bytes.fromhex(name)
        entry = RawName(raw.decode('latin-1'), (2024, 1, 2, 3, 4, 6))
        entry.raw, entry.utf8 = raw, 0x800 if flag == '1' else 0
        entry.compress_type = zipfile.ZIP_DEFLATED if method == 'd' else zipfile.ZIP_STORED
        with open(data, 'rb') as f:
            archive.writestr(entry, f.read())
out.close()
)";

} // namespace

bool WriteFilesByByteName(const std::string& folder, const std::vector<NamedFile>& files) {
    std::error_code error;
    for (const NamedFile& file : files) {
        const std::filesystem::path path = std::filesystem::path(folder) / file.name;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error || !WriteBytes(path, file.data))
            return false;
    }
    return true;
}

bool ZipFolder(FolderZipper zipper, const std::string& folder, const std::string& zipPath) {
    const std::string enter = "cd " + Quoted(folder) + " && LC_ALL=C ";
    switch (zipper) {
    case FolderZipper::InfoZip:
        return Run(enter + "zip -q -r " + Quoted(zipPath) + " .");
    case FolderZipper::InfoZipStored:
        return Run(enter + "zip -q -r -0 " + Quoted(zipPath) + " .");
    case FolderZipper::InfoZipToPipe:
        return Run("set -o pipefail; " + enter + "zip -q -r - . | cat > " + Quoted(zipPath));
    case FolderZipper::SevenZip:
        return Run(enter + "$(command -v 7z || command -v 7zz) a -tzip -bso0 -bsp0 " + Quoted(zipPath) +
                   " .");
    }
    return false;
}

bool ZipWithPython(const std::string& zipPath, const std::vector<PythonEntry>& entries, bool streamed) {
    const std::filesystem::path work = std::filesystem::path(zipPath).concat(".parts");
    std::error_code error;
    std::filesystem::create_directories(work, error);
    const std::filesystem::path script = work / "write.py";
    std::ofstream(script) << kPythonWriter;
    std::string command =
        "python3 " + Quoted(script.string()) + " " + Quoted(zipPath) + (streamed ? " 1" : " 0");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::filesystem::path data = work / std::to_string(i);
        if (!WriteBytes(data, entries[i].data))
            return false;
        command += " " + Hex(entries[i].name) + (entries[i].utf8Flag ? ":1:" : ":0:") +
                   (entries[i].deflate ? "d:" : "s:") + Quoted(data.string());
    }
    const bool written = Run(command);
    std::filesystem::remove_all(work, error);
    return written;
}

} // namespace fixtures
