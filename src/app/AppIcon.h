// The application's icon (an open book), the launcher's own picture: the window and the
// message window show it.
#pragma once

#include <QIcon>

// The raster sizes drawn from the scalable icon at build time and compiled into the
// program under ":/icons/<size>x<size>/tavimo.png"; Qt picks the nearest for each use.
QIcon AppIcon();
