// RAR, 7z and tar books in the view: each kind opens by the dialog, a drop and the command
// line, shows every page with the archive's title, turns back and jumps.
#include "ViewTestSupport.h"

#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ImageFixtures.h"
#include "settings/Option.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using namespace viewtest;

namespace {

enum class Route { Dialog, Drop, CommandLine };

struct ViewBookCase {
    const char* name;
    const char* fileName;
    const char* program; // empty: our RAR 4 writer
    std::vector<std::string> arguments;
    Route route;
};

const ViewBookCase kCases[] = {
    {"SevenZipByDialog", "Book.cb7", "7zz", {"a", "-bd", "-ms=on"}, Route::Dialog},
    {"SevenZipByDrop", "Book.7z", "7zz", {"a", "-bd"}, Route::Drop},
    {"SevenZipByCommandLine", "Book.CB7", "7zz", {"a", "-bd", "-ms=off"}, Route::CommandLine},
    {"TarByDialog", "Book.cbt", "bsdtar", {"-cf"}, Route::Dialog},
    {"GzipTarByDrop", "Book.tar.gz", "tar", {"-czf"}, Route::Drop},
    {"XzTarByCommandLine", "Book.tar.xz", "bsdtar", {"-cJf"}, Route::CommandLine},
    {"RarByDialog", "Book.cbr", "", {}, Route::Dialog},
    {"RarByDrop", "Book.RAR", "", {}, Route::Drop},
    {"RarByCommandLine", "Book.cbr", "", {}, Route::CommandLine},
    {"ZipNamedCbrByCommandLine", "Zip.cbr", "zip", {"-q"}, Route::CommandLine},
};

constexpr int kPages = 13;

class ArchiveBookViewTest : public ViewTest, public ::testing::WithParamInterface<ViewBookCase> {
protected:
    std::string MakeBook()
    {
        const ViewBookCase& kind = GetParam();
        std::vector<fixtures::BookItem> items;
        for (int i = kPages; i-- > 0;)
            items.push_back({"pages/" + std::to_string(100 + i) + ".jpg", JpegPage(NumberedPicture(i))});
        items.push_back({"info.txt", {'h', 'i'}});
        const std::string path = TempPath(kind.fileName);
        const bool made = *kind.program ? fixtures::PackWithTool(TempPath("files"), path, kind.program, kind.arguments, items)
                                        : fixtures::WriteRar4(path, items);
        EXPECT_TRUE(made);
        return path;
    }
    void Open(const std::string& path)
    {
        switch (GetParam().route) {
        case Route::Dialog:
            m_view->m_dialogs.chooseArchive = [path](const std::string&) { return path; };
            m_view->OnOpenArchive();
            break;
        case Route::Drop: {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(m_view.get(), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(m_view.get(), &drop);
            break;
        }
        case Route::CommandLine:
            m_view->OpenCommandLinePath(path);
            break;
        }
    }
    QString Title(const std::string& path, int page) const
    {
        return QString("Tavimo [%1  pages/%2.jpg]").arg(QString::fromStdString(path)).arg(100 + page);
    }
};

TEST_P(ArchiveBookViewTest, OpensListsReadsEveryPageTurnsBackAndJumps)
{
    const std::string path = MakeBook();
    Open(path);
    ASSERT_EQ(m_view->m_pageList.size(), std::size_t(kPages));
    EXPECT_TRUE(m_messages->Texts().empty());
    EXPECT_EQ(m_view->m_pageList.front(), "pages/100.jpg");
    for (int page = 0; page < kPages; ++page) {
        EXPECT_EQ(CurrentWidth(), NumberedPicture(page).width) << page;
        EXPECT_EQ(m_frame.titles.back(), Title(path, page));
        if (page + 1 < kPages) {
            ASSERT_TRUE(m_view->TurnPage(true));
        }
    }
    ASSERT_TRUE(m_view->TurnPage(false));
    EXPECT_EQ(CurrentWidth(), NumberedPicture(kPages - 2).width);
    m_view->OnPrev10();
    EXPECT_EQ(CurrentWidth(), NumberedPicture(kPages - 12).width);
    m_view->OnNext10();
    EXPECT_EQ(CurrentWidth(), NumberedPicture(kPages - 2).width);
    EXPECT_TRUE(m_messages->Texts().empty());
    if (m_view->m_sourceKind == SOURCE_ARCHIVE_BOOK && m_view->m_archiveBook->IsSolid()) {
        EXPECT_EQ(m_view->m_archiveBook->Restarts(), 1);
    }
}

TEST(ArchiveBookDialogFilter, EveryBookFileComesFirstThenOneEntryPerKind)
{
    const QStringList entries = ArchiveDialogFilter().split(QStringLiteral(";;"));
    ASSERT_EQ(entries.size(), 5);
    EXPECT_TRUE(entries[0].startsWith(QString::fromUtf8("모든 책 파일(*.PCO;*.ZIP;*.CBZ;*.RAR;"))) << entries[0].toStdString();
    for (const char* pattern : {"*.cbr", "*.CB7", "*.tar.bz2", "*.TGZ", "*.cbz"})
        EXPECT_TRUE(entries[0].contains(QString::fromLatin1(pattern))) << pattern;
    EXPECT_TRUE(entries[2].startsWith(QString::fromUtf8("RAR,CBR 파일(*.RAR;*.CBR) (")));
    EXPECT_TRUE(entries[3].startsWith(QString::fromUtf8("7Z,CB7 파일(*.7Z;*.CB7) (")));
    EXPECT_TRUE(entries[4].startsWith(QString::fromUtf8("TAR,CBT,TGZ,TAR.GZ,TAR.XZ,TAR.BZ2 파일(")));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ArchiveBookViewTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
