#include "HostileBooks.h"

#include "ArchiveFixtures.h"
#include "HostilePictures.h"
#include "ImageFixtures.h"
#include "RawZip.h"
#include "view/Messages.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <limits>

namespace hostile {

namespace {

using fixtures::Bytes;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

bool Write(const std::string& path, const Bytes& bytes)
{
    return fixtures::WriteFile(path, bytes);
}

Bytes Png()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Bytes(bytes.begin(), bytes.end());
}

struct HostilePicture {
    std::string name;
    std::string extension;
    std::function<Bytes()> bytes;
    Page page;
};

std::vector<HostilePicture> HostilePictures()
{
    const auto bmp = [](BmpHead head, std::size_t pixels) { return [=] { return Bmp(head, pixels); }; };
    const auto gif = [](GifHead head) { return [=] { return Gif(head); }; };
    return {
        {"EmptyJpeg", ".jpg", [] { return Bytes{}; }, Page::Fails},
        {"JpegOfStartMarkerOnly", ".jpg", [] { return Truncated(SmallJpeg(), 3); }, Page::Fails},
        {"JpegEndingBeforeItsScan", ".jpg", [] { return Truncated(SmallJpeg(), 200); }, Page::Fails},
        {"JpegEndingInItsScan", ".jpg", [] { const Bytes j = SmallJpeg(); return Truncated(j, j.size() - 150); }, Page::Shown},
        {"JpegClaiming65535Square", ".jpg", [] { return JpegClaimingSize(65535, 65535); }, Page::Fails},
        {"JpegClaimingZeroWidth", ".jpg", [] { return JpegClaimingSize(0, 16); }, Page::Fails},
        {"JpegClaimingFarMoreRowsThanItHolds", ".jpg", [] { return JpegClaimingSize(24, 30000); }, Page::Shown},
        {"ProgressiveJpegOfThreeThousandScans", ".jpg", [] { return JpegWithScans(3000); }, Page::Fails},
        {"JpegWithNoiseForItsData", ".jpg", JpegWithNoiseForData, Page::Shown},
        {"JpegOfStartAndEndMarkers", ".jpg", [] { return Bytes{0xFF, 0xD8, 0xFF, 0xD9}; }, Page::Fails},
        {"JpegSegmentRunningPastTheEnd", ".jpg", [] { Bytes j{0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0}; j.resize(70, 0x41); return j; }, Page::Fails},
        {"PngNamedJpeg", ".jpg", Png, Page::Fails},
        {"TextNamedJpeg", ".jpg", [] { return Bytes{'h', 'e', 'l', 'l', 'o'}; }, Page::Fails},
        {"JpegNamedBmp", ".bmp", SmallJpeg, Page::Shown},
        {"BmpOfSignatureOnly", ".bmp", [] { return Bytes{'B', 'M'}; }, Page::Fails},
        {"BmpClaimingInt32MaxWidth", ".bmp", bmp({.width = kInt32Max, .height = 1}, 16), Page::Fails},
        {"BmpClaimingInt32MinHeight", ".bmp", bmp({.height = kInt32Min}, 16), Page::Fails},
        {"BmpClaiming30000Square", ".bmp", bmp({.width = 30000, .height = 30000}, 64), Page::Fails},
        {"BmpClaiming4000SquareWithFewBytes", ".bmp", bmp({.width = 4000, .height = 4000}, 100), Page::Shown},
        {"BmpWithPixelsPastTheEnd", ".bmp", bmp({.pixelOffset = 1u << 30}, 48), Page::Shown},
        {"BmpWithSevenBitsPerPixel", ".bmp", bmp({.bitCount = 7}, 48), Page::Fails},
        {"BmpWithFourBillionColours", ".bmp", bmp({.bitCount = 8, .colorsUsed = 0xFFFFFFFF}, 16), Page::Fails},
        {"BmpWithPixelsCutShort", ".bmp", bmp({}, 20), Page::Shown},
        {"BmpRunLengthsWritingPastThePicture", ".bmp", BmpRleOverrun, Page::Shown},
        {"GifOfSignatureOnly", ".gif", [] { return Bytes{'G', 'I', 'F', '8', '9', 'a'}; }, Page::Fails},
        {"GifWith65535SquareScreen", ".gif", gif({.screenWidth = 65535, .screenHeight = 65535}), Page::Fails},
        {"GifImageFarLargerThanItsScreen", ".gif", gif({.imageWidth = 65535, .imageHeight = 65535}), Page::Shown},
        {"GifImagePlacedOffItsScreen", ".gif", gif({.left = 60000, .top = 60000}), Page::Shown},
        {"GifWithCodeSizeTwelve", ".gif", gif({.lzwMinimumCodeSize = 12}), Page::Shown},
        {"GifWithoutAnImage", ".gif", gif({.withImage = false}), Page::Fails},
        {"GifEndingAfterItsScreen", ".gif", [] { return Truncated(Gif({}), 13); }, Page::Fails},
    };
}

// A good page, the hostile picture, a good page.
HostileBook PictureBook(const HostilePicture& picture, Container container)
{
    const std::vector<Page> pages{Page::Shown, picture.page, Page::Shown};
    const char* suffix[] = {"InFolder", "InZip", "InPco"};
    HostileBook book{picture.name + suffix[static_cast<int>(container)], container, nullptr, {}, pages};
    book.write = [picture, container](const std::string& folder) {
        const Bytes good = SmallJpeg(), bad = picture.bytes();
        const std::string badName = "b" + picture.extension;
        switch (container) {
        case Container::Folder: {
            const std::string book = folder + "/pictures";
            QDir().mkpath(QString::fromStdString(book));
            Write(book + "/a.jpg", good);
            Write(book + "/" + badName, bad);
            Write(book + "/c.jpg", good);
            return book;
        }
        case Container::Zip: {
            const std::string path = folder + "/pictures.zip";
            fixtures::WriteZip(path, {{"a.jpg", good, true}, {badName, bad, true}, {"c.jpg", good, false}});
            return path;
        }
        case Container::Pco: {
            const std::string path = folder + "/pictures.pco";
            Write(path, fixtures::PcoBook("book", {good, bad, good}));
            return path;
        }
        }
        return std::string();
    };
    return book;
}

// A ZIP or PCO book that `write` makes at the path it is given.
HostileBook Book(std::string name, Container container, std::function<void(const std::string& path)> write,
                 std::vector<Page> pages, QString refusal)
{
    const std::string file = container == Container::Zip ? "/book.zip" : "/book.pco";
    return {std::move(name), container,
            [write, file](const std::string& folder) {
                write(folder + file);
                return folder + file;
            },
            std::move(refusal), std::move(pages)};
}

HostileBook Zip(std::string name, std::function<void(const std::string& path)> write, std::vector<Page> pages,
                QString refusal = {})
{
    return Book(std::move(name), Container::Zip, std::move(write), std::move(pages), std::move(refusal));
}

HostileBook Pco(std::string name, std::function<Bytes()> bytes, std::vector<Page> pages, bool refused)
{
    return Book(std::move(name), Container::Pco, [bytes](const std::string& path) { Write(path, bytes()); },
                std::move(pages), refused ? QString::fromUtf8(viewtext::kPcoCannotOpen) : QString());
}

// A ZIP of three good pages a.jpg, b.jpg and c.jpg, then damaged by `damage`.
std::function<void(const std::string&)> GoodZipThen(std::function<void(const std::string&)> damage)
{
    return [damage](const std::string& path) {
        const Bytes good = SmallJpeg();
        fixtures::WriteZip(path, {{"a.jpg", good, true}, {"b.jpg", good, true}, {"c.jpg", good, true}});
        damage(path);
    };
}

std::function<void(const std::string&)> RawZipOf(std::function<void(RawZip&)> fill)
{
    return [fill](const std::string& path) {
        RawZip zip;
        fill(zip);
        Write(path, zip.Bytes());
    };
}

std::vector<HostileBook> HostileZips()
{
    const QString cannotOpen = QString::fromUtf8(viewtext::kZipCannotOpen);
    const Page S = Page::Shown, F = Page::Fails;
    return {
        Zip("EmptyZip", [](const std::string& p) { Write(p, {}); }, {}, cannotOpen),
        Zip("TextNamedZip", [](const std::string& p) { Write(p, {'n', 'o', 't', ' ', 'z', 'i', 'p'}); }, {}, cannotOpen),
        Zip("ZipWithoutItsEndRecord", GoodZipThen([](const std::string& p) { fixtures::DamageZipEndRecord(p); }), {}, cannotOpen),
        Zip("ZipCutInHalf", GoodZipThen([](const std::string& p) { fixtures::TruncateFile(p, fixtures::ReadBytes(p).size() / 2); }), {}, cannotOpen),
        Zip("ZipWithADamagedDirectoryRecord", GoodZipThen([](const std::string& p) { fixtures::DamageZipDirectoryRecord(p, "b.jpg"); }), {S}),
        Zip("ZipWithItsDirectoryPastTheEnd", RawZipOf([](RawZip& z) { z.Add({"a.jpg", SmallJpeg()}); z.declaredDirectoryOffset = 0xFFFFFF00; }), {}, cannotOpen),
        Zip("ZipCounting65535EntriesOfTwo", RawZipOf([](RawZip& z) { z.Add({"a.jpg", SmallJpeg()}); z.Add({"b.jpg", SmallJpeg()}); z.declaredEntryCount = 65535; }), {S, S}),
        Zip("ZipEntryDeclaring4GiB", RawZipOf([](RawZip& z) {
                z.Add({"a.jpg", SmallJpeg()});
                z.Add({"b.jpg", SmallJpeg(), 0, 1ull << 32, RawZip::Zip64::Marked});
                z.Add({"c.jpg", SmallJpeg()});
            }), {S, F, S}),
        Zip("ZipEntryDeclaringAllOnesSize", GoodZipThen([](const std::string& p) { fixtures::SetZipDeclaredSize(p, "b.jpg", 0xFFFFFFFF); }), {S, F, S}),
        Zip("ZipEntryDeclaringMoreThanItHolds", GoodZipThen([](const std::string& p) { fixtures::SetZipDeclaredSize(p, "b.jpg", 1u << 20); }), {S, F, S}),
        Zip("ZipEntryDeclaringLessThanItHolds", GoodZipThen([](const std::string& p) { fixtures::SetZipDeclaredSize(p, "b.jpg", 100); }), {S, F, S}),
        // A good picture that the zeros follow would decode: only the size limit refuses it.
        Zip("ZipBombOf300MiBBehindAGoodPicture", [](const std::string& p) { fixtures::WriteZipOfZeros(p, "bomb.jpg", 300ull << 20, SmallJpeg()); }, {F}),
        Zip("ZipOf200MiBOfZeros", [](const std::string& p) { fixtures::WriteZipOfZeros(p, "zeros.jpg", 200ull << 20); }, {F}),
        Zip("ZipEntryNameOf300Bytes", RawZipOf([](RawZip& z) { z.Add({std::string(296, 'n') + ".jpg", SmallJpeg()}); }), {S}),
        Zip("Zip64ExtraFieldsBesidePlainSizes", RawZipOf([](RawZip& z) {
                z.Add({"a.jpg", SmallJpeg(), 0, std::nullopt, RawZip::Zip64::ExtraOnly});
                z.Add({"b.jpg", SmallJpeg(), 0, std::nullopt, RawZip::Zip64::ExtraOnly});
            }), {S, S}),
        // The system's unzip library (minizip 1.1) does not take an entry's sizes and offset
        // from its zip64 field when the plain fields are marked 0xFFFFFFFF: such an entry
        // cannot be read, and fails cleanly.
        Zip("Zip64EntriesOfMarkedSizes", RawZipOf([](RawZip& z) {
                z.Add({"a.jpg", SmallJpeg(), 0, std::nullopt, RawZip::Zip64::Marked});
                z.Add({"b.jpg", SmallJpeg()});
            }), {F, S}),
        Zip("ZipEntryOfUnknownMethod", RawZipOf([](RawZip& z) { z.Add({"a.jpg", SmallJpeg(), 99}); z.Add({"b.jpg", SmallJpeg()}); }), {F, S}),
        Zip("ZipEntryWhoseLocalHeaderIsPastTheEnd", RawZipOf([](RawZip& z) { z.Add({"a.jpg", SmallJpeg(), 0, std::nullopt, RawZip::Zip64::No, 1 << 24}); z.Add({"b.jpg", SmallJpeg()}); }), {F, S}),
        Zip("ZipEntryOfNoBytes", RawZipOf([](RawZip& z) { z.Add({"a.jpg", {}}); z.Add({"b.jpg", SmallJpeg()}); }), {F, S}),
        Zip("ZipEntryWithDamagedDeflateData", [](const std::string& p) {
                const Bytes page = fixtures::EncodeBmp(QImage(64, 64, QImage::Format_RGB32));
                fixtures::WriteZip(p, {{"a.bmp", page, true}});
                Bytes zip = fixtures::ReadBytes(p);
                for (std::size_t at = 40; at < 60; ++at)
                    zip[at] ^= 0x5A;
                Write(p, zip);
            }, {F}),
        Zip("ZipOfFoldersAndTextOnly", [](const std::string& p) { fixtures::WriteZip(p, {{"d/", {}, true}, {"d/a.txt", {'a'}, true}}); }, {}),
        Zip("ZipOfOneGoodPage", [](const std::string& p) { fixtures::WriteZip(p, {{"a.jpg", SmallJpeg(), true}}); }, {S}),
    };
}

std::vector<HostileBook> HostilePcos()
{
    using fixtures::PcoBytes;
    const Page S = Page::Shown, F = Page::Fails;
    const auto withPage = [](std::int32_t offset, std::int32_t size) {
        return [=] { return PcoBytes("t", 2, {{0, static_cast<std::int32_t>(SmallJpeg().size())}, {offset, size}}, SmallJpeg()); };
    };
    return {
        Pco("EmptyPco", [] { return Bytes{}; }, {}, true),
        Pco("PcoOfNineBytes", [] { return PcoBytes("", 0, {}, {}); }, {}, true),
        Pco("PcoCounting600", [] { return PcoBytes("t", 600, {}, fixtures::PatternBytes(64, 1)); }, {}, true),
        Pco("PcoCountingInt32Max", [] { return PcoBytes("t", kInt32Max, {}, fixtures::PatternBytes(64, 2)); }, {}, true),
        Pco("PcoCountingMinusOne", [] { return PcoBytes("t", -1, {}, fixtures::PatternBytes(64, 3)); }, {}, false),
        Pco("PcoCountingInt32Min", [] { return PcoBytes("t", kInt32Min, {}, fixtures::PatternBytes(64, 4)); }, {}, false),
        Pco("PcoTitleLength255", [] { return PcoBytes(std::string(255, 'T'), 1, {{0, 4}}, fixtures::PatternBytes(64, 5)); }, {}, true),
        Pco("PcoTitleLength101", [] { return PcoBytes(std::string(101, 'T'), 1, {{0, 4}}, fixtures::PatternBytes(64, 6)); }, {}, true),
        Pco("PcoRecordsPastTheEnd", [] { return PcoBytes("t", 5, {{0, 100}}, {}); }, {F, F, F, F, F}, false),
        Pco("PcoPagePastTheEnd", withPage(1 << 20, 100), {S, F}, false),
        Pco("PcoPageRunningPastTheEnd", withPage(0, 1 << 20), {S, F}, false),
        Pco("PcoPageAtANegativeOffset", withPage(-1000, 100), {S, F}, false),
        Pco("PcoPageOfNegativeSize", withPage(0, -100), {S, F}, false),
        Pco("PcoPageWhoseEndOverflows", withPage(kInt32Max - 10, kInt32Max), {S, F}, false),
        Pco("PcoPageOfInt32MaxBytes", withPage(0, kInt32Max), {S, F}, false),
        Pco("PcoPageOfNoBytes", withPage(0, 0), {S, F}, false),
    };
}

} // namespace

std::vector<HostileBook> HostileBooks()
{
    std::vector<HostileBook> books;
    for (const HostilePicture& picture : HostilePictures())
        for (const Container container : {Container::Folder, Container::Zip, Container::Pco})
            books.push_back(PictureBook(picture, container));
    for (HostileBook& book : HostileZips())
        books.push_back(std::move(book));
    for (HostileBook& book : HostilePcos())
        books.push_back(std::move(book));
    return books;
}

} // namespace hostile
