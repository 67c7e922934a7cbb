// The progress bar's colours, taken from the palette so that the bar suits the desktop's
// scheme: a grey-blue bar a little darker than the light shade, on the menu colour.
#pragma once

#include <QColor>

class QPalette;

// With r the red of the light shade: red = green = max(r - 15, 0), blue = min(r + 15, 255).
QColor ProgressBarColor(const QColor& light);
// Applies the bar and background colours derived from `source` to `target`.
void ApplyProgressColors(const QPalette& source, QPalette& target);
