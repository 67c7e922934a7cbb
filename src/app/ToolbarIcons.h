// The toolbar buttons' pictures, one per command, drawn rather than stored so that the
// 17x16 buttons stay sharp at any pixel density.
#pragma once

#include <QIcon>
#include <QSize>

// The buttons' logical size.
inline constexpr QSize kToolbarIconSize(17, 16);

QIcon ToolbarIcon(int commandId);
