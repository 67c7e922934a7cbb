// Hostile books through the real view: each is refused with the program's message (and the
// book open before stays as it was and readable), or opens and every page either shows
// (the part of the picture that decodes) or reports that it failed, and the view goes on.
#include "HostileBooks.h"
#include "ViewTestSupport.h"
#include "view/Messages.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

// Messages print as their text when an expectation fails.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using hostile::Container;
using hostile::HostileBook;
using hostile::Page;

namespace {

// The process's peak resident memory so far, in KiB (VmHWM).
long PeakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

const QString kPageFailed = QString::fromUtf8(viewtext::kOpenFailed);

} // namespace

class MalformedBookTest : public viewtest::ViewTest, public ::testing::WithParamInterface<HostileBook> {
protected:
    void Open(const HostileBook& book, const std::string& path)
    {
        switch (book.container) {
        case Container::Folder: m_view->ScanFolder(path); break;
        case Container::Zip: m_view->OpenZip(path); break;
        case Container::Pco: m_view->OpenPco(path); break;
        }
    }

    // Every page of the good book loads, and the view turns to its last one.
    void ExpectGoodBookReads()
    {
        for (const std::string& page : m_pages) {
            CDib surface;
            EXPECT_TRUE(m_view->LoadPage(&surface, page)) << page;
        }
        m_messages->calls.clear();
        m_view->ShowLastPage();
        EXPECT_TRUE(m_messages->calls.empty());
        EXPECT_EQ(CurrentWidth(), m_lastPageWidth);
    }

    // The width of the good book's last page, read before any hostile book was opened.
    int m_lastPageWidth = 0;

    void ExpectPage(std::size_t index, Page expected)
    {
        SCOPED_TRACE("page " + std::to_string(index));
        ASSERT_EQ(m_view->m_itCurPage, index);
        if (expected == Page::Fails) {
            EXPECT_EQ(m_messages->Texts(), std::vector<QString>{kPageFailed});
            return;
        }
        EXPECT_TRUE(m_messages->calls.empty()) << m_messages->Last().toStdString();
        CDib surface;
        ASSERT_TRUE(m_view->LoadPage(&surface, m_view->m_pageList[index]));
        EXPECT_GT(surface.GetWidth(), 0);
        EXPECT_GT(surface.GetHeight(), 0);
    }
};

TEST_P(MalformedBookTest, IsRefusedOrShowsWhatDecodesAndTheViewStaysReadable)
{
    const HostileBook& book = GetParam();
    OpenBook(3);
    CDib lastPage;
    ASSERT_TRUE(m_view->LoadPage(&lastPage, m_pages.back()));
    m_lastPageWidth = lastPage.GetWidth();
    ASSERT_TRUE(m_view->TurnPage(true));
    const std::vector<std::string> before = m_view->m_pageList;
    const std::string path = book.write(m_dir.path().toStdString());
    m_messages->calls.clear();

    // Only the view's own work is timed, not the checks that read pages again.
    std::chrono::steady_clock::duration viewTime{};
    const auto timed = [&viewTime](const std::function<void()>& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        viewTime += std::chrono::steady_clock::now() - start;
    };
    timed([&] { Open(book, path); });
    if (!book.refusal.isEmpty()) {
        EXPECT_EQ(m_messages->Texts(), std::vector<QString>{book.refusal});
        EXPECT_EQ(m_view->m_pageList, before);
        EXPECT_EQ(m_view->m_itCurPage, 1u);
    } else {
        ASSERT_EQ(m_view->m_pageList.size(), book.pages.size());
        for (std::size_t i = 0; i < book.pages.size(); ++i) {
            if (i > 0) {
                m_messages->calls.clear();
                timed([&] { m_view->TurnPage(true); });
            }
            ExpectPage(i, book.pages[i]);
        }
        if (book.pages.empty()) {
            EXPECT_TRUE(m_messages->calls.empty());
        }
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(viewTime);
    // Reported, not asserted: the release build's figures go into the hardening notes.
    std::printf("[ hostile  ] %s: %lld ms, peak %ld MiB\n", book.name.c_str(), static_cast<long long>(elapsed.count()),
                PeakResidentKiB() / 1024);

    if (book.refusal.isEmpty()) {
        m_view->ScanFolder(TempPath("book")); // the good book opens again after the hostile one
    }
    ExpectGoodBookReads();
}

INSTANTIATE_TEST_SUITE_P(HostileBooks, MalformedBookTest, ::testing::ValuesIn(hostile::HostileBooks()),
                         [](const ::testing::TestParamInfo<HostileBook>& info) { return info.param.name; });
