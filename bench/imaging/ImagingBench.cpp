// Page-turn kernels against the decode of the same page: decoding, both scalers, sharpen
// and rotation, with TurboJPEG's and Qt's own work on the same bytes for comparison.
#include "ImageFixtures.h"
#include "imaging/Dib.h"
#include "imaging/JpegRows.h"
#include "imaging/PageStream.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <QImage>
#include <vector>

namespace {

const fixtures::Bytes& PageJpeg(int w, int h)
{
    static std::vector<std::pair<long long, fixtures::Bytes>> cache;
    const long long key = static_cast<long long>(w) << 32 | h;
    for (const auto& [k, bytes] : cache)
        if (k == key)
            return bytes;
    cache.emplace_back(key, fixtures::EncodeJpeg(fixtures::ScanLikePage(w, h), 85));
    return cache.back().second;
}

// The page decoded, as the view holds it.
const CDib& DecodedPage(int w, int h)
{
    static CDib page;
    const auto& bytes = PageJpeg(w, h);
    page.LoadFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return page;
}

// The size a page takes when fitted into a 1920 x 1080 window.
void FittedSize(int w, int h, int& fw, int& fh)
{
    fh = 1080;
    fw = static_cast<int>(static_cast<long long>(w) * 1080 / h);
    if (fw > 1920) {
        fw = 1920;
        fh = static_cast<int>(static_cast<long long>(h) * 1920 / w);
    }
}

void BM_LoadFromMemory(benchmark::State& state)
{
    const auto& bytes = PageJpeg(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CDib dib;
    for (auto _ : state)
        benchmark::DoNotOptimize(dib.LoadFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
}
BENCHMARK(BM_LoadFromMemory)->Args({2480, 3508})->Args({1600, 2400})->Unit(benchmark::kMillisecond);

// The same page decoded as a streamed turn decodes it, 16 rows a band, on one thread.
void BM_JpegRowsInBands(benchmark::State& state)
{
    const auto& bytes = PageJpeg(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CDib dib;
    for (auto _ : state) {
        imaging::JpegRows rows;
        imaging::ArrivingBytes arriving(bytes.data(), bytes.size());
        rows.Start(dib, imaging::PlanJpeg(bytes.data(), static_cast<std::uint32_t>(bytes.size())), arriving);
        while (!rows.Finished())
            rows.Read(16);
        benchmark::DoNotOptimize(rows.Drawn());
    }
}
BENCHMARK(BM_JpegRowsInBands)->Args({2480, 3508})->Unit(benchmark::kMillisecond);

// The page streamed into a 1920 x 1080 screen, fitted and smoothly scaled as a one-page turn
// composes it: the decode on a worker, the scale following on this thread. Against the
// banded decode alone, the difference is what the hand-over of the bands costs.
void BM_StreamedPage(benchmark::State& state)
{
    const auto& bytes = PageJpeg(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CDib page, spare, screen;
    screen.Create(1920, 1080, DIB_24BPP, 0xFFFFFF);
    for (auto _ : state) {
        imaging::PageStream stream(screen, state.range(2) != 0, nullptr, nullptr);
        benchmark::DoNotOptimize(stream.AddPage(page, spare, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                                                [](int width, int height) {
                                                    const int fitted = width * 1080 / height;
                                                    return imaging::PagePlacement{QRect((1920 - fitted) / 2, 0, fitted, 1080), true};
                                                }));
    }
}
BENCHMARK(BM_StreamedPage)->Args({2480, 3508, 0})->Args({2480, 3508, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// A big opaque BMP and GIF page, as ImageMagick writes them: both take the fast paths that
// decode straight into the surface.
template <fixtures::Bytes (*Encode)(const QImage&)>
void BM_LoadOpaquePicture(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const fixtures::Bytes bytes = Encode(fixtures::ScanLikePage(side, side));
    CDib dib;
    for (auto _ : state)
        benchmark::DoNotOptimize(dib.LoadFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
}
BENCHMARK(BM_LoadOpaquePicture<fixtures::EncodeBmp>)->Name("BM_LoadOpaqueBmp")->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOpaquePicture<fixtures::EncodeGif>)->Name("BM_LoadOpaqueGif")->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_TurboJpegIntoPlainBuffer(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const auto& bytes = PageJpeg(w, h);
    std::vector<unsigned char> out(static_cast<std::size_t>(w) * h * 3);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            tjDecompress2(handle, bytes.data(), bytes.size(), out.data(), w, w * 3, h, TJPF_BGR, 0));
    tjDestroy(handle);
}
BENCHMARK(BM_TurboJpegIntoPlainBuffer)->Args({2480, 3508})->Unit(benchmark::kMillisecond);

void BM_QImageLoadFromData(benchmark::State& state)
{
    const auto& bytes = PageJpeg(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        QImage image;
        benchmark::DoNotOptimize(image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "JPEG"));
    }
}
BENCHMARK(BM_QImageLoadFromData)->Args({2480, 3508})->Unit(benchmark::kMillisecond);

template <bool Smooth>
void BM_FitToWindow(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const CDib& page = DecodedPage(w, h);
    int fw = 0, fh = 0;
    FittedSize(w, h, fw, fh);
    CDib screen;
    screen.Create(1920, 1080, DIB_24BPP, 0xFFFFFF);
    for (auto _ : state) {
        if (Smooth)
            benchmark::DoNotOptimize(page.SmoothStretchTo(&screen, 0, 0, fw, fh, 0, 0, w, h));
        else
            benchmark::DoNotOptimize(page.StretchTo(&screen, 0, 0, fw, fh, 0, 0, w, h));
    }
}
BENCHMARK(BM_FitToWindow<true>)->Name("BM_SmoothStretchTo")->Args({2480, 3508})->Args({1600, 2400})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitToWindow<false>)->Name("BM_StretchTo")->Args({2480, 3508})->Args({1600, 2400})
    ->Unit(benchmark::kMillisecond);

void BM_QImageSmoothScaled(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const auto& bytes = PageJpeg(w, h);
    QImage image;
    image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "JPEG");
    image = image.convertToFormat(QImage::Format_RGB32); // Qt's fastest format for scaling
    int fw = 0, fh = 0;
    FittedSize(w, h, fw, fh);
    for (auto _ : state)
        benchmark::DoNotOptimize(image.scaled(fw, fh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
BENCHMARK(BM_QImageSmoothScaled)->Args({2480, 3508})->Unit(benchmark::kMillisecond);

// Sharpen of a window: the fitted page composed into it, as the view sharpens it.
void BM_Sharpen(benchmark::State& state)
{
    const int sw = static_cast<int>(state.range(0)), sh = static_cast<int>(state.range(1));
    const CDib& page = DecodedPage(2480, 3508);
    CDib screen, work;
    screen.Create(sw, sh, DIB_24BPP, 0xFFFFFF);
    const int fh = sh, fw = 2480 * sh / 3508;
    page.SmoothStretchTo(&screen, 0, 0, fw, fh, 0, 0, 2480, 3508);
    for (auto _ : state) {
        state.PauseTiming();
        work.CopyFrom(screen);
        state.ResumeTiming();
        benchmark::DoNotOptimize(work.Sharpen());
    }
}
BENCHMARK(BM_Sharpen)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// The view's sharpen of the same window: only the fitted page and the pixel ring around it.
void BM_SharpenPageArea(benchmark::State& state)
{
    const CDib& page = DecodedPage(2480, 3508);
    CDib screen, work;
    screen.Create(1920, 1080, DIB_24BPP, 0xFFFFFF);
    const int fh = 1080, fw = 2480 * 1080 / 3508;
    page.SmoothStretchTo(&screen, 0, 0, fw, fh, 0, 0, 2480, 3508);
    for (auto _ : state) {
        state.PauseTiming();
        work.CopyFrom(screen);
        state.ResumeTiming();
        benchmark::DoNotOptimize(work.SharpenArea(0, 0, fw + 1, fh + 1));
    }
}
BENCHMARK(BM_SharpenPageArea)->Unit(benchmark::kMillisecond);

void BM_RotatePage(benchmark::State& state)
{
    CDib page;
    page.CopyFrom(DecodedPage(2480, 3508));
    for (auto _ : state)
        benchmark::DoNotOptimize(RotatePage(&page));
}
BENCHMARK(BM_RotatePage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
