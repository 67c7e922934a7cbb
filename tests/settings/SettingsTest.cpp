// The store routines, the settings record and the recent books: values round trip whole,
// planted and damaged values fall back as the registry would, the names and defaults that
// stored files rely on, and two instances writing one after the other.
#include "ArchiveFixtures.h"
#include "StoreTestSupport.h"
#include "settings/Option.h"
#include "settings/RecentBooks.h"
#include "settings/RegStore.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace storetest;

namespace {

class Store : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
};

TEST_F(Store, NumbersAndPathsRoundTripWholePlantedValuesReadAsTheRegistryWouldAndGarbageGivesDefaults) {
    std::int32_t out = 99;
    for (const std::int32_t value : {-1, INT32_MIN, INT32_MAX})
        EXPECT_TRUE(SetRegDword(kTavimoKey, "bRotate", value) && GetRegDword(kTavimoKey, "bRotate", out, 9) &&
                    out == value)
            << value;
    std::string path;
    EXPECT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", "/home/만화/한국 책") &&
                GetRegString(kTavimoKey, "sRecentFolder", path) && path == "/home/만화/한국 책");
    EXPECT_FALSE(OpenTavimoStore()->value("sRecentFolder").toString().contains(QChar(0))) << "a terminator";
    EXPECT_FALSE(GetRegDword("SOFTWARE\\", "bRotate", out, 4) || SetRegDword("", "bRotate", 1) ||
                 SetRegString("\\\\", "sRecentFolder", "x"))
        << "a key path without any key";
    // b...: read as a number with the default 7; s...: as a path over "kept".
    const std::tuple<const char*, const char*, QVariant, bool, QVariant> rows[] = {
        {"text read as a number", "bFlipPage", "yes", false, 7},
        {"wider than 32 bits cut short", "bFlipPage", "8589934592", false, 7},
        {"unsigned 32 bits not wrapped", "bFlipPage", "4294967295", true, -1},
        {"binary of 8 bytes read", "bFlipPage", QByteArray("\x01\0\0\0\0\0\0\0", 8), false, 7},
        {"text path keeps its NUL", "sRecentFolder", QString::fromUtf8("C:/books/a\0", 11), true,
         "C:/books/a"},
        {"binary path keeps its NUL", "sRecentFolder", QByteArray("/srv/books\0", 11), true, "/srv/books"},
        {"empty path overwrites", "sRecentFolder", "", false, "kept"},
        {"missing path overwrites", "sRecentFolder", QVariant(), false, "kept"}};
    for (const auto& [fault, name, planted, found, read] : rows) {
        OpenTavimoStore()->remove(name);
        if (planted.isValid())
            OpenTavimoStore()->setValue(name, planted);
        std::int32_t number = -5;
        path = "kept";
        const bool isNumber = name[0] == 'b';
        EXPECT_EQ(isNumber ? GetRegDword(kTavimoKey, name, number, 7) : GetRegString(kTavimoKey, name, path),
                  found)
            << fault;
        EXPECT_EQ(isNumber ? QVariant(number) : QVariant(QString::fromStdString(path)), read) << fault;
    }
    // A garbage file gives the defaults and is written over; an unreadable one gives the defaults.
    QFile file(OpenTavimoStore()->fileName());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly));
    const auto garbage = fixtures::PatternBytes(4096, 7);
    file.write(reinterpret_cast<const char*>(garbage.data()), qint64(garbage.size()));
    file.write("\n[General\nbRotate=\x01\xFF\nbSharpen==\n[[[\n");
    file.close();
    EXPECT_FALSE(GetRegDword(kTavimoKey, "bRotate", out, 4) || out != 4);
    EXPECT_TRUE(SetRegDword(kTavimoKey, "bRotate", 1) && GetRegDword(kTavimoKey, "bRotate", out, 0) &&
                out == 1);
    if (geteuid() != 0) { // permissions do not bind the superuser
        ASSERT_TRUE(file.setPermissions(QFileDevice::Permissions()));
        EXPECT_FALSE(GetRegDword(kTavimoKey, "bRotate", out, 4) || out != 4);
    }
}

TEST_F(Store, OptionsStartAtTheDefaultsReadEachValueUnderItsOwnNameAndSaveEveryName) {
    const std::tuple<const char*, std::int32_t COption::*, std::int32_t> switches[] = {
        {"bFlipPage", &COption::bFlipPage, 0},
        {"bInterpolation", &COption::bInterpolation, 1},
        {"bSharpen", &COption::bSharpen, 0},
        {"bStretech", &COption::bStretech, 1},
        {"bView2Page", &COption::bView2Page, 0},
        {"bCacheNextFile", &COption::bCacheNextFile, 1},
        {"bAutoDetectWidth", &COption::bAutoDetectWidth, 0},
        {"bIsMaximized", &COption::bIsMaximized, 0},
        {"bRotate", &COption::bRotate, 0},
        {"bResumePage", &COption::bResumePage, 0}};
    QStringList names = {"sRecentFolder"};
    {
        const COption first;
        for (const auto& [name, field, fallback] : switches) {
            EXPECT_EQ(first.*field, fallback) << name;
            names << name;
        }
        EXPECT_TRUE(OpenTavimoStore()->allKeys().isEmpty()) << "loading must not write";
    }
    QStringList keys = OpenTavimoStore()->allKeys();
    keys.sort();
    names.sort();
    EXPECT_EQ(keys, names) << "saving writes every name and no other";
    // Each switch planted apart from its default and every other, then saved apart too; a
    // value that is no 32-bit number leaves only its own switch at the default.
    for (std::int32_t i = 0; const auto& [name, field, fallback] : switches)
        SetRegDword(kTavimoKey, name, fallback + 2 + i++);
    OpenTavimoStore()->setValue("bStretech", "12345678901234567890");
    COption o;
    for (std::int32_t i = 0; const auto& [name, field, fallback] : switches) {
        EXPECT_EQ(o.*field, std::string(name) == "bStretech" ? 1 : fallback + 2 + i) << name;
        o.*field = 40 + i++;
    }
    o.Save();
    for (std::int32_t i = 0; const auto& [name, field, fallback] : switches)
        EXPECT_EQ(COption().*field, 40 + i++) << name;
    o.sRecentFolder = "";
    o.Save();
    o.sRecentFolder = "/in/memory";
    o.Load();
    EXPECT_EQ(o.sRecentFolder, "/in/memory") << "an empty stored path must keep the one in memory";
    // The process record was built during static initialisation, before any Qt object.
    const std::int32_t rotate = std::exchange(g_option.bRotate, 77);
    g_option.Save();
    EXPECT_EQ(COption().bRotate, 77);
    g_option.bRotate = rotate;
}

