// The frame's options and about commands over an open book: what OK and Cancel of the
// options dialog leave in memory, in the store and on the screen, and how the about box
// is closed from the keyboard.
#include "../settings/StoreTestSupport.h"
#include "AnswerModal.h"
#include "ImageFixtures.h"
#include "OptionSwitches.h"
#include "app/MainFrame.h"
#include "settings/Option.h"
#include "settings/OptionDlg.h"
#include "settings/RegStore.h"
#include "view/CommandIds.h"
#include "widgets/AboutDlg.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QColor kPaper(220, 40, 40);

// Runs `command` on the frame while `answer` works the modal dialog it opens.
template <typename Dialog>
bool RunAnswering(CMainFrame& frame, int command, const std::function<void(Dialog&)>& answer)
{
    return fixtures::RunAnsweringModal<Dialog>([&] { frame.ExecuteCommand(command); }, answer);
}

class FrameOptionsAndAbout : public ::testing::Test {
protected:
    void SetUp() override
    {
        storetest::ClearStore();
        SetPlainSwitches();
        SetGMessageBoxHook([this](const GMessageBoxCall& call) {
            messages.push_back(call.text);
            return int(IDOK);
        });
        // Two small plain pages: fitted to the window they stand far larger than they are.
        ASSERT_TRUE(m_book.isValid());
        QImage page(120, 160, QImage::Format_RGB32);
        page.fill(kPaper);
        for (const char* name : {"p1.jpg", "p2.jpg"})
            ASSERT_TRUE(fixtures::WriteFile(m_book.filePath(name).toStdString(), fixtures::EncodeJpeg(page, 95)));
        frame = std::make_unique<CMainFrame>(m_book.path().toStdString());
        frame->setGeometry(100, 80, 640, 480);
        frame->ShowFrame();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame->windowTitle().endsWith(QStringLiteral("p1.jpg]")); }));
        ASSERT_GE(frame->View().height(), 320) << "the view is too small to tell a fitted page";
    }
    void TearDown() override
    {
        frame.reset();
        SetGMessageBoxHook(nullptr);
        storetest::ClearStore();
        EXPECT_TRUE(messages.empty()) << messages.front().toStdString();
    }

    // A point inside the fitted page that a page at its own size (120 x 160) does not reach.
    QColor BeyondTheUnscaledPage() { return frame->View().grab().toImage().pixelColor(180, 240); }
    QColor InsideTheUnscaledPage() { return frame->View().grab().toImage().pixelColor(60, 80); }
    static bool IsPaper(const QColor& colour)
    {
        return std::abs(colour.red() - kPaper.red()) < 16 && std::abs(colour.green() - kPaper.green()) < 16
               && std::abs(colour.blue() - kPaper.blue()) < 16;
    }

    QTemporaryDir m_book;
    std::unique_ptr<CMainFrame> frame;
    std::vector<QString> messages;
};

TEST_F(FrameOptionsAndAbout, ClearingFitInOptionsShowsThePageAtItsOwnSizeAndStoresTheSwitch)
{
    ASSERT_TRUE(IsPaper(BeyondTheUnscaledPage())) << BeyondTheUnscaledPage().name().toStdString();
    const bool seen = RunAnswering<COptionDlg>(*frame, ID_OPTION, [](COptionDlg& dialog) {
        dialog.CheckBox(1000)->setFocus();
        QTest::keyClick(dialog.CheckBox(1000), Qt::Key_Space);
        dialog.OkButton()->click();
    });
    ASSERT_TRUE(seen);
    EXPECT_EQ(g_option.bStretech, 0);
    std::int32_t stored = -1;
    EXPECT_TRUE(GetRegDword(kTavimoKey, "bStretech", stored, -1));
    EXPECT_EQ(stored, 0);
    EXPECT_FALSE(IsPaper(BeyondTheUnscaledPage())) << "the view was not drawn again unscaled";
    EXPECT_TRUE(IsPaper(InsideTheUnscaledPage()));
    EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("p1.jpg]")));
}

TEST_F(FrameOptionsAndAbout, OptionsOkWithoutChangesRedrawsAndWritesEveryValue)
{
    frame->setWindowTitle(QStringLiteral("stale"));
    ASSERT_TRUE(RunAnswering<COptionDlg>(*frame, ID_OPTION, [](COptionDlg& dialog) { dialog.OkButton()->click(); }));
    EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("p1.jpg]"))) << frame->windowTitle().toStdString();
    const auto store = storetest::OpenTavimoStore();
    for (const char* name : {"bFlipPage", "bInterpolation", "bSharpen", "bStretech", "bView2Page", "bCacheNextFile",
                             "bAutoDetectWidth", "bIsMaximized", "bRotate", "sRecentFolder"})
        EXPECT_TRUE(store->contains(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(IsPaper(BeyondTheUnscaledPage()));
}

TEST_F(FrameOptionsAndAbout, OptionsCancelledAfterTogglingLeaveSwitchesStoreAndPicture)
{
    frame->setWindowTitle(QStringLiteral("stale"));
    ASSERT_TRUE(RunAnswering<COptionDlg>(*frame, ID_OPTION, [](COptionDlg& dialog) {
        for (int id : {1000, 1002, 1004}) {
            dialog.CheckBox(id)->setFocus();
            QTest::keyClick(dialog.CheckBox(id), Qt::Key_Space);
        }
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }));
    EXPECT_EQ(g_option.bStretech, 1);
    EXPECT_EQ(g_option.bView2Page, 0);
    EXPECT_EQ(g_option.bCacheNextFile, 0);
    EXPECT_TRUE(storetest::OpenTavimoStore()->allKeys().isEmpty());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("stale"));
    EXPECT_TRUE(IsPaper(BeyondTheUnscaledPage()));
}

TEST_F(FrameOptionsAndAbout, AboutBoxClosesWithEnterAndWithEscapeFromWhereTheFocusStarts)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QString title;
        bool closed = false;
        ASSERT_TRUE(RunAnswering<CAboutDlg>(*frame, ID_APP_ABOUT, [&](CAboutDlg& dialog) {
            title = dialog.windowTitle();
            QWidget* focus = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
            QTest::keyClick(focus, key);
            closed = !dialog.isVisible();
        }));
        EXPECT_EQ(title, QStringLiteral("Tavimo 정보"));
        EXPECT_TRUE(closed) << "key " << key << " left the about box open";
    }
    EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("p1.jpg]")));
}

} // namespace
