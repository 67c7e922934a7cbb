// The kinds of book file the viewer opens, told by their name's extension.
#include "ArchiveKind.h"

#include "PageNames.h"

#include <algorithm>
#include <array>

namespace {

// A comic book archive (.cbz) is a ZIP archive under another name.
constexpr std::array<ArchiveExtension, 3> kArchiveExtensions = {{
    {".pco", ArchiveKind::Pco},
    {".zip", ArchiveKind::Zip},
    {".cbz", ArchiveKind::Zip},
}};

} // namespace

std::span<const ArchiveExtension> ArchiveExtensions() {
    return kArchiveExtensions;
}

ArchiveKind ArchiveKindFromName(const std::string& path) {
    const std::string extension = LowerExtension(path);
    const auto found = std::find_if(kArchiveExtensions.begin(), kArchiveExtensions.end(),
                                    [&](const ArchiveExtension& row) { return row.extension == extension; });
    return found == kArchiveExtensions.end() ? ArchiveKind::None : found->kind;
}
