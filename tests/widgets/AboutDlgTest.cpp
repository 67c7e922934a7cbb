// CAboutDlg: the name line from the version string, the help text field and the box's units.
#include "widgets/AboutDlg.h"

#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AboutDialog, ShowsTheWholeHelpFromTheTopInTheDialogUnitsOfTheTwelvePointFixedFace) {
    // The build is the part after the last dot.
    const std::pair<const char*, const char*> names[] = {
        {"1. 0. 0. 703", "Tavimo [빌드 703]"}, {"test", "Tavimo [빌드test]"}, {"1.%1", "Tavimo [빌드%1]"}};
    for (const auto& [version, line] : names)
        EXPECT_EQ(CAboutDlg::NameLine(version), QString::fromUtf8(line)) << version;
    CAboutDlg dlg;
    QPlainTextEdit* help = dlg.HelpText();
    EXPECT_TRUE(dlg.windowTitle() == "Tavimo 정보" && dlg.NameLabel()->text() == "Tavimo [빌드 703]");
    const QStringList lines = help->toPlainText().split('\n');
    for (const char* heading : {"* 키보드 설명", "* 기타 ", "* 필터 설명", "** HISTORY"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(heading))) << heading;
    EXPECT_TRUE(lines.back().startsWith("  * ")) << "cut short at: " << lines.back().toStdString();
    EXPECT_TRUE(CAboutDlg(nullptr, ":/no-such-help.txt").HelpText()->toPlainText().isEmpty());
    EXPECT_EQ(QFontInfo(dlg.font()).family(), "NanumGothicCoding") << "the fixed face of a bare system";
    EXPECT_TRUE(QFontInfo(dlg.font()).pointSize() == 12 && QFontInfo(help->font()).pointSize() == 12);
    const QFontMetrics metrics(help->font());
    EXPECT_TRUE(help->isReadOnly() && metrics.horizontalAdvance("iiii") == metrics.horizontalAdvance("WWWW"));
    // Dialog units: a quarter of the average Latin letter width across, an eighth of the height down.
    const int x =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    const auto units = [x, y = metrics.height()](int l, int t, int w, int h) {
        return QRect(l * x / 4, t * y / 8, w * x / 4, h * y / 8);
    };
    EXPECT_EQ(dlg.size(), units(0, 0, 266, 239).size());
    EXPECT_EQ(dlg.OkButton()->geometry(), units(205, 5, 50, 15));
    EXPECT_EQ(help->geometry(), units(5, 35, 255, 197));
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_TRUE(help->verticalScrollBar()->value() == 0 && help->textCursor().position() == 0);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
}