std::vector<std::string> Paths(const CRecentBooks& list) {
    std::vector<std::string> paths;
    for (const RecentBook& book : list.Books())
        paths.push_back(book.path);
    return paths;
}

TEST_F(Store, RecentBooksComeMostRecentFirstOnlyTenAreKeptAndAnyBytesComeBack) {
    CRecentBooks list, reread;
    for (int i = 0; i < 12; ++i)
        list.Remember("/books/" + std::to_string(i), 0, "p");
    const std::string bytes("/books/\xff\xfe\x80 \xc3(", 13);
    list.Remember(bytes, 1, bytes + "/\xe9t\xe9.jpg");
    list.Remember("/books/5", 2, "q"); // read again: to the front, not twice
    const std::vector<std::string> expected = {"/books/5", bytes,      "/books/11", "/books/10", "/books/9",
                                               "/books/8", "/books/7", "/books/6",  "/books/4",  "/books/3"};
    EXPECT_EQ(Paths(list), expected);
    EXPECT_EQ(list.Find("/books/5", 0), nullptr) << "a book is one path of one kind";
    list.Save();
    reread.Load();
    EXPECT_EQ(Paths(reread), expected);
    EXPECT_EQ(reread.Find("/books/5", 2)->page, "q");
    EXPECT_EQ(reread.Find(bytes, 1)->page, bytes + "/\xe9t\xe9.jpg");
}

TEST_F(Store, DamagedRecentBooksAreSkippedOrOpenTheFirstPage) {
    const auto hex = [](const char* text) { return QString::fromLatin1(QByteArray(text).toHex()); };
    const QString book = "0:" + hex("/b") + ":";
    QStringList twelve;
    for (int i = 0; i < 12; ++i)
        twelve << "0:" + hex(std::to_string(i).c_str()) + ":";
    const std::tuple<const char*, QVariant, std::size_t, std::string> rows[] = {
        {"text that is no entry must be skipped", QStringList{"garbage"}, 0, ""},
        {"a kind that is no number must be skipped", QStringList{"x:" + hex("/b") + ":"}, 0, ""},
        {"a negative kind must be skipped", QStringList{"-1:" + hex("/b") + ":"}, 0, ""},
        {"an odd count of digits must be skipped", QStringList{"0:" + hex("/b") + "a:"}, 0, ""},
        {"a letter that is no digit must be skipped", QStringList{"0:2g:"}, 0, ""},
        {"an empty path must be skipped", QStringList{"0::" + hex("p7")}, 0, ""},
        {"an over-long path must be skipped", QStringList{"0:" + QString(20000, u'a') + ":"}, 0, ""},
        {"a page that does not read must open the first page", QStringList{book + "zz"}, 1, ""},
        {"an over-long page must open the first page", QStringList{book + QString(20000, u'a')}, 1, ""},
        {"a path stored twice must be kept once", QStringList{book + hex("p7"), "1" + book.mid(1)}, 1, "p7"},
        {"more than ten entries must give ten books", twelve, CRecentBooks::kMaxBooks, ""},
        {"a number is no list", QVariant(17), 0, ""}};
    for (const auto& [fault, stored, books, first] : rows) {
        OpenTavimoStore()->setValue("sRecentBooks", stored);
        CRecentBooks list;
        list.Load();
        ASSERT_EQ(list.Books().size(), books) << fault;
        EXPECT_EQ(books > 0 ? list.Books()[0].page : "", first) << fault;
    }
}

TEST_F(Store, TwoInstancesWritingRecentBooksInTurnKeepWhatEachRead) {
    CRecentBooks first, a, b, reread;
    first.Remember("/old", 0, "o");
    first.Remember("/gone", 0, "g");
    first.Save();
    a.Load();
    b.Load();
    a.Remember("/a", 0, "a1");
    a.Forget("/gone");
    a.Save();
    b.Remember("/b", 0, "b1");
    b.Remember("/old", 0, "o2");
    b.Save();
    reread.Load();
    EXPECT_EQ(Paths(reread), (std::vector<std::string>{"/old", "/b", "/a"}));
    EXPECT_EQ(reread.Find("/old", 0)->page, "o2") << "the later writer's page wins for its own book";
    b.Clear();
    b.Save();
    reread.Load();
    EXPECT_TRUE(reread.Books().empty()) << "clearing must empty the stored list too";
}

} // namespace
