// Turning an archive entry's stored name into the UTF-8 text the reader sees.
#pragma once

#include <string>
#include <string_view>

// UTF-8 when the archive flags the name as UTF-8 or its bytes are valid UTF-8, otherwise
// CP949 (the code page Korean archivers write), with U+FFFD for bytes neither accepts.
std::string DisplayNameFromBytes(std::string_view bytes, bool flaggedUtf8);
