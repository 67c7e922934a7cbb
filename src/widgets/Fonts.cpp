// Font choice: the first available of the listed families, with the style hint as the
// last resort, so a bare system without Korean fonts still gets a monospace face.
#include "Fonts.h"

#include <QStringList>

namespace {

QFont FirstAvailable(const QStringList& families)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    return font;
}

QFont UiFont()
{
    return FirstAvailable({QStringLiteral("Gulim"), QStringLiteral("NanumGothicCoding"), QStringLiteral("monospace")});
}

} // namespace

QFont UiFontPixels(int pixels)
{
    QFont font = UiFont();
    font.setPixelSize(pixels);
    return font;
}

QFont UiFontPoints(int points)
{
    QFont font = UiFont();
    font.setPointSize(points);
    return font;
}

QFont FixedFontPoints(int points)
{
    QFont font = FirstAvailable({QStringLiteral("NanumGothicCoding"), QStringLiteral("Gulim"), QStringLiteral("monospace")});
    font.setPointSize(points);
    return font;
}
