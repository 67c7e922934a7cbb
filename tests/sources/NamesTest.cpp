// Which names are pages, how they are ordered, how stored bytes are shown as text, and the
// file helpers.
#include "ImageFixtures.h"
#include "sources/NameEncoding.h"
#include "sources/PageNames.h"

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;
const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB";        // 한글
const std::string kReplacement = "\xEF\xBF\xBD";            // U+FFFD

TEST(PageNames, AreFiveExtensionsInAnyCaseFromTheLastDotOrderedBytewiseCaseBlindAndStrict) {
    for (const char* name : {"Scan.JPG", "a.Jpeg", "x.jpe", "c.gif", "y.BmP", ".jpg", "book.tar.gif"})
        EXPECT_TRUE(IsImageFileName(name)) << name;
    for (const char* name : {"b.png", "jpg", "a.jpg.txt", "a.jp", "a.jpgx", "", "photo.jpeg "})
        EXPECT_FALSE(IsImageFileName(name)) << '"' << name << '"';
    EXPECT_EQ(AsciiLower("ÄBc사"), "Äbc사") << "only ASCII is lowered";
    const std::tuple<const char*, Names, Names> rows[] = {
        {"numbers_compared_by_value", {"10.jpg", "2.jpg", "9.jpg"}, {"10.jpg", "2.jpg", "9.jpg"}},
        {"dot_sorted_after_digits", {"a1.jpg", "a.jpg"}, {"a.jpg", "a1.jpg"}},
        {"folder_not_compared_first", {"b/1.jpg", "a/2.jpg"}, {"a/2.jpg", "b/1.jpg"}},
        {"case_compared", {"Scan.JPG", "c.gif", "a.Jpeg"}, {"a.Jpeg", "c.gif", "Scan.JPG"}},
        {"bytes_compared_signed", {"\xEC\x82\xAC.jpg", "z.jpg"}, {"z.jpg", "\xEC\x82\xAC.jpg"}},
        {"prefix_not_first", {"a.jpg", "a"}, {"a", "a.jpg"}}};
    for (auto [fault, names, expected] : rows) {
        std::sort(names.begin(), names.end(), PageNameLess);
        EXPECT_EQ(names, expected) << fault;
    }
    EXPECT_NE(PageNameLess("A.jpg", "a.jpg"), PageNameLess("a.jpg", "A.jpg")) << "case-only twins unordered";
    EXPECT_FALSE(PageNameLess("a.jpg", "a.jpg"));
}

TEST(PageNames, PathsJoinWithOneSeparatorAndLengthsSaturateBeyondTwoGibibytes) {
    for (const auto& [folder, name] :
         {std::pair{"/books", "x.jpg"}, {"/books/", "x.jpg"}, {"/books", "/x.jpg"}})
        EXPECT_EQ(JoinPath(folder, name), "/books/x.jpg");
    EXPECT_EQ(JoinPath("/", "x.jpg"), "/x.jpg");
    QTemporaryDir dir;
    const std::string file = dir.filePath("Scan.JPG").toStdString(), empty = dir.filePath("e").toStdString();
    ASSERT_TRUE(fixtures::WriteFile(file, fixtures::Bytes(10, 7)) && fixtures::WriteFile(empty, {}));
    EXPECT_TRUE(IsFile(file) && !IsDirectory(file) && IsDirectory(dir.path().toStdString()));
    const std::tuple<const char*, std::string, std::int32_t> lengths[] = {
        {"length_wrong", file, 10},
        {"name_matched_in_any_case", dir.filePath("scan.jpg").toStdString(), -1},
        {"folder_given_a_length", dir.path().toStdString(), -1},
        {"empty_file_failed", empty, 0}};
    for (const auto& [fault, path, length] : lengths)
        EXPECT_EQ(GetFileLength(path), length) << fault;
    if (geteuid() != 0) { // permissions do not bind the superuser
        std::filesystem::permissions(empty, std::filesystem::perms::none);
        EXPECT_EQ(GetFileLength(empty), -1) << "an unreadable file";
    }
    // Sparse files: 3 GiB would read as negative if cast, 4 GiB + 10 as 10 if cut to 32 bits.
    for (const std::uint64_t size : {std::uint64_t{3} << 30, (std::uint64_t{1} << 32) + 10}) {
        std::error_code error;
        std::filesystem::resize_file(file, size, error);
        if (error)
            GTEST_SKIP() << "this file system cannot hold a sparse file of " << size << " bytes";
        EXPECT_EQ(GetFileLength(file), std::numeric_limits<std::int32_t>::max()) << size;
    }
}

TEST(NameEncoding, ShowsEachNameInTheEncodingItWasWrittenIn) {
    const std::tuple<const char*, std::string, bool, std::string> rows[] = {
        {"ascii_changed", "vol1/001.jpg", false, "vol1/001.jpg"},
        {"flagged_utf8_not_kept", kHangulUtf8 + "/01.jpg", true, kHangulUtf8 + "/01.jpg"},
        {"unflagged_utf8_taken_for_cp949", kHangulUtf8 + ".jpg", false, kHangulUtf8 + ".jpg"},
        {"cp949_not_decoded", kHangulCp949 + "/" + kHangulCp949 + "01.jpg", false,
         kHangulUtf8 + "/" + kHangulUtf8 + "01.jpg"},
        {"cp949_extension_missing", "\x8C\x63.jpg", false, "\xEB\x98\xA0.jpg"}, // 똠
        // The flag wins: C7 D1 B1 DB read as UTF-8 is a stray byte, U+0471 and a stray byte.
        {"flagged_name_decoded_as_cp949", kHangulCp949 + ".jpg", true,
         kReplacement + "\xD1\xB1" + kReplacement + ".jpg"},
        {"invalid_in_both_dropped", "\xFF\x80.jpg", false, kReplacement + kReplacement + ".jpg"},
        {"cp949_lead_at_end_lost", "a\xC7", false, "a" + kReplacement},
        {"overlong_utf8_accepted", "\xC0\xAF.jpg", true, kReplacement + kReplacement + ".jpg"},
        {"surrogate_accepted", "\xED\xA0\x80", true, kReplacement + kReplacement + kReplacement},
        {"empty_name_changed", "", false, ""}};
    for (const auto& [fault, bytes, flagged, shown] : rows)
        EXPECT_EQ(DisplayNameFromBytes(bytes, flagged), shown) << fault;
    EXPECT_EQ(DisplayPathFromBytes("/home/" + kHangulUtf8 + "/" + kHangulCp949 + "/"),
              "/home/" + kHangulUtf8 + "/" + kHangulUtf8 + "/")
        << "each name of a path in its own encoding";
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    for (const bool flagged : {false, true}) {
        const std::string shown = DisplayNameFromBytes(every + every, flagged);
        EXPECT_TRUE(IsValidUtf8(shown) && shown.size() <= 3 * 2 * every.size() + 3) << flagged;
    }
}

} // namespace
