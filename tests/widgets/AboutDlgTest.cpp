// CAboutDlg: the name line from the version string and the help text field.
#include "widgets/AboutDlg.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

// Columns a line takes in a fixed-width face: Hangul jamo and syllables take two.
int DisplayColumns(const QString& text)
{
    int columns = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        columns += (u >= 0x1100 && u <= 0x115F) || (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x3130 && u <= 0x318F) ? 2 : 1;
    }
    return columns;
}

TEST(AboutNameLine, BuildNumberIsThePartAfterTheLastDotTakenLiterally)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1. 0. 0. 703", "Tavimo [빌드 703]"}, // its space is kept
        {"2.1.810", "Tavimo [빌드810]"},
        {"test", "Tavimo [빌드test]"}, // no dot: the whole version
        {"1.%1", "Tavimo [빌드%1]"},    // not a placeholder
    };
    for (const auto& [version, line] : cases)
        EXPECT_EQ(CAboutDlg::NameLine(version), QString::fromUtf8(line)) << version;
}

TEST(AboutDialog, ShowsNameAndTheWholeHelpReadOnlyFixedWidthFromTheTopAndOkCloses)
{
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Tavimo 정보");
    EXPECT_EQ(dlg.NameLabel()->text(), "Tavimo [빌드 703]");
    EXPECT_EQ(dlg.OkButton()->text(), "확인");
    QPlainTextEdit* help = dlg.HelpText();
    const QStringList lines = help->toPlainText().split('\n');
    ASSERT_GT(lines.size(), 30);
    EXPECT_TRUE(lines.front().isEmpty());
    EXPECT_EQ(lines[1], "* 키보드 설명");
    for (const char* heading : {"* 기타 ", "* 필터 설명", "** HISTORY"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(heading))) << heading;
    EXPECT_TRUE(lines.back().startsWith("  * ")) << "cut short at: " << lines.back().toStdString();
    EXPECT_TRUE(help->isReadOnly());
    const QFontMetrics metrics(help->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW")) << "not a fixed-width face";

    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(help->verticalScrollBar()->value(), 0);
        EXPECT_EQ(help->textCursor().position(), 0);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
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
    EXPECT_EQ(keyLines, 18 + 6);
    EXPECT_TRUE(lines.contains("  - 스페이스/화살표 아래/PG DN  : 다음 페이지"));
}

TEST(AboutDialog, MissingHelpResourceLeavesOnlyTheFieldEmpty)
{
    CAboutDlg dlg(nullptr, ":/no-such-help.txt");
    EXPECT_TRUE(dlg.HelpText()->toPlainText().isEmpty());
    EXPECT_EQ(dlg.NameLabel()->text(), "Tavimo [빌드 703]");
}

} // namespace
