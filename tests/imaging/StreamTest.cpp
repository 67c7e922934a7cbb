// The streamed turn's pieces against the sequential path they replace: the banded JPEG
// decode against the whole-picture decode, and the stream (the decode on a worker, the scale
// and sharpen following it) against LoadFromMemory, SmoothStretchTo and SharpenArea run one
// after the other. Equal means byte for byte, on every picture kind the books hold.
#include "ImageFixtures.h"
#include "imaging/JpegRows.h"
#include "imaging/PageStream.h"
#include "imaging/Sharpen.h"
#include "imaging/SmoothScale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <thread>

namespace {

using fixtures::Bytes;
using fixtures::EncodeJpeg;
using fixtures::EncodeWithImageMagick;
using fixtures::ScanLikePage;

Bytes Cut(Bytes bytes, std::size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

// A run of entropy-coded bytes overwritten halfway into the file.
Bytes Corrupt(Bytes bytes) {
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64 && i + 2 < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 37);
    return bytes;
}

bool SameBytes(const CDib& a, const CDib& b) {
    if (a.IsCreated() != b.IsCreated() || a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        if (std::memcmp(a.GetRowPtr(y), b.GetRowPtr(y), 3 * std::size_t(a.GetWidth())) != 0)
            return false;
    return true;
}

struct PictureCase {
    const char* name;
    std::function<Bytes()> make;
};

const std::vector<PictureCase>& Pictures() {
    static const std::vector<PictureCase> cases = {
        {"Baseline420", [] { return EncodeJpeg(ScanLikePage(333, 517, 1)); }},
        {"Progressive", [] { return EncodeJpeg(ScanLikePage(301, 203, 2), 90, true); }},
        {"Sampling444FromImageMagick", [] { return EncodeWithImageMagick(ScanLikePage(250, 170, 3), "JPEG", {"-sampling-factor", "1x1"}); }},
        {"Sampling422FromImageMagick", [] { return EncodeWithImageMagick(ScanLikePage(251, 171, 4), "JPEG", {"-sampling-factor", "2x1"}); }},
        {"GreyFromImageMagick", [] { return EncodeWithImageMagick(ScanLikePage(199, 301, 5), "JPEG", {"-colorspace", "Gray"}); }},
        {"CmykLeftToQt", [] { return EncodeWithImageMagick(ScanLikePage(120, 90, 6), "JPEG", {"-colorspace", "CMYK"}); }},
        {"TruncatedShowsWhatDecoded", [] { return Cut(EncodeJpeg(ScanLikePage(400, 600, 7)), 9000); }},
        {"TruncatedProgressive", [] { return Cut(EncodeJpeg(ScanLikePage(400, 300, 8), 85, true), 7000); }},
        {"CutInsideTheHeader", [] { return Cut(EncodeJpeg(ScanLikePage(64, 64, 9)), 200); }},
        {"CorruptScan", [] { return Corrupt(EncodeJpeg(ScanLikePage(300, 400, 10))); }},
        {"BeyondTheSideLimitAtHalfScale", [] { return EncodeJpeg(QImage(40000, 16, QImage::Format_RGB888)); }},
        {"Gif", [] { return fixtures::EncodeGif(ScanLikePage(90, 70, 11)); }},
        {"NotAPicture", [] { return Bytes(500, 0x42); }},
    };
    return cases;
}

// Decodes with JpegRows in bands of `band` rows; the surface is made to look as `start` does.
bool DecodeInBands(CDib& surface, const Bytes& bytes, int band) {
    imaging::JpegRows rows;
    if (!rows.Start(surface, bytes.data(), std::uint32_t(bytes.size())))
        return surface.LoadFromMemory(bytes.data(), std::uint32_t(bytes.size()));
    while (!rows.Finished())
        rows.Read(band);
    return rows.Drawn();
}

// What the whole-picture decode gives, the banded decode gives: the answer and every row,
// on a fresh surface and on one of the same size that still holds the last page (rows a
// failed decode never reached keep it).
TEST(JpegRows, DecodesEveryRowAsTheWholePictureDecode) {
    for (const PictureCase& picture : Pictures()) {
        SCOPED_TRACE(picture.name);
        const Bytes bytes = picture.make();
        ASSERT_FALSE(bytes.empty());
        for (const bool reused : {false, true}) {
            CDib whole, banded;
            if (reused) {
                CDib probe;
                probe.LoadFromMemory(bytes.data(), std::uint32_t(bytes.size()));
                if (!probe.IsCreated())
                    continue;
                whole.Create(probe.GetWidth(), probe.GetHeight(), DIB_24BPP, 0x123456);
                banded.Create(probe.GetWidth(), probe.GetHeight(), DIB_24BPP, 0x123456);
            }
            const bool wholeDrawn = whole.LoadFromMemory(bytes.data(), std::uint32_t(bytes.size()));
            EXPECT_EQ(DecodeInBands(banded, bytes, reused ? 5 : 16), wholeDrawn);
            EXPECT_TRUE(SameBytes(whole, banded)) << (reused ? "reused surface" : "fresh surface");
        }
    }
}

// The sequential composition: decode, fill the target white, scale each page, sharpen the
// areas around them. Pages are (bytes, destination) pairs.
struct Composition {
    int width = 0, height = 0;
    bool sharpen = false;
    std::vector<std::pair<Bytes, QRect>> pages; // a destination of QRect() fits nothing
};

void ComposeSequentially(const Composition& c, std::vector<CDib>& pages, CDib& target) {
    target.Create(c.width, c.height, DIB_24BPP, 0xFFFFFF);
    std::vector<QRect> drawn;
    for (std::size_t i = 0; i < c.pages.size(); ++i) {
        const auto& [bytes, to] = c.pages[i];
        pages[i].LoadFromMemory(bytes.data(), std::uint32_t(bytes.size()));
        if (to.isEmpty()) {
            drawn.push_back(QRect());
            continue;
        }
        pages[i].SmoothStretchTo(&target, to.left(), to.top(), to.left() + to.width(), to.top() + to.height(), 0, 0,
                                 pages[i].GetWidth(), pages[i].GetHeight());
        drawn.push_back(imaging::SmoothlyDrawnArea(to));
    }
    if (c.sharpen)
        for (const QRect& area : imaging::SharpenAreas(drawn))
            target.SharpenArea(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
}

struct ProgressLog {
    std::thread::id caller = std::this_thread::get_id();
    bool offThread = false;
    std::vector<std::pair<int, int>> reports;
};
void Record(int done, int total, void* log) {
    auto* l = static_cast<ProgressLog*>(log);
    l->offThread |= std::this_thread::get_id() != l->caller;
    l->reports.emplace_back(done, total);
}

void ComposeStreamed(const Composition& c, std::vector<CDib>& pages, CDib& target, ProgressLog& log) {
    target.Create(c.width, c.height, DIB_24BPP, 0x00FF00); // the stream paints it white itself
    imaging::PageStream stream(target, c.sharpen, Record, &log);
    for (std::size_t i = 0; i < c.pages.size(); ++i) {
        const auto& [bytes, to] = c.pages[i];
        const bool last = i + 1 == c.pages.size();
        stream.AddPage(pages[i], bytes.data(), std::uint32_t(bytes.size()),
                       [&, to, last](int, int) { return imaging::PagePlacement{to, last}; });
    }
}

// Random compositions of one or two pages of every kind, sizes and places, sharpen on and
// off: the streamed target equals the sequential one, and progress reaches the calling
// thread only, each run of reports counting up.
TEST(PageStream, EqualsTheSequentialCompositionByteForByte) {
    std::mt19937 rng(20261207);
    const auto uniform = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    std::vector<Bytes> kinds;
    for (const PictureCase& picture : Pictures())
        if (std::string(picture.name) != "BeyondTheSideLimitAtHalfScale")
            kinds.push_back(picture.make());
    for (int round = 0; round < 60; ++round) {
        Composition c;
        c.width = uniform(3, 700);
        c.height = uniform(3, 500);
        c.sharpen = uniform(0, 1) == 1;
        const int count = uniform(1, 2);
        for (int i = 0; i < count; ++i) {
            const int left = count == 2 && i == 1 ? c.width / 2 : 0;
            const QRect to = uniform(0, 9) == 0 ? QRect() : QRect(left, 0, uniform(1, c.width), uniform(1, c.height + 2));
            c.pages.emplace_back(kinds[std::size_t(uniform(0, int(kinds.size()) - 1))], to);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<CDib> sequentialPages(2), streamedPages(2);
        CDib sequential, streamed;
        ComposeSequentially(c, sequentialPages, sequential);
        ProgressLog log;
        ComposeStreamed(c, streamedPages, streamed, log);
        ASSERT_TRUE(SameBytes(sequential, streamed));
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(SameBytes(sequentialPages[std::size_t(i)], streamedPages[std::size_t(i)])) << "page " << i;
        EXPECT_FALSE(log.offThread);
        for (std::size_t i = 1; i < log.reports.size(); ++i) {
            if (log.reports[i].second == log.reports[i - 1].second) {
                EXPECT_GT(log.reports[i].first, log.reports[i - 1].first) << "report " << i;
            }
        }
    }
}

} // namespace
