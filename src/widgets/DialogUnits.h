// DialogUnits: converts a dialog template's positions and sizes (dialog units, a quarter
// of the average character width across and an eighth of the character height down) into
// pixels for a given dialog font.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QRect ToPixels(int x, int y, int w, int h) const;
    QSize ToPixels(int w, int h) const;

private:
    int m_nBaseX; // average character width in pixels
    int m_nBaseY; // character height in pixels
};
