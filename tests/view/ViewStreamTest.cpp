// The streamed unprepared turn against the sequential one it replaces: every page of a book
// of every picture kind and shape, under every switch that changes the layout, must give the
// same screen to the byte and the same messages.
#include "ViewTestSupport.h"

#include <cstring>

namespace {

using viewtest::ViewTest;

struct Shown {
    std::vector<std::vector<std::uint8_t>> screens;
    std::vector<QString> messages;
    int lastProgress = -1;
};

std::vector<std::uint8_t> ScreenBytes(const CDib& screen) {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < screen.GetHeight(); ++y)
        bytes.insert(bytes.end(), screen.GetRowPtr(y), screen.GetRowPtr(y) + 3 * screen.GetWidth());
    return bytes;
}

struct Layout {
    const char* name;
    bool twoPages, sharpen, flip, autoDetectWidth;
};

const Layout kLayouts[] = {
    {"OnePage", false, false, false, false},
    {"OnePageSharpened", false, true, false, false},
    {"TwoPages", true, false, false, false},
    {"TwoPagesSharpened", true, true, false, false},
    {"TwoPagesFlippedSharpened", true, true, true, false},
    {"TwoPagesWideFirstAlone", true, true, false, true},
    {"TwoPagesWideFirstAloneFlipped", true, false, true, true},
};

class ViewStreamTest : public ViewTest {
protected:
    // The pages: tall and wide scans, a progressive one, one cut short, a GIF, a file that is
    // no picture (it fails with a message) and a small page that is enlarged.
    void WriteMixedBook() {
        const auto write = [&](const std::string& name, const fixtures::Bytes& bytes) {
            ASSERT_TRUE(fixtures::WriteFile(TempPath("book/" + name), bytes));
        };
        QDir().mkpath(TempPath("book").c_str());
        fixtures::Bytes truncated = fixtures::EncodeJpeg(fixtures::ScanLikePage(300, 420, 3));
        truncated.resize(truncated.size() / 2);
        write("a0.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(310, 430, 1)));
        write("a1.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(520, 190, 2)));
        write("a2.jpg", truncated);
        write("a3.gif", fixtures::EncodeGif(fixtures::ScanLikePage(150, 210, 4)));
        write("a4.jpg", fixtures::Bytes(300, 0x5A));
        write("a5.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(90, 60, 5), 80, true));
        write("a6.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(280, 400, 6)));
    }

    Shown ShowEveryPage(const Layout& layout, bool streamed) {
        Restart();
        g_option.bInterpolation = 1;
        g_option.bView2Page = layout.twoPages;
        g_option.bSharpen = layout.sharpen;
        g_option.bFlipPage = layout.flip;
        g_option.bAutoDetectWidth = layout.autoDetectWidth;
        m_view->m_streamTurns = streamed;
        m_view->show();
        WriteMixedBook();
        m_view->ScanFolder(TempPath("book"));
        Shown shown;
        for (std::size_t page = 0; page < m_view->m_pageList.size(); ++page) {
            m_view->m_itCurPage = page;
            m_view->m_strPrepared.clear();
            m_view->ShowCurrentPage();
            shown.screens.push_back(ScreenBytes(*m_view->m_pScreen));
        }
        shown.messages = m_messages->Texts();
        shown.lastProgress = m_frame.progress.empty() ? -1 : m_frame.progress.back();
        return shown;
    }
};

TEST_F(ViewStreamTest, ShowsTheSequentialScreenForEveryPageAndLayout) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.name);
        const Shown sequential = ShowEveryPage(layout, false);
        const Shown streamed = ShowEveryPage(layout, true);
        ASSERT_EQ(streamed.screens.size(), sequential.screens.size());
        for (std::size_t page = 0; page < sequential.screens.size(); ++page)
            EXPECT_TRUE(streamed.screens[page] == sequential.screens[page]) << "page " << page;
        EXPECT_EQ(streamed.messages, sequential.messages);
        EXPECT_FALSE(sequential.messages.empty()) << "the page that is no picture was never shown";
        EXPECT_EQ(streamed.lastProgress, 0) << "the progress bar was left standing";
    }
}

} // namespace
