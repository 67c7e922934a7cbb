// The kinds of book file the viewer opens, told by their name's extension.
#include "ArchiveKind.h"

#include "PageNames.h"

#include <algorithm>
#include <array>

namespace {

// A comic book archive (.cbz) is a ZIP archive under another name.
constexpr std::array<ArchiveExtension, 13> kArchiveExtensions = {{
    {".pco", ArchiveKind::Pco},
    {".zip", ArchiveKind::Zip},
    {".cbz", ArchiveKind::Zip},
    {".rar", ArchiveKind::Rar},
    {".cbr", ArchiveKind::Rar},
    {".7z", ArchiveKind::SevenZip},
    {".cb7", ArchiveKind::SevenZip},
    {".tar", ArchiveKind::Tar},
    {".cbt", ArchiveKind::Tar},
    {".tgz", ArchiveKind::Tar},
    {".tar.gz", ArchiveKind::Tar},
    {".tar.xz", ArchiveKind::Tar},
    {".tar.bz2", ArchiveKind::Tar},
}};

} // namespace

std::span<const ArchiveExtension> ArchiveExtensions() {
    return kArchiveExtensions;
}

ArchiveKind ArchiveKindFromName(const std::string& path) {
    const std::string lower = AsciiLower(path);
    const std::string_view name(lower);
    const auto found = std::find_if(kArchiveExtensions.begin(), kArchiveExtensions.end(), [&](const ArchiveExtension& row) {
        return name.size() > row.extension.size() && name.ends_with(row.extension);
    });
    return found == kArchiveExtensions.end() ? ArchiveKind::None : found->kind;
}
