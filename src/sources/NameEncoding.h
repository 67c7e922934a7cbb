// Names stored as raw bytes (ZIP entry names, file names on disk) turned into text to show.
// The bytes themselves stay the key for reading; only what is shown is decoded.
#pragma once

#include <string>
#include <string_view>

// Whether `bytes` is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Text to show for a name stored as raw bytes: UTF-8 when flagged or valid UTF-8, else CP949;
// bytes valid in neither show as U+FFFD. Never throws, output bounded by 3x input + small.
std::string DisplayNameFromBytes(std::string_view bytes, bool flaggedUtf8);

// The same for a path on disk, one folder or file name at a time: a folder named in UTF-8
// holding files copied with CP949 names shows both legibly.
std::string DisplayPathFromBytes(std::string_view path);
