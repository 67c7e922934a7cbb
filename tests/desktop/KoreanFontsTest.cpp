// Korean text on this system: the program's faces resolve to one that draws the program's
// own text itself rather than leaving it to boxes or to whatever fallback the font system
// picks.
#include "widgets/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <algorithm>
#include <gtest/gtest.h>

TEST(KoreanFonts, WithoutGulimEachFaceIsNanumGothicCodingAndDrawsTheKoreanTextItself) {
    // The idle text of the status bar and a notice of the message window.
    const QString korean = QStringLiteral("준비마지막파일입니다");
    const bool gulim =
        QFontDatabase::hasFamily(QStringLiteral("Gulim")); // then the first choice of the UI faces
    const std::tuple<const char*, QFont, bool> faces[] = {{"UiFontPixels", UiFontPixels(12), !gulim},
                                                          {"UiFontPoints", UiFontPoints(9), !gulim},
                                                          {"FixedFontPoints", FixedFontPoints(9), true}};
    for (const auto& [name, font, nanum] : faces) {
        EXPECT_TRUE(!nanum || QFontInfo(font).family() == "NanumGothicCoding")
            << name << " is " << QFontInfo(font).family().toStdString() << ": install fonts-nanum-coding";
        // The face Qt resolved the font to, not the fallback it would pick for Korean.
        const QRawFont face = QRawFont::fromFont(font, QFontDatabase::Any);
        EXPECT_TRUE(face.isValid() && std::all_of(korean.begin(), korean.end(),
                                                  [&](QChar c) { return face.supportsCharacter(c); }))
            << name;
    }
}
