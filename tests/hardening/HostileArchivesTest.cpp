// Hostile RAR, 7z and tar books through the real view: each is refused with a clear
// message or holds no page, the open book stays readable, nothing is written beside it.
#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ImageFixtures.h"
#include "ViewTestSupport.h"
#include "view/Messages.h"

#include <QDir>
#include <functional>

using namespace viewtest;
using fixtures::TarMember;

namespace {

using Maker = std::function<bool(const std::string& folder, const std::string& path)>;

Maker Tar(std::vector<TarMember> members)
{
    return [=](const std::string&, const std::string& path) { return fixtures::WriteFile(path, fixtures::TarBytes(members)); };
}

Maker SevenZip(std::vector<std::string> arguments, std::function<bool(const std::string&)> damage = {})
{
    return [=](const std::string& folder, const std::string& path) {
        std::vector<fixtures::BookItem> items;
        for (int i = 0; i < 3; ++i)
            items.push_back({std::to_string(i) + ".jpg", JpegPage(NumberedPicture(i))});
        return fixtures::PackWithTool(folder, path, "7zz", arguments, items) && (!damage || damage(path));
    };
}

bool CutInHalf(const std::string& path)
{
    return fixtures::TruncateFile(path, fixtures::ReadBytes(path).size() / 2);
}

bool Scramble(const std::string& path)
{
    fixtures::Bytes bytes = fixtures::ReadBytes(path);
    for (std::size_t i = 40; i < bytes.size(); i += 7)
        bytes[i] ^= 0x5A;
    return fixtures::WriteFile(path, bytes);
}

std::vector<TarMember> ManyEntries(int count)
{
    std::vector<TarMember> members(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        members[std::size_t(i)].name = "e" + std::to_string(i) + ".txt";
    return members;
}

const std::vector<std::uint8_t> kPicture = JpegPage(NumberedPicture(5));

struct HostileCase {
    const char* name;
    const char* fileName;
    Maker make;
    const char* message; // nullptr: opens, with no page to show
};

const HostileCase kCases[] = {
    {"EncryptedEntriesSayTheBookIsEncrypted", "locked.cb7", SevenZip({"a", "-bd", "-psecret"}), viewtext::kArchiveEncrypted},
    {"EncryptedNamesSayTheBookIsEncrypted", "hidden.7z", SevenZip({"a", "-bd", "-psecret", "-mhe=on"}),
     viewtext::kArchiveEncrypted},
    {"TruncatedSevenZip", "cut.cb7", SevenZip({"a", "-bd"}, CutInHalf), viewtext::kArchiveCannotOpen},
    {"CorruptSevenZip", "noise.7z", SevenZip({"a", "-bd"}, Scramble), viewtext::kArchiveCannotOpen},
    {"TruncatedGzipTar", "cut.tar.gz",
     [](const std::string& folder, const std::string& path) {
         return fixtures::PackWithTool(folder, path, "bsdtar", {"-czf"}, {{"a.jpg", fixtures::PatternBytes(200000, 3)}})
                && CutInHalf(path);
     },
     viewtext::kArchiveCannotOpen},
    {"EntryDeclaringTerabytes", "huge.cbt", Tar({{"a.jpg", kPicture, '0', "", 1ll << 42}}), viewtext::kArchiveCannotOpen},
    {"HundredThousandEntries", "many.tar", Tar(ManyEntries(100000)), viewtext::kArchiveTooManyEntries},
    {"TextFileNamedCbr", "notes.cbr",
     [](const std::string&, const std::string& path) {
         const std::string text = "just a letter, not a book\n";
         return fixtures::WriteFile(path, fixtures::Bytes(text.begin(), text.end()));
     },
     viewtext::kArchiveUnknown},
    {"LinksAndDevicesAreNoPages", "links.cbt",
     Tar({{"hard.jpg", {}, '1', "/etc/passwd"}, {"soft.jpg", {}, '2', "/etc/passwd"}, {"tty.jpg", {}, '3'}}), nullptr},
};

class HostileArchiveTest : public ViewTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileArchiveTest, RefusedClearlyKeepingTheOpenBook)
{
    OpenBook(3);
    m_view->TurnPage(true);
    const std::string path = TempPath(GetParam().fileName);
    ASSERT_TRUE(GetParam().make(TempPath("files"), path));
    m_view->OpenCommandLinePath(path);
    if (GetParam().message) {
        ASSERT_FALSE(m_messages->Texts().empty());
        EXPECT_TRUE(m_messages->Last().startsWith(QString::fromUtf8(GetParam().message).section('%', 0, 0)))
            << m_messages->Last().toStdString();
        EXPECT_EQ(m_view->m_pageList, m_pages);
        EXPECT_EQ(m_view->m_itCurPage, 1u);
        EXPECT_EQ(m_view->m_sourceKind, SOURCE_FOLDER);
    } else {
        EXPECT_TRUE(m_messages->Texts().empty());
        EXPECT_TRUE(m_view->m_pageList.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileArchiveTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class HostileArchivePages : public ViewTest {};

TEST_F(HostileArchivePages, EscapingNamesAreOnlyNamesAndNothingIsWrittenBesideTheBook)
{
    const std::string path = TempPath("escape.tar");
    ASSERT_TRUE(fixtures::WriteFile(path, fixtures::TarBytes({{"../../escaped.jpg", kPicture},
                                                              {"/tmp/absolute.jpg", JpegPage(NumberedPicture(6))}})));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    m_view->OpenCommandLinePath(path);
    ASSERT_EQ(m_view->m_pageList, (std::vector<std::string>{"../../escaped.jpg", "/tmp/absolute.jpg"}));
    EXPECT_EQ(CurrentWidth(), NumberedPicture(5).width);
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(CurrentWidth(), NumberedPicture(6).width);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(m_messages->Texts().empty());
}

TEST_F(HostileArchivePages, PageDeclaringMoreThanTheEntryLimitFailsToReadWithoutAllocatingIt)
{
    const std::string path = TempPath("big.7z");
    ASSERT_TRUE(fixtures::PackWithTool(TempPath("files"), path, "7zz", {"a", "-bd"},
                                       {{"big.jpg", fixtures::Bytes((kMaxArchiveEntrySize + 1), 0)}}));
    m_view->OpenCommandLinePath(path);
    ASSERT_EQ(m_view->m_pageList.size(), 1u);
    EXPECT_EQ(m_messages->Last(), QString::fromUtf8(viewtext::kOpenFailed));
}

} // namespace
