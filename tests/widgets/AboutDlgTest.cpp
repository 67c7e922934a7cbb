// CAboutDlg: the name line from the version string and the help text field.
#include "widgets/AboutDlg.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace {

// Columns a line takes in a fixed-width face: Hangul syllables and other wide
// characters take two.
int DisplayColumns(const QString& text)
{
    int columns = 0;
    for (const QChar c : text)
        columns += (c.unicode() >= 0x1100 && c.unicode() <= 0x115F) || (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
                           || (c.unicode() >= 0x3130 && c.unicode() <= 0x318F)
                       ? 2
                       : 1;
    return columns;
}

TEST(AboutNameLine, BuildNumberIsPartAfterLastDotWithItsSpace)
{
    EXPECT_EQ(CAboutDlg::NameLine("1. 0. 0. 703"), "Tavimo [빌드 703]");
    EXPECT_EQ(CAboutDlg::NameLine("2.1.810"), "Tavimo [빌드810]");
}

TEST(AboutNameLine, VersionWithoutDotIsUsedWhole)
{
    EXPECT_EQ(CAboutDlg::NameLine("test"), "Tavimo [빌드test]");
}

TEST(AboutNameLine, PlaceholderLikeVersionIsNotExpanded)
{
    EXPECT_EQ(CAboutDlg::NameLine("1.%1"), "Tavimo [빌드%1]");
}

TEST(AboutDialog, ShowsProgramBuildAndTitle)
{
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Tavimo 정보");
    EXPECT_EQ(dlg.NameLabel()->text(), "Tavimo [빌드 703]");
    EXPECT_EQ(dlg.OkButton()->text(), "확인");
}

TEST(AboutDialog, HelpTextShownWholeReadOnlyFixedWidthFromTheTop)
{
    CAboutDlg dlg;
    dlg.show();
    QPlainTextEdit* help = dlg.HelpText();
    const QString text = help->toPlainText();
    const QStringList lines = text.split('\n');
    ASSERT_GT(lines.size(), 30);
    EXPECT_TRUE(lines.front().isEmpty());
    EXPECT_EQ(lines[1], "* 키보드 설명");
    EXPECT_TRUE(lines.contains("* 기타 "));
    EXPECT_TRUE(lines.contains("* 필터 설명"));
    EXPECT_TRUE(lines.contains("** HISTORY"));
    EXPECT_TRUE(lines.back().startsWith("  * ")) << lines.back().toStdString();
    EXPECT_TRUE(help->isReadOnly());
    const QFontMetrics metrics(help->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW")) << "not a fixed-width face";
    EXPECT_EQ(help->verticalScrollBar()->value(), 0);
    EXPECT_EQ(help->textCursor().position(), 0);
}

TEST(AboutDialog, KeyLinesPadKeyNamesToTwentyEightColumns)
{
    const QStringList lines = CAboutDlg::LoadHelpText(kAboutTextResource).split('\n');
    int keyLines = 0;
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(": ");
        if (!line.startsWith("  - ") || colon < 0)
            continue;
        ++keyLines;
        EXPECT_EQ(DisplayColumns(line.mid(4, colon - 4)), 28) << line.toStdString();
    }
    EXPECT_EQ(keyLines, 17 + 4);
    EXPECT_TRUE(lines.contains("  - 스페이스/화살표 아래/PG DN  : 다음 페이지"));
}

TEST(AboutDialog, MissingHelpResourceLeavesFieldEmpty)
{
    CAboutDlg dlg(nullptr, ":/no-such-help.txt");
    EXPECT_TRUE(dlg.HelpText()->toPlainText().isEmpty());
    EXPECT_EQ(dlg.NameLabel()->text(), "Tavimo [빌드 703]");
}

TEST(AboutDialog, OkClosesTheModalDialog)
{
    CAboutDlg dlg;
    QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.OkButton(), Qt::LeftButton); });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
}

} // namespace
