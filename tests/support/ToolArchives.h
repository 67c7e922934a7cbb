// Files with names of raw bytes, and ZIP archives of such names written by Python's zipfile.
#pragma once

#include "BookFixtures.h"

namespace fixtures {

// Writes each file under `folder`, making its folders; names are used as raw bytes.
bool WriteFilesByByteName(const std::string& folder, const std::vector<BookItem>& files);

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
