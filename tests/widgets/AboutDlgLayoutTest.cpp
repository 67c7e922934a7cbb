// The about box's size and controls follow from its 12-point fixed-width face, as a dialog
// template's units follow from the dialog's font.
#include "widgets/AboutDlg.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Dialog units of a font: a quarter of its average Latin letter width across, an eighth
// of its height down.
struct Units {
    explicit Units(const QFont& font) {
        const QFontMetrics metrics(font);
        baseX = (metrics.horizontalAdvance(
                     QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                     26 +
                 1) /
                2;
        baseY = metrics.height();
    }
    QRect Rect(int x, int y, int w, int h) const {
        return {x * baseX / 4, y * baseY / 8, w * baseX / 4, h * baseY / 8};
    }
    int baseX = 0;
    int baseY = 0;
};

TEST(AboutLayout, BoxAndControlsAreMeasuredInTheUnitsOfTheTwelvePointFixedFace) {
    CAboutDlg dlg;
    const QFontInfo face(dlg.font());
    EXPECT_EQ(face.family(), QStringLiteral("NanumGothicCoding")) << "the fixed face of a bare system";
    const QFontMetrics metrics(dlg.font());
    EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W')) << "a fixed-width face";
    EXPECT_EQ(face.pointSize(), 12);

    QFont twelvePoints(QStringLiteral("NanumGothicCoding"));
    twelvePoints.setPointSize(12);
    const Units units(twelvePoints);
    QFont ninePoints = twelvePoints;
    ninePoints.setPointSize(9);
    ASSERT_GT(units.baseY, Units(ninePoints).baseY) << "the sizes cannot tell the two faces apart";

    EXPECT_EQ(dlg.size(), units.Rect(0, 0, 266, 239).size());
    EXPECT_EQ(dlg.OkButton()->geometry(), units.Rect(205, 5, 50, 15));
    EXPECT_EQ(dlg.HelpText()->geometry(), units.Rect(5, 35, 255, 197));
    EXPECT_EQ(QFontInfo(dlg.HelpText()->font()).pointSize(), 12) << "the help text in the box's face";
}

} // namespace
