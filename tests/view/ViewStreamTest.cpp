// The streamed unprepared turn against the sequential one it replaces: every page of a book
// of every picture kind and shape, under every switch that changes the layout, must give the
// same screen to the byte and the same messages.
#include "ViewTestSupport.h"

namespace {

class ViewStreamTest : public viewtest::ViewTest {
protected:
    // Every page's screen as bytes, then the messages given.
    std::vector<std::string> ShowEveryPage(const char* layout, bool streamed) {
        Restart();
        viewtest::SetSwitches(layout);
        m_view->m_streamTurns = streamed;
        m_view->show();
        // The pages: tall and wide scans, a progressive one, one cut short, a GIF, a file that
        // is no picture (it fails with a message) and a small page that is enlarged.
        fixtures::Bytes truncated = fixtures::EncodeJpeg(fixtures::ScanLikePage(300, 420, 3));
        truncated.resize(truncated.size() / 2);
        const std::pair<const char*, fixtures::Bytes> files[] = {
            {"a0.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(310, 430, 1))},
            {"a1.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(520, 190, 2))},
            {"a2.jpg", truncated},
            {"a3.gif", fixtures::EncodeGif(fixtures::ScanLikePage(150, 210, 4))},
            {"a4.jpg", fixtures::Bytes(300, 0x5A)},
            {"a5.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(90, 60, 5), 80, true)},
            {"a6.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(280, 400, 6))}};
        QDir().mkpath(TempPath("book").c_str());
        for (const auto& [name, bytes] : files)
            EXPECT_TRUE(fixtures::WriteFile(TempPath(std::string("book/") + name), bytes));
        m_view->ScanFolder(TempPath("book"));
        std::vector<std::string> shown;
        for (std::size_t page = 0; page < m_view->m_pageList.size(); ++page) {
            m_view->m_itCurPage = page;
            m_view->m_strPrepared.clear();
            m_view->ShowCurrentPage();
            const CDib& screen = *m_view->m_pScreen;
            shown.emplace_back();
            for (int y = 0; y < screen.GetHeight(); ++y)
                shown.back().append(reinterpret_cast<const char*>(screen.GetRowPtr(y)),
                                    3 * screen.GetWidth());
        }
        for (const QString& text : Texts())
            shown.push_back(text.toStdString());
        return shown;
    }
};

// The layouts by the switches' letters: one page and two, sharpened or only smoothed,
// flipped, and wide pages alone or in pairs.
TEST_F(ViewStreamTest, ShowsTheSequentialScreenForEveryPageAndLayout) {
    for (const char* layout : {"ia", "sa", "2ia", "2sa", "2sxa", "2s", "2ix"}) {
        SCOPED_TRACE(layout);
        const std::vector<std::string> sequential = ShowEveryPage(layout, false);
        const std::vector<std::string> streamed = ShowEveryPage(layout, true);
        EXPECT_TRUE(streamed == sequential);
        EXPECT_GT(sequential.size(), m_view->m_pageList.size())
            << "the page that is no picture was never shown";
        EXPECT_TRUE(!m_frame.progress.empty() && m_frame.progress.back() == 0)
            << "the progress bar was left standing";
    }
}

} // namespace
