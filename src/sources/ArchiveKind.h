// The kinds of book file the viewer opens, told by their name's extension.
#pragma once

#include <span>
#include <string>
#include <string_view>

// Rar, SevenZip and Tar books are read through libarchive.
enum class ArchiveKind { None, Pco, Zip, Rar, SevenZip, Tar };

struct ArchiveExtension {
    std::string_view extension; // lower case, with its '.'
    ArchiveKind kind;
};

// Every extension that names a book file, in the order the archive dialog lists them.
std::span<const ArchiveExtension> ArchiveExtensions();

// The kind a path names by the end of its name (in any letter case, ".tar.gz" whole);
// None for any other file.
ArchiveKind ArchiveKindFromName(const std::string& path);
