// The progress bar's colours.
#include "app/ProgressColors.h"

#include <QPalette>
#include <algorithm>

QColor ProgressBarColor(const QColor& light) {
    const int r = light.red();
    const int dim = std::max(r - 15, 0);
    return QColor(dim, dim, std::min(r + 15, 255));
}

void ApplyProgressColors(const QPalette& source, QPalette& target) {
    const QColor bar = ProgressBarColor(source.color(QPalette::Light));
    const QColor background = source.color(QPalette::Window);
    target.setColor(QPalette::Highlight, bar);
    target.setColor(QPalette::Base, background);
    target.setColor(QPalette::Window, background);
}
