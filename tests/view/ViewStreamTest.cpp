// The streamed unprepared turn against the sequential one it replaces: every page of a book
// of every picture kind and shape, under every switch that changes the layout, must give the
// same screen to the byte and the same messages, in a folder book and in a ZIP book packed
// by Info-ZIP, whose pages are read in parts while they decode.
#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ViewTestSupport.h"
#include "sources/ZipSource.h"

#include <algorithm>

namespace {

using fixtures::Bytes;

// Makes an entry declare more bytes than it holds, in its local header and in the central
// directory alike: the entry inflates whole, then fails for the bytes it lacks.
bool DeclareMoreThanHeld(const std::string& zip, const std::string& name) {
    Bytes bytes = fixtures::ReadBytes(zip);
    int patched = 0;
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), name.begin(), name.end())) != bytes.end(); ++at) {
        const std::size_t named = std::size_t(at - bytes.begin());
        // The local header's size field stands 8 bytes before its name's length; the central
        // directory's, 4 bytes before it.
        const std::size_t size = named >= 46 && bytes[named - 46] == 'P' && bytes[named - 45] == 'K' &&
                                         bytes[named - 44] == 1 ? named - 46 + 24
                                 : named >= 30 && bytes[named - 30] == 'P' ? named - 30 + 22 : 0;
        if (size == 0)
            continue;
        bytes[size + 1] = std::uint8_t(bytes[size + 1] + 4); // 1 KiB more
        ++patched;
    }
    return patched == 2 && fixtures::WriteFile(zip, bytes);
}

class ViewStreamTest : public viewtest::ViewTest {
protected:
    // Every page's screen as bytes, then the messages given.
    std::vector<std::string> ShowEveryPage(const char* layout, bool zipped, bool streamed) {
        Restart();
        viewtest::SetSwitches(layout);
        m_view->m_streamTurns = streamed;
        m_view->show();
        // The pages: tall and wide scans, a progressive one, one cut short, a GIF, a file that
        // is no picture (it fails with a message), a small page that is enlarged, and two far
        // bigger than the first part read; in the ZIP book the last declares more than it holds.
        fixtures::Bytes truncated = fixtures::EncodeJpeg(fixtures::ScanLikePage(300, 420, 3));
        truncated.resize(truncated.size() / 2);
        QImage flat(2600, 3600, QImage::Format_RGB888);
        flat.fill(QColor(40, 90, 160));
        const std::vector<fixtures::BookItem> files = {
            {"a0.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(310, 430, 1))},
            {"a1.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(520, 190, 2))},
            {"a2.jpg", truncated},
            {"a3.gif", fixtures::EncodeGif(fixtures::ScanLikePage(150, 210, 4))},
            {"a4.jpg", fixtures::Bytes(300, 0x5A)},
            {"a5.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(90, 60, 5), 80, true)},
            {"a6.jpg", fixtures::EncodeJpeg(fixtures::ScanLikePage(700, 1000, 6), 95)},
            {"a7.jpg", fixtures::EncodeJpeg(flat, 100)}};
        if (zipped) {
            const std::string zip = TempPath("book.zip");
            EXPECT_TRUE(fixtures::PackWithTool(TempPath("in"), zip, "zip", {"-q"}, files));
            EXPECT_TRUE(DeclareMoreThanHeld(zip, "a7.jpg"));
            std::vector<std::uint8_t> read;
            EXPECT_FALSE(ReadZipEntry(zip, "a7.jpg", read)) << "the damage left the entry readable";
            m_view->OpenZip(zip);
        } else {
            QDir().mkpath(TempPath("book").c_str());
            for (const auto& [name, bytes] : files)
                EXPECT_TRUE(fixtures::WriteFile(TempPath("book/" + name), bytes));
            m_view->ScanFolder(TempPath("book"));
        }
        EXPECT_EQ(m_view->m_pageList.size(), files.size());
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
    for (const bool zipped : {false, true})
        for (const char* layout : {"ia", "sa", "2ia", "2sa", "2sxa", "2s", "2ix"}) {
            SCOPED_TRACE(std::string(layout) + (zipped ? " zip" : " folder"));
            const std::vector<std::string> sequential = ShowEveryPage(layout, zipped, false);
            const std::vector<std::string> streamed = ShowEveryPage(layout, zipped, true);
            EXPECT_TRUE(streamed == sequential);
            EXPECT_GE(sequential.size(), m_view->m_pageList.size() + (zipped ? 2 : 1))
                << "a page that fails was never reported";
            EXPECT_TRUE(!m_frame.progress.empty() && m_frame.progress.back() == 0)
                << "the progress bar was left standing";
        }
}

} // namespace
