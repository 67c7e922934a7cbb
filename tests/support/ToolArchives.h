// ZIP archives made at test time by other programs' real tools (Info-ZIP's zip, Python's
// zipfile, 7-Zip), with names stored as raw bytes in whatever encoding a row needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

struct NamedFile {
    std::string name; // raw bytes, '/' between folders
    std::vector<std::uint8_t> data;
};

// Writes each file under `folder`, making its folders; names are used as raw bytes.
bool WriteFilesByByteName(const std::string& folder, const std::vector<NamedFile>& files);

// How a tool packs a folder.
enum class FolderZipper {
    InfoZip,       // zip -r, deflated
    InfoZipStored, // zip -r -0
    InfoZipToPipe, // zip -r - | cat: sizes follow each entry in a data descriptor
    SevenZip,      // 7z a -tzip (or 7zz)
};
// Packs the files of `folder` (names relative to it) into `zipPath`. The tool runs in the C
// locale so that it stores the names' bytes as they are on disk.
bool ZipFolder(FolderZipper zipper, const std::string& folder, const std::string& zipPath);

struct PythonEntry {
    std::string name; // stored exactly, raw bytes
    std::vector<std::uint8_t> data;
    bool utf8Flag = false; // general purpose bit 11
    bool deflate = true;
};
// Writes the entries in order with Python's zipfile; `streamed` writes to a stream that
// cannot seek, so every entry gets a data descriptor.
bool ZipWithPython(const std::string& zipPath, const std::vector<PythonEntry>& entries, bool streamed);

} // namespace fixtures
