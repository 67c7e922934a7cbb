// CAboutDlg: the name line from the version string and the help text field.
#include "widgets/AboutDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(AboutDialog, BuildNumberIsThePartAfterTheLastDotTakenLiterally)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1. 0. 0. 703", "Tavimo [빌드 703]"}, // its space is kept
        {"test", "Tavimo [빌드test]"},         // no dot: the whole version
        {"1.%1", "Tavimo [빌드%1]"},           // not a placeholder
    };
    for (const auto& [version, line] : cases)
        EXPECT_EQ(CAboutDlg::NameLine(version), QString::fromUtf8(line)) << version;
}

TEST(AboutDialog, ShowsTheWholeHelpReadOnlyFixedWidthFromTheTopAndOkCloses)
{
    CAboutDlg dlg;
    EXPECT_EQ(dlg.NameLabel()->text(), "Tavimo [빌드 703]");
    QPlainTextEdit* help = dlg.HelpText();
    const QStringList lines = help->toPlainText().split('\n');
    ASSERT_GT(lines.size(), 30);
    EXPECT_EQ(lines[1], "* 키보드 설명");
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
    EXPECT_TRUE(CAboutDlg(nullptr, ":/no-such-help.txt").HelpText()->toPlainText().isEmpty());
}

TEST(AboutDialog, ClosesWithEnterAndWithEscapeFromWhereTheFocusStarts)
{
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
