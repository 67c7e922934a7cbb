// Soak run of the page view: the real view, offscreen, with caching on, turns 10,000 pages
// (TAVIMO_SOAK_TURNS overrides the number, for runs under valgrind) back and forth through
// a 500-page ZIP book of small generated pages, switching two-page view, fitting,
// smoothing, sharpen and rotation along the way. It reports resident memory after the
// first pass through the book and at the end, so growth over the run shows leaks and
// surfaces that are re-allocated instead of reused.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "settings/Option.h"
#include "view/FrameHost.h"
#include "view/TavimoView.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {

constexpr int kBookPages = 500;

class SilentFrame : public CFrameHost {
public:
    void ShowPageStatus(const QString&) override {}
    void SetProgressPos(int) override {}
    void PostCommand(int) override {}
};

// VmRSS or VmHWM from /proc/self/status, in KiB.
double StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stod(line.substr(prefix.size()));
    return -1;
}

long TurnCount()
{
    const char* text = std::getenv("TAVIMO_SOAK_TURNS");
    const long turns = text ? std::atol(text) : 10000;
    return turns > 0 ? turns : 10000;
}

// Pages of a few sizes, every 25th one a wide double page.
std::string WriteBook(const QTemporaryDir& dir)
{
    std::vector<fixtures::ZipItem> items;
    for (int i = 0; i < kBookPages; ++i) {
        const bool wide = i % 25 == 7;
        const int width = wide ? 260 : 150 + (i % 7) * 3, height = wide ? 170 : 210 + (i % 5) * 4;
        char name[32];
        std::snprintf(name, sizeof name, "page%03d.jpg", i);
        items.push_back({name, fixtures::EncodeJpeg(fixtures::ScanLikePage(width, height, unsigned(i + 1)), 80), i % 2 == 0});
    }
    const std::string path = dir.filePath("soak.zip").toStdString();
    if (!fixtures::WriteZip(path, items))
        return std::string();
    return path;
}

// The tick that prepares the next turn, at once rather than after its delay.
void DeliverPreparingTick(CTavimoView& view)
{
    for (const int timer : {1, 2})
        if (view.IsTimerRunning(timer))
            view.OnTimer(timer);
}

// One drawing switch after another, the next one at every call.
void SwitchSomething(CTavimoView& view, long turn)
{
    const std::function<void()> switches[] = {
        [&] { view.OnView2Page(); }, [&] { view.OnInterpolation(); }, [&] { view.OnSharpen(); },
        [&] { view.OnRotate(); },    [&] { view.OnZoomToggle(); },    [&] { view.OnFlip(); },
    };
    switches[static_cast<std::size_t>(turn / 97) % std::size(switches)]();
}

void BM_ViewSoak(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string book = WriteBook(dir);
    if (book.empty()) {
        state.SkipWithError("could not write the book");
        return;
    }
    SetGMessageBoxHook([](const GMessageBoxCall&) { return int(IDOK); });
    g_option.bCacheNextFile = 1;
    g_option.bStretech = 1;
    g_option.bAutoDetectWidth = 1;
    g_option.bView2Page = g_option.bInterpolation = g_option.bSharpen = g_option.bRotate = g_option.bFlipPage = 0;

    const long turns = TurnCount();
    double rssStart = 0, peakStart = 0;
    long done = 0;
    for (auto _ : state) {
        SilentFrame frame;
        CTavimoView view;
        view.SetFrame(&frame);
        view.resize(400, 300);
        view.show();
        view.OpenZip(book);
        bool forward = true;
        int refused = 0;
        while (done < turns) {
            DeliverPreparingTick(view);
            if (!view.TurnPage(forward)) {
                forward = !forward; // the end of the book: read it back the other way
                if (++refused == 2) {
                    state.SkipWithError("the view refuses to turn either way");
                    return;
                }
                continue;
            }
            refused = 0;
            ++done;
            if (done % 97 == 0)
                SwitchSomething(view, done);
            QCoreApplication::processEvents();
            if (done == kBookPages) {
                rssStart = StatusKiB("VmRSS");
                peakStart = StatusKiB("VmHWM");
            }
        }
    }
    SetGMessageBoxHook(nullptr);
    const double rssEnd = StatusKiB("VmRSS"), peakEnd = StatusKiB("VmHWM");
    state.counters["turns"] = double(done);
    state.counters["rss_start_MiB"] = rssStart / 1024;
    state.counters["rss_end_MiB"] = rssEnd / 1024;
    state.counters["peak_start_MiB"] = peakStart / 1024;
    state.counters["peak_end_MiB"] = peakEnd / 1024;
    state.counters["rss_growth_KiB"] = rssEnd - rssStart;
    state.counters["turns_per_s"] = benchmark::Counter(double(done), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ViewSoak)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
