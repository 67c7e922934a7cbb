// Running the real tools the fixtures come from through the shell: std::system, not QProcess,
// since ThreadSanitizer loses track of the locks a process takes after Qt started one.
#pragma once

#include <string>

namespace fixtures {

// `text` as one shell word, whatever bytes it holds.
inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace fixtures
