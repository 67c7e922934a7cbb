// The recent books: order and bound, what a damaged store gives, paths in any encoding,
// and two instances writing one after the other.
#include "settings/RecentBooks.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace storetest;

namespace {

class RecentBooks : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
};

std::vector<std::string> Paths(const CRecentBooks& list) {
    std::vector<std::string> paths;
    for (const RecentBook& book : list.Books())
        paths.push_back(book.path);
    return paths;
}

TEST_F(RecentBooks, TheMostRecentComeFirstAndOnlyTenAreKept) {
    CRecentBooks list;
    for (int i = 0; i < 12; ++i)
        list.Remember("/books/" + std::to_string(i), 0, "p");
    list.Remember("/books/5", 2, "q"); // read again: to the front, not twice
    const std::vector<std::string> expected = {"/books/5", "/books/11", "/books/10", "/books/9", "/books/8",
                                               "/books/7", "/books/6",  "/books/4",  "/books/3", "/books/2"};
    EXPECT_EQ(Paths(list), expected);
    EXPECT_EQ(list.Find("/books/5", 2)->page, "q");
    EXPECT_EQ(list.Find("/books/5", 0), nullptr) << "a book is one path of one kind";
    list.Save();
    CRecentBooks reread;
    reread.Load();
    EXPECT_EQ(Paths(reread), expected);
}

TEST_F(RecentBooks, DamagedStoredEntriesAreSkippedOrOpenTheFirstPage) {
    const QString page = QString::fromLatin1(QByteArray("p7").toHex());
    const QString path = QString::fromLatin1(QByteArray("/b").toHex());
    struct Case {
        const char* fault;
        QStringList stored;
        std::size_t books;
        std::string page;
    };
    const Case cases[] = {
        {"a whole entry must be read", {"0:" + path + ":" + page}, 1, "p7"},
        {"text that is no entry must be skipped", {"garbage"}, 0, ""},
        {"a kind that is no number must be skipped", {"x:" + path + ":" + page}, 0, ""},
        {"a negative kind must be skipped", {"-1:" + path + ":" + page}, 0, ""},
        {"an odd count of digits must be skipped", {"0:" + path + "a:" + page}, 0, ""},
        {"a letter that is no digit must be skipped", {"0:2g:" + page}, 0, ""},
        {"an empty path must be skipped", {"0::" + page}, 0, ""},
        {"an over-long path must be skipped", {"0:" + QString(20000, u'a') + ":" + page}, 0, ""},
        {"a page that does not read must open the first page", {"0:" + path + ":zz"}, 1, ""},
        {"an over-long page must open the first page", {"0:" + path + ":" + QString(20000, u'a')}, 1, ""},
        {"a path stored twice must be kept once", {"0:" + path + ":" + page, "1:" + path + ":"}, 1, "p7"},
        {"more than ten entries must give ten books", QStringList(12, "0:" + path + ":"), 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        OpenTavimoStore()->setValue("sRecentBooks", c.stored);
        CRecentBooks list;
        list.Load();
        ASSERT_EQ(list.Books().size(), c.books);
        if (c.books > 0) {
            EXPECT_EQ(list.Books()[0].page, c.page);
        }
    }
    QStringList stored;
    for (int i = 0; i < 12; ++i)
        stored << "0:" + QString::fromLatin1(QByteArray::number(i).toHex()) + ":";
    OpenTavimoStore()->setValue("sRecentBooks", stored);
    CRecentBooks list;
    list.Load();
    EXPECT_EQ(list.Books().size(), CRecentBooks::kMaxBooks);
    OpenTavimoStore()->setValue("sRecentBooks", 17);
    list.Load();
    EXPECT_TRUE(list.Books().empty()) << "a number is no list";
}

TEST_F(RecentBooks, PathsThatAreNoUtf8ComeBackByteForByte) {
    const std::string path("/books/\xff\xfe\x80 \xc3(", 13);
    const std::string page("/books/\xff\xfe\x80 \xc3(/\xe9t\xe9.jpg", 22);
    CRecentBooks list;
    list.Remember(path, 1, page);
    list.Save();
    CRecentBooks reread;
    reread.Load();
    ASSERT_NE(reread.Find(path, 1), nullptr);
    EXPECT_EQ(reread.Find(path, 1)->page, page);
}

TEST_F(RecentBooks, TwoInstancesWritingInTurnKeepWhatEachRead) {
    CRecentBooks first;
    first.Remember("/old", 0, "o");
    first.Remember("/gone", 0, "g");
    first.Save();

    CRecentBooks a, b;
    a.Load();
    b.Load();
    a.Remember("/a", 0, "a1");
    a.Forget("/gone");
    a.Save();
    b.Remember("/b", 0, "b1");
    b.Remember("/old", 0, "o2");
    b.Save();

    CRecentBooks reread;
    reread.Load();
    EXPECT_EQ(Paths(reread), (std::vector<std::string>{"/old", "/b", "/a"}));
    EXPECT_EQ(reread.Find("/old", 0)->page, "o2") << "the later writer's page wins for its own book";

    b.Clear();
    b.Save();
    reread.Load();
    EXPECT_TRUE(reread.Books().empty()) << "clearing must empty the stored list too";
}

} // namespace
