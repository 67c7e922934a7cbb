// Names stored as raw bytes, shown as text: UTF-8, CP949 and bytes valid in neither.
#include "sources/NameEncoding.h"

#include <gtest/gtest.h>

namespace {

struct ShownName {
    const char* fault;
    std::string bytes;
    bool flaggedUtf8;
    std::string shown;
};

const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB";        // 한글
const std::string kReplacement = "\xEF\xBF\xBD";            // U+FFFD

TEST(NameEncodingTest, ShowsEachNameInTheEncodingItWasWrittenIn) {
    const ShownName rows[] = {
        {"ascii_changed", "vol1/001.jpg", false, "vol1/001.jpg"},
        {"flagged_utf8_not_kept", kHangulUtf8 + "/01.jpg", true, kHangulUtf8 + "/01.jpg"},
        {"unflagged_utf8_taken_for_cp949", kHangulUtf8 + ".jpg", false, kHangulUtf8 + ".jpg"},
        {"cp949_not_decoded", kHangulCp949 + "/" + kHangulCp949 + "01.jpg", false,
         kHangulUtf8 + "/" + kHangulUtf8 + "01.jpg"},
        // CP949's extension beyond EUC-KR: 똠 is 0x8C 0x63.
        {"cp949_extension_missing", "\x8C\x63.jpg", false, "\xEB\x98\xA0.jpg"},
        // The flag wins: C7 D1 B1 DB read as UTF-8 is a stray byte, U+0471 and a stray byte.
        {"flagged_name_decoded_as_cp949", kHangulCp949 + ".jpg", true,
         kReplacement + "\xD1\xB1" + kReplacement + ".jpg"},
        {"invalid_in_both_dropped", "\xFF\x80.jpg", false, kReplacement + kReplacement + ".jpg"},
        {"cp949_lead_at_end_lost", "a\xC7", false, "a" + kReplacement},
        {"overlong_utf8_accepted", "\xC0\xAF.jpg", true, kReplacement + kReplacement + ".jpg"},
        {"surrogate_accepted", "\xED\xA0\x80", true, kReplacement + kReplacement + kReplacement},
        {"empty_name_changed", "", false, ""},
    };
    for (const ShownName& row : rows)
        EXPECT_EQ(DisplayNameFromBytes(row.bytes, row.flaggedUtf8), row.shown) << row.fault;
}

TEST(NameEncodingTest, PathsOnDiskAreShownOneNameAtATime) {
    EXPECT_EQ(DisplayPathFromBytes("/home/" + kHangulUtf8 + "/" + kHangulCp949 + ".jpg"),
              "/home/" + kHangulUtf8 + "/" + kHangulUtf8 + ".jpg");
    EXPECT_EQ(DisplayPathFromBytes("/" + kHangulCp949 + "/"), "/" + kHangulUtf8 + "/");
}

TEST(NameEncodingTest, AnyBytesGiveValidUtf8OfBoundedLength) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    for (const bool flagged : {false, true}) {
        const std::string shown = DisplayNameFromBytes(every + every, flagged);
        EXPECT_TRUE(IsValidUtf8(shown)) << flagged;
        EXPECT_LE(shown.size(), 3 * 2 * every.size() + 3) << flagged;
    }
}

} // namespace
