// The frame's options and about commands over an open book: clearing fit in the options
// draws the page again at its own size and stores the switch; the about box closes from
// the keyboard.
#include "../settings/StoreTestSupport.h"
#include "AnswerModal.h"
#include "ImageFixtures.h"
#include "OptionSwitches.h"
#include "app/MainFrame.h"
#include "settings/OptionDlg.h"
#include "settings/RegStore.h"
#include "view/CommandIds.h"
#include "widgets/AboutDlg.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FrameOptionsAndAbout, ClearingFitShowsThePageAtItsOwnSizeAndStoresItAndTheAboutBoxClosesByKey)
{
    const OptionSwitches keep;
    storetest::ClearStore();
    SetPlainSwitches();
    std::vector<QString> messages;
    SetGMessageBoxHook([&](const GMessageBoxCall& call) {
        messages.push_back(call.text);
        return int(IDOK);
    });
    // Two small plain pages: fitted to the window they stand far larger than they are.
    const QColor paper(220, 40, 40);
    QTemporaryDir book;
    QImage page(120, 160, QImage::Format_RGB32);
    page.fill(paper);
    for (const char* name : {"p1.jpg", "p2.jpg"})
        ASSERT_TRUE(fixtures::WriteFile(book.filePath(name).toStdString(), fixtures::EncodeJpeg(page, 95)));
    CMainFrame frame(book.path());
    frame.setGeometry(100, 80, 640, 480);
    frame.ShowFrame();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.windowTitle().endsWith(QStringLiteral("p1.jpg]")); }));
    ASSERT_GE(frame.View().height(), 320) << "the view is too small to tell a fitted page";
    // At (180, 240) a fitted page reaches, the page at its own size (120 x 160) does not.
    const auto isPaper = [&](QPoint at) {
        const QColor colour = frame.View().grab().toImage().pixelColor(at);
        return std::abs(colour.red() - paper.red()) < 16 && std::abs(colour.green() - paper.green()) < 16 &&
               std::abs(colour.blue() - paper.blue()) < 16;
    };
    ASSERT_TRUE(isPaper({180, 240}));
    ASSERT_TRUE(fixtures::RunAnsweringModal<COptionDlg>([&] { frame.ExecuteCommand(ID_OPTION); }, [](COptionDlg& dialog) {
        dialog.CheckBox(1000)->setFocus();
        QTest::keyClick(dialog.CheckBox(1000), Qt::Key_Space);
        dialog.OkButton()->click();
    }));
    std::int32_t stored = -1;
    EXPECT_TRUE(g_option.bStretech == 0 && GetRegDword(kTavimoKey, "bStretech", stored, -1) && stored == 0);
    EXPECT_FALSE(isPaper({180, 240})) << "the view was not drawn again unscaled";
    EXPECT_TRUE(isPaper({60, 80}));

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool closed = false;
        ASSERT_TRUE(fixtures::RunAnsweringModal<CAboutDlg>([&] { frame.ExecuteCommand(ID_APP_ABOUT); }, [&](CAboutDlg& dialog) {
            EXPECT_EQ(dialog.parentWidget(), &frame);
            QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, key);
            closed = !dialog.isVisible();
        }));
        EXPECT_TRUE(closed) << "key " << key << " left the about box open";
    }
    EXPECT_TRUE(frame.windowTitle().endsWith(QStringLiteral("p1.jpg]")));
    SetGMessageBoxHook(nullptr);
    storetest::ClearStore();
    EXPECT_TRUE(messages.empty());
}

} // namespace
