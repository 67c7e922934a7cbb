// The application's icon (an open book), drawn at any size; the window and the message
// window show it.
#pragma once

#include <QIcon>

QIcon AppIcon();
