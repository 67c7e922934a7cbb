// The fixture of every page view test: a fresh view of a known size with a frame that
// records what the view tells it, the settings at known values and every message recorded,
// and books of pictures written at run time.
#pragma once

#include "ImageFixtures.h"
#include "OptionSwitches.h"
#include "settings/RecentBooks.h"
#include "view/FrameHost.h"
#include "view/TavimoView.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace viewtest {

using Paths = std::vector<std::string>;

struct FakeFrameHost : CFrameHost {
    void ShowPageStatus(const QString& title) override { titles.push_back(title); }
    void SetProgressPos(int position) override { progress.push_back(position), onProgress(); }
    void PostCommand(int id) override { posted.push_back(id); }
    std::vector<QString> titles;
    std::vector<int> progress, posted;
    std::function<void()> onProgress = [] {}; // called at each progress report
};

// A picture of its own size and colour per page, so that the decoded surface tells the
// pages apart: taller than wide, each page one pixel wider than the one before it. A page
// of no colour is textured like a scan, one of no width is no picture.
struct PagePicture {
    int width, height;
    QColor color;
};
inline PagePicture NumberedPicture(int index) {
    return {40 + index, 100, QColor::fromHsv(index * 37 % 360, 200, 200)};
}
inline fixtures::Bytes JpegPage(const PagePicture& page) {
    if (page.width == 0)
        return {'n', 'o', 't'};
    QImage image = fixtures::ScanLikePage(page.width, page.height);
    if (page.color.isValid())
        image.fill(page.color);
    return fixtures::EncodeJpeg(image, 95);
}
// JPEG pages come back within a few levels of their colour.
inline bool Near(std::uint32_t pixel, QColor expected) {
    const QColor got{QRgb(pixel)};
    return std::abs(got.red() - expected.red()) <= 12 && std::abs(got.green() - expected.green()) <= 12 &&
           std::abs(got.blue() - expected.blue()) <= 12;
}
inline bool Has(const std::string& flags, char flag) {
    return flags.find(flag) != std::string::npos;
}
// The drawing switches by letter: 2 two-page view, c reading ahead, a wide pages in pairs
// like any other, x flipped, o fit off, i smoothed, s smoothed and sharpened.
inline void SetSwitches(const std::string& flags) {
    g_option.bView2Page = Has(flags, '2');
    g_option.bCacheNextFile = Has(flags, 'c');
    g_option.bAutoDetectWidth = !Has(flags, 'a');
    g_option.bFlipPage = Has(flags, 'x');
    g_option.bStretech = !Has(flags, 'o');
    g_option.bInterpolation = Has(flags, 'i') || Has(flags, 's');
    g_option.bSharpen = Has(flags, 's');
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "view-tests", *argv[] = {name, nullptr};
        // Never destroyed: Qt's input devices are torn down by other exit handlers first, and
        // an application destroyed after them crashes at exit.
        static QApplication* app = new QApplication(argc, argv);
        ASSERT_TRUE(app && m_dir.isValid());
        SetPlainSwitches();
        g_option.sRecentFolder.clear();
        g_recentBooks.Load(), g_recentBooks.Clear(), g_recentBooks.Save(); // nothing read yet
        m_frame = FakeFrameHost();
        m_pages.clear();
        // Every message is recorded and answered at once.
        m_messages.clear();
        SetGMessageBoxHook(
            [this](const GMessageBoxCall& call) { return m_messages.push_back(call), int(IDOK); });
        m_view = std::make_unique<CTavimoView>();
        m_view->SetFrame(&m_frame);
        m_view->m_dialogs = ViewDialogs{};
        m_view->resize(200, 150);
    }
    void TearDown() override { m_view.reset(), SetGMessageBoxHook(nullptr); }
    // For a table's next row: a fresh view and an empty temporary folder.
    void Restart() {
        TearDown();
        QDir(m_dir.path()).removeRecursively(), QDir().mkpath(m_dir.path());
        SetUp();
    }
    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const GMessageBoxCall& call : m_messages)
            texts.push_back(call.text);
        return texts;
    }
    QString LastMessage() const { return m_messages.empty() ? QString() : m_messages.back().text; }
    std::string TempPath(const std::string& name) const { return m_dir.filePath(name.c_str()).toStdString(); }
    // Writes the pages as page00.jpg, page01.jpg, ... into a folder and opens it.
    void OpenBook(const std::vector<PagePicture>& pages, const std::string& name = "book") {
        m_pages.clear();
        QDir().mkpath(TempPath(name).c_str());
        for (const PagePicture& page : pages) {
            m_pages.push_back(
                TempPath(name + QString::asprintf("/page%02d.jpg", int(m_pages.size())).toStdString()));
            EXPECT_TRUE(fixtures::WriteFile(m_pages.back(), JpegPage(page)));
        }
        m_view->ScanFolder(TempPath(name));
    }
    void OpenBook(int count) {
        std::vector<PagePicture> pages;
        for (int i = 0; i < count; ++i)
            pages.push_back(NumberedPicture(i));
        OpenBook(pages);
    }
    int CurrentWidth() const { return m_view->m_pPage1->GetWidth(); }
    // Runs the event loop until `done` holds or five seconds are up. (Qt's QTRY macros report
    // to QTest's own result, which a GoogleTest case never sees.)
    static bool WaitUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

    QTemporaryDir m_dir;
    FakeFrameHost m_frame;
    std::vector<GMessageBoxCall> m_messages;
    std::unique_ptr<CTavimoView> m_view;
    Paths m_pages;
};

} // namespace viewtest
