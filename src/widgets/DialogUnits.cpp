// DialogUnits: the base units come from the font's average Latin character width and its
// height, as dialog templates are laid out.
#include "DialogUnits.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_nBaseX = std::max(1, (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2);
    m_nBaseY = std::max(1, metrics.height());
}

QRect DialogUnits::ToPixels(int x, int y, int w, int h) const
{
    return {x * m_nBaseX / 4, y * m_nBaseY / 8, w * m_nBaseX / 4, h * m_nBaseY / 8};
}

QSize DialogUnits::ToPixels(int w, int h) const
{
    return {w * m_nBaseX / 4, h * m_nBaseY / 8};
}
