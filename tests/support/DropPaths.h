// Drops file paths on a widget as a file manager does: file addresses in the drag's data.
#pragma once

#include <string>
#include <vector>

class QObject;

namespace fixtures {

// Sends the drag's entry and then the drop; Qt delivers a drop only to a widget that
// accepted the entry, so false (and no drop) when the entry was refused.
bool DropPaths(QObject* target, const std::vector<std::string>& paths);

} // namespace fixtures
