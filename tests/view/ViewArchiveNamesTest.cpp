// Books whose names were written in other encodings or by other systems, as the view
// shows and reads them: the title, the page dialog, every page; and .cbz opened every way
// a ZIP archive is.
#include "ViewTestSupport.h"

#include "ImageFixtures.h"
#include "ToolArchives.h"
#include "settings/Option.h"
#include "view/Messages.h"

#include <QRegularExpression>
#include <filesystem>

using namespace viewtest;

namespace {

const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB";
const std::string kBookUtf8 = "\xEC\xB1\x85"; // 책
const std::string kBookCp949 = "\xC3\xA5";
const std::string kReplacement = "\xEF\xBF\xBD";

class ArchiveNamesTest : public ViewTest {
protected:
    // The names the page dialog is given.
    std::vector<std::string> PageDialogNames() {
        std::vector<std::string> names;
        m_view->m_dialogs.choosePage = [&](const std::vector<std::string>& pages, std::size_t) {
            names = pages;
            return std::nullopt;
        };
        m_view->SelectPage();
        return names;
    }
    QString Shown(const std::string& utf8) const {
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    }
};

struct ZipNamesRow {
    const char* fault;
    std::string name1, name2; // stored bytes
    bool utf8Flag;
    std::string shown1, shown2;
};

TEST_F(ArchiveNamesTest, ZipNamesShowInTheTitleAndThePageDialogAndEveryPageReads) {
    const ZipNamesRow rows[] = {
        {"cp949_unflagged_garbled", kHangulCp949 + "/1.jpg", kHangulCp949 + "/" + kBookCp949 + ".jpg", false,
         kHangulUtf8 + "/1.jpg", kHangulUtf8 + "/" + kBookUtf8 + ".jpg"},
        {"utf8_flagged_garbled", kHangulUtf8 + "/1.jpg", kHangulUtf8 + "/" + kBookUtf8 + ".jpg", true,
         kHangulUtf8 + "/1.jpg", kHangulUtf8 + "/" + kBookUtf8 + ".jpg"},
        {"utf8_unflagged_garbled", kHangulUtf8 + "/1.jpg", kHangulUtf8 + "/" + kBookUtf8 + ".jpg", false,
         kHangulUtf8 + "/1.jpg", kHangulUtf8 + "/" + kBookUtf8 + ".jpg"},
        {"invalid_in_both_unread", "1\xFF.jpg", "2\xFF.jpg", false, "1" + kReplacement + ".jpg",
         "2" + kReplacement + ".jpg"},
    };
    int row = 0;
    for (const ZipNamesRow& r : rows) {
        const std::string zip = TempPath("names" + std::to_string(row++) + ".zip");
        ASSERT_TRUE(
            fixtures::ZipWithPython(zip,
                                    {{r.name2, JpegPage(PagePicture{52, 100, Qt::blue}), r.utf8Flag, true},
                                     {r.name1, JpegPage(PagePicture{51, 100, Qt::red}), r.utf8Flag, false}},
                                    false))
            << r.fault;
        m_view->OpenZip(zip);
        ASSERT_EQ(m_view->m_pageList, (std::vector<std::string>{r.name1, r.name2})) << r.fault;
        EXPECT_EQ(m_frame.titles.back(),
                  QString("Tavimo [%1  %2]").arg(QString::fromStdString(zip), Shown(r.shown1)))
            << r.fault;
        EXPECT_EQ(PageDialogNames(), (std::vector<std::string>{r.shown1, r.shown2})) << r.fault;
        m_view->m_itCurPage = m_view->m_pageList.size();
        ASSERT_TRUE(m_view->TurnPage(true)) << r.fault;
        EXPECT_EQ(CurrentWidth(), 51) << r.fault;
        ASSERT_TRUE(m_view->TurnPage(true)) << r.fault;
        EXPECT_EQ(CurrentWidth(), 52) << r.fault;
        EXPECT_EQ(m_frame.titles.back(),
                  QString("Tavimo [%1  %2]").arg(QString::fromStdString(zip), Shown(r.shown2)))
            << r.fault;
    }
    EXPECT_TRUE(m_messages->calls.empty());
}

TEST_F(ArchiveNamesTest, FolderWithCp949NamesOnDiskListsSortsAndReads) {
    const std::string folder = TempPath(kHangulUtf8);
    // CP949 orders Hangul syllables as Korean does: 가 (B0A1) before 나 (B3AA) before 한 (C7D1).
    ASSERT_TRUE(fixtures::WriteFilesByByteName(
        folder, {{kHangulCp949 + ".jpg", JpegPage(PagePicture{43, 100, Qt::red})},
                 {"\xB0\xA1.jpg", JpegPage(PagePicture{41, 100, Qt::red})},
                 {"\xB3\xAA.jpg", JpegPage(PagePicture{42, 100, Qt::red})},
                 {"\xFF.jpg", JpegPage(PagePicture{44, 100, Qt::red})}}));
    m_view->ScanFolder(folder);
    ASSERT_EQ(m_view->m_pageList.size(), 4u);
    // The folder's own name is UTF-8, its files' names CP949: each shows legibly.
    const std::string shown = folder + "/";
    EXPECT_EQ(PageDialogNames(),
              (std::vector<std::string>{shown + "\xEA\xB0\x80.jpg", shown + "\xEB\x82\x98.jpg",
                                        shown + kHangulUtf8 + ".jpg", shown + kReplacement + ".jpg"}));
    EXPECT_EQ(m_frame.titles.back(), QString("Tavimo [%1]").arg(Shown(shown + "\xEA\xB0\x80.jpg")));
    std::vector<int> widths{CurrentWidth()};
    while (m_view->TurnPage(true))
        widths.push_back(CurrentWidth());
    EXPECT_EQ(widths, (std::vector<int>{41, 42, 43, 44}));
    // Qt's temporary folder cannot remove names it cannot decode.
    std::filesystem::remove_all(folder);
}

TEST_F(ArchiveNamesTest, MacOsMadeArchiveShowsOnlyItsRealPages) {
    const std::string zip = TempPath("mac.zip");
    const std::vector<std::uint8_t> resource{0, 5, 22, 7, 0, 2, 0, 0};
    ASSERT_TRUE(fixtures::ZipWithPython(zip,
                                        {{"book/1.jpg", JpegPage(PagePicture{41, 100, Qt::red}), true, true},
                                         {"__MACOSX/book/._1.jpg", resource, true, true},
                                         {"book/2.jpg", JpegPage(PagePicture{42, 100, Qt::red}), true, true},
                                         {"book/._2.jpg", resource, true, true}},
                                        true));
    m_view->OpenZip(zip);
    EXPECT_EQ(m_view->m_pageList, (std::vector<std::string>{"book/1.jpg", "book/2.jpg"}));
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(CurrentWidth(), 42);
}

// A .cbz names a ZIP archive in any letter case, however it is opened.
TEST_F(ArchiveNamesTest, CbzOpensAsZipByDialogDropAndCommandLine) {
    const std::vector<std::pair<const char*, std::function<void(CTavimoView&, const std::string&)>>> ways = {
        {"dialog",
         [](CTavimoView& view, const std::string& path) {
             view.m_dialogs.chooseArchive = [path](const std::string&) { return path; };
             view.OnOpenArchive();
         }},
        {"drop", [](CTavimoView& view, const std::string& path) { view.OpenDroppedPaths({path}); }},
        {"command_line", [](CTavimoView& view, const std::string& path) { view.OpenCommandLinePath(path); }},
    };
    int width = 60;
    for (const auto& [way, open] : ways) {
        for (const char* name : {"book.cbz", "BOOK.CBZ"}) {
            const std::string zip = TempPath(std::string(way) + name);
            ASSERT_TRUE(fixtures::ZipWithPython(
                zip, {{"p.jpg", JpegPage(PagePicture{++width, 100, Qt::red}), false, true}}, false));
            open(*m_view, zip);
            EXPECT_EQ(m_view->m_sourceKind, SOURCE_ZIP) << way << ' ' << name;
            EXPECT_EQ(m_view->m_strZipPath, zip) << way << ' ' << name;
            EXPECT_EQ(CurrentWidth(), width) << way << ' ' << name;
            EXPECT_EQ(m_frame.titles.back(), QString("Tavimo [%1  p.jpg]").arg(QString::fromStdString(zip)));
        }
    }
}

TEST(ArchiveDialogFilter, MatchesEveryBookFileKindInEitherCaseAndNothingElse) {
    // The entry after the one of every book file holds the PCO and ZIP kinds.
    const QString filter = ArchiveDialogFilter().split(QStringLiteral(";;")).value(1);
    EXPECT_TRUE(filter.startsWith(QString::fromUtf8("PCO,ZIP,CBZ 파일(*.PCO;*.ZIP;*.CBZ) (")))
        << filter.toStdString();
    // The patterns stand in the last parentheses, as the file dialog reads them; on this
    // platform it matches them in their letter case.
    const QString list = filter.mid(filter.lastIndexOf(u'(') + 1).chopped(1);
    const auto matches = [&](const QString& name) {
        for (const QString& pattern : list.split(u' ', Qt::SkipEmptyParts))
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                    .match(name)
                    .hasMatch())
                return true;
        return false;
    };
    for (const char* name : {"a.pco", "A.PCO", "b.zip", "B.ZIP", "c.cbz", "C.CBZ"})
        EXPECT_TRUE(matches(QString::fromLatin1(name))) << name;
    for (const char* name : {"d.rar", "e.jpg", "cbz"})
        EXPECT_FALSE(matches(QString::fromLatin1(name))) << name;
}

} // namespace
