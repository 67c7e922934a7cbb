// The program's two faces: the Korean UI face (Gulim where installed, else a Nanum face)
// and a fixed-width face for the help text.
#pragma once

#include <QFont>

// The UI face at the given pixel height (the message window's 12-pixel text).
QFont UiFontPixels(int pixels);
// The UI face at the given point size (dialogs, the message window's measuring font).
QFont UiFontPoints(int points);
// A fixed-width face at the given point size.
QFont FixedFontPoints(int points);
