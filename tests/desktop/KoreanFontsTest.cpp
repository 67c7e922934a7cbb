// Korean text on this system: Qt finds a face with Hangul, and the program's faces resolve
// to one that draws the program's own text itself rather than leaving it to boxes or to
// whatever fallback the font system picks.
#include "widgets/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <gtest/gtest.h>

namespace {

// The idle text of the status bar and a notice of the message window.
const QString kKoreanSample = QStringLiteral("준비마지막파일입니다");

// The face Qt resolved the font to, not the fallback it would pick for Korean.
bool DrawsEveryCharacter(const QFont& font, const QString& text) {
    const QRawFont face = QRawFont::fromFont(font, QFontDatabase::Any);
    if (!face.isValid())
        return false;
    for (const QChar c : text) {
        if (!face.supportsCharacter(c))
            return false;
    }
    return true;
}

} // namespace

TEST(KoreanFonts, QtFindsAFaceForKoreanText) {
    EXPECT_FALSE(QFontDatabase::families(QFontDatabase::Korean).isEmpty())
        << "no Korean font: install fonts-nanum and fonts-nanum-coding";
}

TEST(KoreanFonts, WithoutGulimTheMessageWindowFallsBackToNanumGothicCoding) {
    if (QFontDatabase::hasFamily(QStringLiteral("Gulim")))
        GTEST_SKIP() << "Gulim is installed, so it is the first choice";
    EXPECT_EQ(QFontInfo(UiFontPixels(12)).family(), "NanumGothicCoding");
    EXPECT_EQ(QFontInfo(UiFontPoints(9)).family(), "NanumGothicCoding");
}

TEST(KoreanFonts, FixedFaceIsNanumGothicCoding) {
    EXPECT_EQ(QFontInfo(FixedFontPoints(9)).family(), "NanumGothicCoding");
}

TEST(KoreanFonts, ChosenFacesDrawTheKoreanTextThemselves) {
    EXPECT_TRUE(DrawsEveryCharacter(UiFontPixels(12), kKoreanSample)) << QFontInfo(UiFontPixels(12)).family().toStdString();
    EXPECT_TRUE(DrawsEveryCharacter(FixedFontPoints(9), kKoreanSample)) << QFontInfo(FixedFontPoints(9)).family().toStdString();
}
