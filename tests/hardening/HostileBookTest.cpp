// Hostile books through the real view: pictures that lie, end early or ask for too much, each
// in a folder, a ZIP and a PCO book, and ZIP, PCO, RAR, 7z and tar books whose own records
// are damaged. Each is refused with the program's message (the book open before stays as it
// was and readable), or opens and every page either shows (the part of the picture that
// decodes) or reports that it failed, and the view goes on. Nothing is ever written beside
// the book.
#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ToolArchives.h"
#include "ViewTestSupport.h"
#include "view/Messages.h"

#include <optional>
#include <random>
#include <string_view>
#include <zlib.h>

namespace {

using namespace viewtest;
using fixtures::Bytes;
using Writer = std::function<bool(const std::string& path)>;

// Appends each value little-endian in its width of bytes.
void Put(Bytes& out, std::initializer_list<std::uint64_t> values, std::initializer_list<int> widths) {
    for (std::size_t k = 0; k < values.size(); ++k)
        for (int i = 0; i < widths.begin()[k]; ++i)
            out.push_back(std::uint8_t(values.begin()[k] >> (8 * i)));
}

// A good 24 x 16 JPEG.
Bytes Jpeg(bool progressive = false) {
    return fixtures::EncodeJpeg(fixtures::ScanLikePage(24, 16, 3), 90, progressive);
}

Bytes Resized(Bytes bytes, std::size_t size, std::uint8_t fill = 0) {
    bytes.resize(size, fill);
    return bytes;
}

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// Where the marker FF `code` first stands (the encoder writes no FF in its tables).
Bytes::iterator Marker(Bytes& jpeg, std::uint8_t code) {
    const std::uint8_t marker[] = {0xFF, code};
    return std::search(jpeg.begin(), jpeg.end(), marker, marker + 2);
}

// The JPEG with its frame header (FF C0, length, precision, height, width) claiming a size.
Bytes JpegClaiming(int width, int height) {
    Bytes jpeg = Jpeg();
    std::copy_n(std::array{height >> 8, height, width >> 8, width}.begin(), 4, Marker(jpeg, 0xC0) + 5);
    return jpeg;
}

// The JPEG made progressive, its last scan (from its SOS marker to the end marker) repeated
// `count` times more. Entropy-coded data never holds FF DA: the search finds the marker.
Bytes JpegWithRepeatedLastScan(int count) {
    const Bytes progressive = Jpeg(true);
    const std::uint8_t scan[] = {0xFF, 0xDA};
    const auto end = progressive.end() - 2, last = std::find_end(progressive.begin(), end, scan, scan + 2);
    Bytes out(progressive.begin(), end);
    for (int i = 0; i < count; ++i)
        out.insert(out.end(), last, end);
    out.insert(out.end(), end, progressive.end());
    return out;
}

// The JPEG with its entropy-coded data after the first scan header replaced by noise.
Bytes JpegWithNoiseForData() {
    Bytes jpeg = Jpeg();
    std::mt19937 random(17);
    const auto scan = Marker(jpeg, 0xDA);
    std::generate(scan + 2 + (scan[2] << 8 | scan[3]), jpeg.end() - 2,
                  [&] { return std::uint8_t(random() % 0xFF); });
    return jpeg; // never 0xFF: no stray markers
}

// A BMP file header and info header as given (with a palette at 8 bits or fewer), then
// `pixelBytes` bytes of pixels.
struct BmpHead {
    std::int32_t width = 4, height = 4;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0, colorsUsed = 0, pixelOffset = 54;
};
// Headers of a size no BMP has, data past the file's end: Qt's reader answers with a 16384 x 1
// picture whose pixels it never wrote.
const Bytes kBmpOfNoKnownHeader = {
    0x42, 0x4d, 0x9e, 0x01, 0x00, 0xfb, 0x28, 0x00, 0x36, 0x00, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00,
    0x04, 0x0d, 0x00, 0x40, 0x01, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0xf8, 0xec, 0xf0, 0xf2, 0xeb, 0xef, 0xf1, 0x00
};

Bytes Bmp(const BmpHead& head, std::size_t pixelBytes) {
    const std::uint32_t palette = head.bitCount <= 8 ? 4u << head.bitCount : 0;
    Bytes bmp = {'B', 'M'};
    Put(bmp,
        {54 + palette + pixelBytes, 0, head.pixelOffset + (head.pixelOffset == 54 ? palette : 0), 40,
         std::uint32_t(head.width), std::uint32_t(head.height), 1, head.bitCount, head.compression,
         pixelBytes, 2835, 2835, head.colorsUsed, 0},
        {4, 4, 4, 4, 4, 4, 2, 2, 4, 4, 4, 4, 4, 4});
    for (std::size_t i = 0; i < palette + pixelBytes; ++i)
        bmp.push_back(std::uint8_t(i < palette ? i : (i - palette) * 7));
    return bmp;
}

// An 8-bit RLE BMP of 4 x 4: runs of 255 pixels, a delta jumping far ahead, more runs, no end.
Bytes BmpRleOverrun() {
    Bytes bmp = Bmp({.bitCount = 8, .compression = 1}, 0);
    for (int i = 0; i < 40; ++i)
        bmp.insert(bmp.end(), {255, std::uint8_t(i)});
    bmp.insert(bmp.end(), {0, 2, 250, 250, 255, 9, 0, 0});
    return bmp;
}

// A GIF of 4 colours whose logical screen holds one image (pixels 0, 1 and 2) at (left, top).
struct GifHead {
    std::uint16_t screenWidth = 4, screenHeight = 4, left = 0, top = 0, imageWidth = 4, imageHeight = 4;
    std::uint8_t lzwMinimumCodeSize = 2; // the usual value for 4 colours
    bool withImage = true;
};
Bytes Gif(const GifHead& head) {
    Bytes gif = Text("GIF89a");
    Put(gif, {head.screenWidth, head.screenHeight, 0xF1, 0}, {2, 2, 1, 2}); // a global table of 4 colours
    gif.insert(gif.end(), {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    if (head.withImage) {
        Put(gif, {0x2C, head.left, head.top, head.imageWidth, head.imageHeight, 0, head.lzwMinimumCodeSize},
            {1, 2, 2, 2, 2, 1, 1});
        gif.insert(gif.end(), {2, 0x44, 0x54, 0}); // one sub-block: clear, pixels 0, 1 and 2, end
    }
    gif.push_back(0x3B);
    return gif;
}

// A ZIP written field by field (stored entries only), so that its records may say anything:
// the size they declare, a zip64 field beside the plain sizes or instead of them (marked
// 0xFFFFFFFF), a local header offset moved by `shift`, the signature of the entry's central
// record (a damaged one ends the directory's walk there), the entry count and directory offset.
enum class Zip64 { No, Beside, Marked };
struct RawEntry {
    std::string name;
    Bytes data;
    std::uint16_t method = 0; // 0 stored; anything else is written as given
    std::optional<std::uint64_t> declaredSize = {};
    Zip64 zip64 = Zip64::No;
    std::int64_t shift = 0;
    std::uint32_t centralSignature = 0x02014b50;
};
Bytes RawZip(const std::vector<RawEntry>& entries, std::optional<std::uint16_t> count = {},
             std::optional<std::uint32_t> directoryOffset = {}) {
    Bytes out, directory;
    for (const RawEntry& e : entries) {
        const std::uint64_t offset = out.size() + std::uint64_t(e.shift), stored = e.data.size(),
                            declared = e.declaredSize.value_or(stored), marked = e.zip64 == Zip64::Marked;
        Bytes localExtra, centralExtra;
        if (e.zip64 != Zip64::No) {
            Put(localExtra, {0x0001, 16, declared, stored}, {2, 2, 8, 8});
            Put(centralExtra, {0x0001, 24, declared, stored, offset}, {2, 2, 8, 8, 8});
        }
        // What the local header and the central record share: version needed, flags, method,
        // time and date, CRC, sizes, name and extra field lengths.
        const auto common = [&](Bytes& to, const Bytes& extra) {
            Put(to,
                {e.zip64 == Zip64::No ? 20u : 45u, 0, e.method, 0, crc32(0, e.data.data(), uInt(stored)),
                 marked ? 0xFFFFFFFF : stored, marked ? 0xFFFFFFFF : declared, e.name.size(), extra.size()},
                {2, 2, 2, 4, 4, 4, 4, 2, 2});
        };
        Put(out, {0x04034b50}, {4});
        common(out, localExtra);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), localExtra.begin(), localExtra.end());
        out.insert(out.end(), e.data.begin(), e.data.end());
        Put(directory, {e.centralSignature, e.zip64 == Zip64::No ? 20u : 45u}, {4, 2}); // version made by
        common(directory, centralExtra);
        // Comment length, disk, internal and external attributes, local header offset.
        Put(directory, {0, 0, 0, 0, marked ? 0xFFFFFFFF : offset}, {2, 2, 2, 4, 4});
        directory.insert(directory.end(), e.name.begin(), e.name.end());
        directory.insert(directory.end(), centralExtra.begin(), centralExtra.end());
    }
    const std::uint64_t entryCount = count.value_or(std::uint16_t(entries.size())),
                        directoryStart = out.size();
    out.insert(out.end(), directory.begin(), directory.end());
    Put(out,
        {0x06054b50, 0, 0, entryCount, entryCount, directory.size(),
         directoryOffset.value_or(std::uint32_t(directoryStart)), 0},
        {4, 2, 2, 2, 2, 4, 4, 2});
    return out;
}

Writer Of(const Bytes& bytes) {
    return [bytes](const std::string& path) { return fixtures::WriteFile(path, bytes); };
}

bool CutInHalf(const std::string& path) {
    const Bytes bytes = fixtures::ReadBytes(path);
    return fixtures::WriteFile(path, Resized(bytes, bytes.size() / 2));
}

// Flips every `step`th byte of the file from `from` until `to`.
bool Flip(const std::string& path, std::size_t from, std::size_t to, std::size_t step) {
    Bytes bytes = fixtures::ReadBytes(path);
    for (std::size_t i = from; i < std::min(to, bytes.size()); i += step)
        bytes[i] ^= 0x5A;
    return fixtures::WriteFile(path, bytes);
}

// The items packed by the program with the arguments, then damaged.
Writer Packed(const char* program, std::vector<std::string> arguments, std::vector<fixtures::BookItem> items,
              Writer damage = {}) {
    return [=](const std::string& path) {
        return fixtures::PackWithTool(path + ".files", path, program, arguments, items) &&
               (!damage || damage(path));
    };
}

enum class Page { Shown, Fails }; // Shown: the picture, or the part of it that decodes
using Opener = void (CTavimoView::*)(const std::string& path);
const Opener kFolder = &CTavimoView::ScanFolder, kZip = &CTavimoView::OpenZip, kPco = &CTavimoView::OpenPco;
// RAR, 7z and tar books open as a book named on the command line.
const Opener kArchive = &CTavimoView::OpenCommandLinePath;

struct HostileBook {
    std::string name;
    Opener open;
    std::string file; // in the test's folder
    Writer write;
    const char* refusal; // the message, up to any argument, when the book is refused
    std::vector<Page> pages;
};

std::vector<HostileBook> HostileBooks() {
    using P = const std::string&;
    using fixtures::PcoBytes, fixtures::PatternBytes;
    const Page S = Page::Shown, F = Page::Fails;
    const Bytes jpeg = Jpeg();
    // clang-format off
    const std::tuple<const char*, const char*, Bytes, Page> pictures[] = {
        {"EmptyJpeg", ".jpg", {}, F},
        {"JpegOfStartMarkerOnly", ".jpg", Resized(jpeg, 3), F},
        {"JpegEndingBeforeItsScan", ".jpg", Resized(jpeg, 200), F},
        {"JpegEndingInItsScan", ".jpg", Resized(jpeg, jpeg.size() - 150), S},
        {"JpegClaiming65535Square", ".jpg", JpegClaiming(65535, 65535), F},
        {"JpegClaimingZeroWidth", ".jpg", JpegClaiming(0, 16), F},
        {"JpegClaiming30000SquareInAFewBytes", ".jpg", JpegClaiming(30000, 30000), F},
        {"JpegClaimingFarMoreRowsThanItHolds", ".jpg", JpegClaiming(24, 30000), S},
        {"ProgressiveJpegOfThreeThousandScans", ".jpg", JpegWithRepeatedLastScan(3000), F},
        {"JpegWithNoiseForItsData", ".jpg", JpegWithNoiseForData(), S},
        {"JpegOfStartAndEndMarkers", ".jpg", {0xFF, 0xD8, 0xFF, 0xD9}, F},
        {"JpegSegmentRunningPastTheEnd", ".jpg", Resized({0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0}, 70, 0x41), F},
        {"PngNamedJpeg", ".jpg", fixtures::EncodeWithImageMagick(fixtures::ScanLikePage(4, 4), "PNG"), F},
        {"TextNamedJpeg", ".jpg", Text("hello"), F},
        {"JpegNamedBmp", ".bmp", jpeg, S},
        {"BmpOfSignatureOnly", ".bmp", {'B', 'M'}, F},
        {"BmpClaimingInt32MaxWidth", ".bmp", Bmp({.width = INT32_MAX, .height = 1}, 16), F},
        {"BmpClaimingInt32MinHeight", ".bmp", Bmp({.height = INT32_MIN}, 16), F},
        {"BmpClaiming30000Square", ".bmp", Bmp({.width = 30000, .height = 30000}, 64), F},
        {"BmpOfNoKnownHeaderSize", ".bmp", kBmpOfNoKnownHeader, F},
        {"BmpWithPixelsSaidToStartInsideItsHeaders", ".bmp", Bmp({.width = 3, .height = 40, .pixelOffset = 0}, 400), F},
        {"BmpClaiming4000SquareWithFewBytes", ".bmp", Bmp({.width = 4000, .height = 4000}, 100), S},
        {"BmpWithPixelsPastTheEnd", ".bmp", Bmp({.pixelOffset = 1u << 30}, 48), S},
        {"BmpWithSevenBitsPerPixel", ".bmp", Bmp({.bitCount = 7}, 48), F},
        {"BmpWithFourBillionColours", ".bmp", Bmp({.bitCount = 8, .colorsUsed = 0xFFFFFFFF}, 16), F},
        {"BmpWithPixelsCutShort", ".bmp", Bmp({}, 20), S},
        {"BmpRunLengthsWritingPastThePicture", ".bmp", BmpRleOverrun(), S},
        {"GifOfSignatureOnly", ".gif", Text("GIF89a"), F},
        {"GifWith65535SquareScreen", ".gif", Gif({.screenWidth = 65535, .screenHeight = 65535}), F},
        {"GifImageFarLargerThanItsScreen", ".gif", Gif({.imageWidth = 65535, .imageHeight = 65535}), S},
        {"GifImagePlacedOffItsScreen", ".gif", Gif({.left = 60000, .top = 60000}), S},
        {"GifWithCodeSizeTwelve", ".gif", Gif({.lzwMinimumCodeSize = 12}), S},
        {"GifWithoutAnImage", ".gif", Gif({.withImage = false}), F},
        {"GifEndingAfterItsScreen", ".gif", Resized(Gif({}), 13), F},
    };
    // clang-format on
    std::vector<HostileBook> books;
    // Each picture between two good pages, in a folder, a ZIP (the last page stored) and a PCO.
    for (const auto& [name, extension, picture, page] : pictures) {
        const std::string bad = "b" + std::string(extension), title = name;
        const Bytes bytes = picture;
        const Writer folder = [=](P p) {
            return fixtures::WriteFilesByByteName(p, {{"a.jpg", jpeg}, {bad, bytes}, {"c.jpg", jpeg}});
        };
        const Writer zip = [=](P p) {
            return fixtures::WriteZip(p, {{"a.jpg", jpeg}, {bad, bytes}, {"c.jpg", jpeg, false}});
        };
        books.push_back({title + "InFolder", kFolder, "pictures", folder, nullptr, {S, page, S}});
        books.push_back({title + "InZip", kZip, "pictures.zip", zip, nullptr, {S, page, S}});
        const Writer pco = Of(fixtures::PcoBook("b", {jpeg, bytes, jpeg}));
        books.push_back({title + "InPco", kPco, "pictures.pco", pco, nullptr, {S, page, S}});
    }
    const auto zip = [&](const char* name, Writer write, std::vector<Page> pages, bool refused = false) {
        books.push_back({name, kZip, "book.zip", write, refused ? viewtext::kZipCannotOpen : nullptr, pages});
    };
    // Three good pages a.jpg, b.jpg and c.jpg, the second's records as `b` says.
    const auto three = [&](RawEntry b) {
        b.name = "b.jpg";
        b.data = jpeg;
        return RawZip({{"a.jpg", jpeg}, b, {"c.jpg", jpeg}});
    };
    const Bytes good = three({}); // its last 22 bytes are the end record, which has no comment
    const auto bmpWithDamagedDeflate = [](P p) {
        return fixtures::WriteZip(p, {{"a.bmp", fixtures::EncodeBmp(fixtures::ScanLikePage(64, 64))}}) &&
               Flip(p, 40, 60, 1);
    };
    // clang-format off
    zip("EmptyZip", Of({}), {}, true);
    zip("TextNamedZip", Of(Text("not zip")), {}, true);
    zip("ZipWithoutItsEndRecord", Of(Resized(good, good.size() - 22)), {}, true);
    zip("ZipCutInHalf", Of(Resized(good, good.size() / 2)), {}, true);
    zip("ZipWithADamagedDirectoryRecord", Of(three({.centralSignature = 0xDEADBEEF})), {S});
    zip("ZipWithItsDirectoryPastTheEnd", Of(RawZip({{"a.jpg", jpeg}}, {}, 0xFFFFFF00)), {}, true);
    zip("ZipCounting65535EntriesOfTwo", Of(RawZip({{"a.jpg", jpeg}, {"b.jpg", jpeg}}, 65535)), {S, S});
    zip("ZipEntryDeclaring4GiB", Of(RawZip({{"a.jpg", jpeg}, {"b.jpg", jpeg, 0, 1ull << 32, Zip64::Marked}, {"c.jpg", jpeg}})), {S, F, S});
    zip("ZipEntryDeclaringAllOnesSize", Of(three({.declaredSize = 0xFFFFFFFF})), {S, F, S});
    zip("ZipEntryDeclaringMoreThanItHolds", Of(three({.declaredSize = 1u << 20})), {S, F, S});
    zip("ZipEntryDeclaringLessThanItHolds", Of(three({.declaredSize = 100})), {S, F, S});
    // A good picture that the zeros follow would decode: only the size limit refuses it.
    zip("ZipBombOf300MiBBehindAGoodPicture", [=](P p) { return fixtures::WriteZipOfZeros(p, "b.jpg", 300 << 20, jpeg); }, {F});
    zip("ZipOf200MiBOfZeros", [](P p) { return fixtures::WriteZipOfZeros(p, "z.jpg", 200 << 20); }, {F});
    zip("ZipEntryNameOf300Bytes", Of(RawZip({{std::string(296, 'n') + ".jpg", jpeg}})), {S});
    zip("Zip64ExtraFieldsBesidePlainSizes", Of(RawZip({{"a.jpg", jpeg, 0, {}, Zip64::Beside}, {"b.jpg", jpeg, 0, {}, Zip64::Beside}})), {S, S});
    // The system's unzip library (minizip 1.1) does not take an entry's sizes and offset from
    // its zip64 field when the plain fields are marked 0xFFFFFFFF: such an entry cannot be
    // read, and fails cleanly.
    zip("Zip64EntriesOfMarkedSizes", Of(RawZip({{"a.jpg", jpeg, 0, {}, Zip64::Marked}, {"b.jpg", jpeg}})), {F, S});
    zip("ZipEntryOfUnknownMethod", Of(RawZip({{"a.jpg", jpeg, 99}, {"b.jpg", jpeg}})), {F, S});
    zip("ZipEntryWhoseLocalHeaderIsPastTheEnd", Of(RawZip({{"a.jpg", jpeg, 0, {}, Zip64::No, 1 << 24}, {"b.jpg", jpeg}})), {F, S});
    zip("ZipEntryOfNoBytes", Of(RawZip({{"a.jpg", {}}, {"b.jpg", jpeg}})), {F, S});
    zip("ZipEntryWithDamagedDeflateData", bmpWithDamagedDeflate, {F});
    zip("ZipOfFoldersAndTextOnly", [](P p) { return fixtures::WriteZip(p, {{"d/", {}}, {"d/a.txt", {'a'}}}); }, {});
    zip("ZipOfOneGoodPage", [=](P p) { return fixtures::WriteZip(p, {{"a.jpg", jpeg}}); }, {S});
    // clang-format on
    const auto pco = [&](const char* name, Bytes bytes, std::vector<Page> pages, bool refused) {
        books.push_back(
            {name, kPco, "book.pco", Of(bytes), refused ? viewtext::kPcoCannotOpen : nullptr, pages});
    };
    // A good page, then a record at `offset` of `size` bytes.
    const auto withPage = [&](std::int32_t offset, std::int32_t size) {
        return PcoBytes("t", 2, {{0, std::int32_t(jpeg.size())}, {offset, size}}, jpeg);
    };
    // clang-format off
    pco("EmptyPco", {}, {}, true);
    pco("PcoOfNineBytes", PcoBytes("", 0, {}, {}), {}, true);
    pco("PcoCounting600", PcoBytes("t", 600, {}, PatternBytes(64, 1)), {}, true);
    pco("PcoCountingInt32Max", PcoBytes("t", INT32_MAX, {}, PatternBytes(64, 2)), {}, true);
    pco("PcoCountingMinusOne", PcoBytes("t", -1, {}, PatternBytes(64, 3)), {}, false);
    pco("PcoCountingInt32Min", PcoBytes("t", INT32_MIN, {}, PatternBytes(64, 4)), {}, false);
    pco("PcoTitleLength255", PcoBytes(std::string(255, 'T'), 1, {{0, 4}}, PatternBytes(64, 5)), {}, true);
    pco("PcoTitleLength101", PcoBytes(std::string(101, 'T'), 1, {{0, 4}}, PatternBytes(64, 6)), {}, true);
    pco("PcoRecordsPastTheEnd", PcoBytes("t", 5, {{0, 100}}, {}), {F, F, F, F, F}, false);
    pco("PcoPagePastTheEnd", withPage(1 << 20, 100), {S, F}, false);
    pco("PcoPageRunningPastTheEnd", withPage(0, 1 << 20), {S, F}, false);
    pco("PcoPageAtANegativeOffset", withPage(-1000, 100), {S, F}, false);
    pco("PcoPageOfNegativeSize", withPage(0, -100), {S, F}, false);
    pco("PcoPageWhoseEndOverflows", withPage(INT32_MAX - 10, INT32_MAX), {S, F}, false);
    pco("PcoPageOfInt32MaxBytes", withPage(0, INT32_MAX), {S, F}, false);
    pco("PcoPageOfNoBytes", withPage(0, 0), {S, F}, false);
    // clang-format on
    const auto archive = [&](const char* name, const char* file, Writer write, const char* message,
                             std::vector<Page> pages = {}) {
        books.push_back({name, kArchive, file, write, message, pages});
    };
    std::vector<fixtures::BookItem> numbered;
    for (int i = 0; i < 3; ++i)
        numbered.push_back({std::to_string(i) + ".jpg", JpegPage(NumberedPicture(i))});
    const auto sevenZip = [&](std::vector<std::string> arguments, Writer damage = {}) {
        return Packed("7zz", arguments, numbered, damage);
    };
    const auto manyEntries = [](P p) {
        std::vector<fixtures::TarMember> many(100000);
        for (std::size_t i = 0; i < many.size(); ++i)
            many[i].name = "e" + std::to_string(i) + ".txt";
        return fixtures::WriteFile(p, fixtures::TarBytes(many));
    };
    const auto tooLarge = [](P p) { // made only when written: the page is a quarter of the memory limit
        return Packed("7zz", {"a", "-bd"}, {{"a.jpg", Bytes(kMaxArchiveEntrySize + 1)}})(p);
    };
    // Names that climb out of the book or start at the root are only names: each page shows.
    const Bytes escaping =
        fixtures::TarBytes({{"../../escaped.jpg", jpeg}, {"/tmp/absolute.jpg", Jpeg(true)}});
    const char *encrypted = viewtext::kArchiveEncrypted, *cannotOpen = viewtext::kArchiveCannotOpen;
    // clang-format off
    archive("EncryptedEntriesSayTheBookIsEncrypted", "locked.cb7", sevenZip({"a", "-bd", "-psecret"}), encrypted);
    archive("EncryptedNamesSayTheBookIsEncrypted", "hidden.7z", sevenZip({"a", "-bd", "-psecret", "-mhe=on"}), encrypted);
    archive("TruncatedSevenZip", "cut.cb7", sevenZip({"a", "-bd"}, CutInHalf), cannotOpen);
    archive("CorruptSevenZip", "noise.7z", sevenZip({"a", "-bd"}, [](P p) { return Flip(p, 40, SIZE_MAX, 7); }), cannotOpen);
    archive("TruncatedGzipTar", "cut.tar.gz", Packed("bsdtar", {"-czf"}, {{"a.jpg", PatternBytes(200000, 3)}}, CutInHalf), cannotOpen);
    archive("EntryDeclaringTerabytes", "huge.cbt", Of(fixtures::TarBytes({{"a.jpg", jpeg, '0', "", 1ll << 42}})), cannotOpen);
    archive("HundredThousandEntries", "many.tar", manyEntries, viewtext::kArchiveTooManyEntries);
    archive("TextFileNamedCbr", "notes.cbr", Of(Text("just a letter, not a book\n")), viewtext::kArchiveUnknown);
    archive("LinksAndDevicesAreNoPages", "links.cbt", Of(fixtures::TarBytes({{"hard.jpg", {}, '1', "/etc/passwd"}, {"soft.jpg", {}, '2', "/etc/passwd"}, {"tty.jpg", {}, '3'}})), nullptr);
    archive("PageDeclaringMoreThanTheEntryLimitFailsUnread", "big.7z", tooLarge, nullptr, {F});
    archive("NamesClimbingOutOfTheBookAreOnlyNames", "escape.tar", Of(escaping), nullptr, {S, S});
    // clang-format on
    return books;
}

class HostileBookTest : public ViewTest, public ::testing::WithParamInterface<HostileBook> {};

TEST_P(HostileBookTest, IsRefusedOrShowsWhatDecodesAndTheViewStaysReadable) {
    const HostileBook& book = GetParam();
    OpenBook(3);
    ASSERT_TRUE(m_view->TurnPage(true));
    ASSERT_TRUE(book.write(TempPath(book.file)));
    const auto files = [&] { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
    const QStringList before = files();
    m_messages.clear();
    (m_view.get()->*book.open)(TempPath(book.file));
    if (book.refusal) {
        const QString refusal = QString::fromUtf8(book.refusal);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(LastMessage().left(refusal.contains('%') ? refusal.indexOf('%') : -1),
                  refusal.section('%', 0, 0));
        EXPECT_TRUE(m_view->m_pageList == m_pages && m_view->m_itCurPage == 1u &&
                    m_view->m_sourceKind == SOURCE_FOLDER)
            << "the book open before was left";
    } else {
        // Turned through with the plain scaler, then again with fit and smoothing, where each
        // turn streams its page: read in parts while it decodes.
        for (const bool streamed : {false, true}) {
            SCOPED_TRACE(streamed ? "streamed" : "plain");
            if (streamed) {
                SetSwitches("i");
                m_messages.clear();
                (m_view.get()->*book.open)(TempPath(book.file));
            }
            ASSERT_EQ(m_view->m_pageList.size(), book.pages.size());
            EXPECT_TRUE(!book.pages.empty() || m_messages.empty()) << LastMessage().toStdString();
            for (std::size_t i = 0; i < book.pages.size(); ++i) {
                SCOPED_TRACE("page " + std::to_string(i));
                if (i > 0) {
                    m_messages.clear();
                    m_view->TurnPage(true);
                }
                ASSERT_EQ(m_view->m_itCurPage, i);
                const std::vector<QString> failed{QString::fromUtf8(viewtext::kOpenFailed)};
                EXPECT_EQ(Texts(), book.pages[i] == Page::Fails ? failed : std::vector<QString>{});
                CDib surface;
                EXPECT_TRUE(book.pages[i] == Page::Fails ||
                            (m_view->LoadPage(&surface, m_view->m_pageList[i]) && surface.GetWidth() > 0));
            }
        }
        SetPlainSwitches();
        m_view->ScanFolder(TempPath("book")); // the good book opens again after the hostile one
    }
    EXPECT_EQ(files(), before) << "written beside the book";
    // Every page of the good book loads, and the view turns to its last one.
    for (const std::string& page : m_pages) {
        CDib surface;
        EXPECT_TRUE(m_view->LoadPage(&surface, page)) << page;
    }
    m_messages.clear();
    m_view->ShowLastPage();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(CurrentWidth(), NumberedPicture(2).width);
}

INSTANTIATE_TEST_SUITE_P(HostileBooks, HostileBookTest, ::testing::ValuesIn(HostileBooks()),
                         [](const auto& info) { return info.param.name; });

} // namespace
