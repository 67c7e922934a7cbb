// CAboutDlg: the name line from the version string and the help text field.
#include "widgets/AboutDlg.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(AboutDialog, BuildNumberIsThePartAfterTheLastDotTakenLiterally) {
    const std::pair<const char*, const char*> cases[] = {
        {"1. 0. 0. 703", "Tavimo [빌드 703]"}, // its space is kept
        {"test", "Tavimo [빌드test]"},         // no dot: the whole version
        {"1.%1", "Tavimo [빌드%1]"},           // not a placeholder
    };
    for (const auto& [version, line] : cases)
        EXPECT_EQ(CAboutDlg::NameLine(version), QString::fromUtf8(line)) << version;
}

TEST(AboutDialog, ShowsTheWholeHelpReadOnlyFixedWidthFromTheTopAndOkCloses) {
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Tavimo 정보");
    EXPECT_EQ(dlg.NameLabel()->text(), "Tavimo [빌드 703]");
    EXPECT_EQ(dlg.OkButton()->text(), "확인");
    QPlainTextEdit* help = dlg.HelpText();
    const QStringList lines = help->toPlainText().split('\n');
    ASSERT_GT(lines.size(), 30);
    for (const char* heading : {"* 키보드 설명", "* 기타 ", "* 필터 설명", "** HISTORY"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(heading))) << heading;
    // Key lines pad their key names to 28 columns; Hangul takes two.
    int keyLines = 0;
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(": ");
        if (!line.startsWith("  - ") || colon < 0)
            continue;
        int columns = 0;
        for (const QChar c : line.mid(4, colon - 4))
            columns += (c >= u'\u1100' && c <= u'\u115F') || (c >= u'\uAC00' && c <= u'\uD7A3') ||
                               (c >= u'\u3130' && c <= u'\u318F')
                           ? 2
                           : 1;
        EXPECT_EQ(columns, 28) << line.toStdString();
        ++keyLines;
    }
    EXPECT_EQ(keyLines, 18 + 6);
    EXPECT_TRUE(lines.back().startsWith("  * ")) << "cut short at: " << lines.back().toStdString();
    EXPECT_TRUE(help->isReadOnly());
    const QFontMetrics metrics(help->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"))
        << "not a fixed-width face";
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(help->verticalScrollBar()->value(), 0);
        EXPECT_EQ(help->textCursor().position(), 0);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(CAboutDlg(nullptr, ":/no-such-help.txt").HelpText()->toPlainText().isEmpty());
}

TEST(AboutDialog, BoxAndControlsAreMeasuredInTheDialogUnitsOfTheTwelvePointFixedFace) {
    CAboutDlg dlg;
    EXPECT_EQ(QFontInfo(dlg.font()).family(), QStringLiteral("NanumGothicCoding"))
        << "the fixed face of a bare system";
    EXPECT_EQ(QFontInfo(dlg.font()).pointSize(), 12);
    EXPECT_EQ(QFontInfo(dlg.HelpText()->font()).pointSize(), 12) << "the help text in the box's face";
    // Dialog units: a quarter of the average Latin letter width across, an eighth of the height down.
    const QFontMetrics metrics(dlg.font());
    const int x =
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
             26 +
         1) /
        2;
    const int y = metrics.height();
    const auto units = [x, y](int l, int t, int w, int h) {
        return QRect(l * x / 4, t * y / 8, w * x / 4, h * y / 8);
    };
    EXPECT_EQ(dlg.size(), units(0, 0, 266, 239).size());
    EXPECT_EQ(dlg.OkButton()->geometry(), units(205, 5, 50, 15));
    EXPECT_EQ(dlg.HelpText()->geometry(), units(5, 35, 255, 197));
}

TEST(AboutDialog, ClosesWithEnterAndWithEscapeFromWhereTheFocusStarts) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        CAboutDlg dlg;
        QTimer::singleShot(0, &dlg, [&dlg, key] {
            QTest::keyClick(dlg.focusWidget() ? dlg.focusWidget() : &dlg, key);
            QTimer::singleShot(1000, &dlg, [&dlg] { dlg.done(-1); }); // still open: the key was eaten
        });
        EXPECT_NE(dlg.exec(), -1) << "key " << key << " left the about box open";
    }
}

} // namespace
