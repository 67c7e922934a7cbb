// Hostile books through the real view: each is refused with the program's message (and the
// book open before stays as it was and readable), or opens and every page either shows
// (the part of the picture that decodes) or reports that it failed, and the view goes on.
#include "HostileBooks.h"
#include "ViewTestSupport.h"
#include "view/Messages.h"

// Messages print as their text when an expectation fails.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using hostile::Container;
using hostile::HostileBook;
using hostile::Page;

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

    void ExpectPage(std::size_t index, Page expected)
    {
        SCOPED_TRACE("page " + std::to_string(index));
        ASSERT_EQ(m_view->m_itCurPage, index);
        if (expected == Page::Fails) {
            EXPECT_EQ(m_messages->Texts(), std::vector<QString>{QString::fromUtf8(viewtext::kOpenFailed)});
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
    ASSERT_TRUE(m_view->TurnPage(true));
    const std::vector<std::string> before = m_view->m_pageList;
    const std::string path = book.write(m_dir.path().toStdString());
    m_messages->calls.clear();
    Open(book, path);
    if (!book.refusal.isEmpty()) {
        EXPECT_EQ(m_messages->Texts(), std::vector<QString>{book.refusal});
        EXPECT_EQ(m_view->m_pageList, before);
        EXPECT_EQ(m_view->m_itCurPage, 1u);
    } else {
        ASSERT_EQ(m_view->m_pageList.size(), book.pages.size());
        if (book.pages.empty()) {
            EXPECT_TRUE(m_messages->calls.empty());
        }
        for (std::size_t i = 0; i < book.pages.size(); ++i) {
            if (i > 0) {
                m_messages->calls.clear();
                m_view->TurnPage(true);
            }
            ExpectPage(i, book.pages[i]);
        }
        m_view->ScanFolder(TempPath("book")); // the good book opens again after the hostile one
    }
    // Every page of the good book loads, and the view turns to its last one.
    for (const std::string& page : m_pages) {
        CDib surface;
        EXPECT_TRUE(m_view->LoadPage(&surface, page)) << page;
    }
    m_messages->calls.clear();
    m_view->ShowLastPage();
    EXPECT_TRUE(m_messages->calls.empty());
    EXPECT_EQ(CurrentWidth(), lastPage.GetWidth());
}

INSTANTIATE_TEST_SUITE_P(HostileBooks, MalformedBookTest, ::testing::ValuesIn(hostile::HostileBooks()),
                         [](const ::testing::TestParamInfo<HostileBook>& info) { return info.param.name; });
