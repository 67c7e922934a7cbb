// RAR, 7z and tar books for the tests and benchmarks: 7z and tar made by the real tools
// (7zz, bsdtar) at run time, RAR 4 by our own writer of stored entries (no RAR writer is
// packaged), and raw tar members for the hostile cases no tool writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

struct BookItem {
    std::string name; // relative path inside the book, raw bytes, '/' between folders
    std::vector<std::uint8_t> data;
};

// Writes the items as files under `folder` and packs them into `archive` with `program`
// and `arguments` (the archive path and the item names follow them), run in `folder` in a
// UTF-8 locale. For example {"7zz", {"a", "-ms=on"}} or {"bsdtar", {"-czf"}}.
bool PackWithTool(const std::string& folder, const std::string& archive, const std::string& program,
                  const std::vector<std::string>& arguments, const std::vector<BookItem>& items);

// A RAR 4 archive of stored (uncompressed) entries, names as given (bytes), in order.
bool WriteRar4(const std::string& path, const std::vector<BookItem>& items);

// One tar member written header by header: type '0' file, '1' hard link, '2' symbolic
// link, '3' character device. `declaredSize` (when not -1) is written in place of the
// data's size, in base-256 when it does not fit the octal field.
struct TarMember {
    std::string name;
    std::vector<std::uint8_t> data;
    char type = '0';
    std::string linkName;
    std::int64_t declaredSize = -1;
};
std::vector<std::uint8_t> TarBytes(const std::vector<TarMember>& members);

} // namespace fixtures
