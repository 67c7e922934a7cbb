// Page turns of the real view, offscreen, from the key to the painted window: a 100-page
// book of 2480 x 3508 scans in a 1920 x 1080 window, beside the decode of a page alone,
// and the memory a long reading session holds.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "settings/Option.h"
#include "sources/ZipSource.h"
#include "view/FrameHost.h"
#include "view/ScreenImage.h"
#include "view/TavimoView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kPages = 100;
constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;
constexpr int kDistinctPages = 4;

class SilentFrame : public CFrameHost {
public:
    void ShowPageStatus(const QString&) override {}
    void SetProgressPos(int) override {}
    void PostCommand(int) override {}
};

// One folder book and the same pages as a ZIP book, stored as comic books mostly store
// their pictures and deflated as a general archiver packs them, made once per run.
struct Books {
    Books()
    {
        std::vector<fixtures::Bytes> distinct;
        for (int i = 0; i < kDistinctPages; ++i)
            distinct.push_back(fixtures::EncodeJpeg(fixtures::ScanLikePage(kPageWidth, kPageHeight, unsigned(i + 1)), 85));
        folder = dir.filePath("book").toStdString();
        QDir().mkpath(QString::fromStdString(folder));
        std::vector<fixtures::ZipItem> items, deflated;
        for (int i = 0; i < kPages; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "page%03d.jpg", i);
            const fixtures::Bytes& bytes = distinct[std::size_t(i % kDistinctPages)];
            fixtures::WriteFile(folder + "/" + name, bytes);
            items.push_back({name, bytes, false});
            deflated.push_back({name, bytes, true});
        }
        zip = dir.filePath("book.zip").toStdString();
        fixtures::WriteZip(zip, items);
        deflatedZip = dir.filePath("deflated.zip").toStdString();
        fixtures::WriteZip(deflatedZip, deflated);
        // The books' half a gigabyte goes to disk now, not while the first turns are timed.
        ::sync();
    }
    QTemporaryDir dir;
    std::string folder;
    std::string zip;
    std::string deflatedZip;
};

const Books& TheBooks()
{
    static const Books books;
    return books;
}

QApplication& App()
{
    static int argc = 1;
    static char name[] = "view-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

enum class Source { Folder, Zip, DeflatedZip };

const std::string& ZipOf(Source source)
{
    return source == Source::DeflatedZip ? TheBooks().deflatedZip : TheBooks().zip;
}

struct Reading {
    bool twoPages = false;
    bool sharpen = false;
    Source source = Source::Folder;
};

// A shown view over the book with fit and smoothing on.
class Reader {
public:
    explicit Reader(const Reading& reading)
    {
        g_option.bStretech = 1;
        g_option.bInterpolation = 1;
        g_option.bSharpen = reading.sharpen ? 1 : 0;
        g_option.bView2Page = reading.twoPages ? 1 : 0;
        g_option.bFlipPage = 0;
        g_option.bAutoDetectWidth = 0;
        g_option.bRotate = 0;
        g_option.bCacheNextFile = 0;
        view.SetFrame(&frame);
        view.resize(1920, 1080);
        view.show();
        QCoreApplication::processEvents();
        if (reading.source != Source::Folder)
            view.OpenZip(ZipOf(reading.source));
        else
            view.ScanFolder(TheBooks().folder);
        view.repaint();
    }
    // Back to the first page before the book runs out (not part of any measured turn).
    void RewindAtTheEnd()
    {
        const std::size_t step = g_option.bView2Page ? 2 : 1;
        if (view.m_itCurPage + step + 1 >= view.m_pageList.size()) {
            view.m_strPrepared.clear();
            view.ShowFirstPage();
        }
    }
    void TurnByKey()
    {
        QTest::keyClick(&view, Qt::Key_Space);
        view.repaint();
    }
    QApplication& app = App(); // before the view: a widget needs the application
    SilentFrame frame;
    CTavimoView view;
};

// The process's processor time, Qt's painting threads included: the machine is shared, so
// wall time says more about the neighbours than about the turn.
double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// The decode of one page file alone, into a surface kept across calls as the view keeps its own.
double DecodeMs(const std::string& path)
{
    static CDib scratch;
    const double start = ProcessCpuMs();
    scratch.LoadFromFile(path);
    return ProcessCpuMs() - start;
}

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Resident memory now; the peak above is the whole run's, other benchmarks included.
double CurrentRssMb()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Reports the turn against the decode of the pages it shows, decoded alone.
void UnpreparedTurn(benchmark::State& state, Reading reading)
{
    Reader reader(reading);
    const std::size_t step = reading.twoPages ? 2 : 1;
    double decodeMs = 0;
    double turnMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        reader.RewindAtTheEnd();
        const std::size_t next = reader.view.m_itCurPage + step;
        for (std::size_t page = next; page < next + step; ++page)
            decodeMs += DecodeMs(TheBooks().folder + "/" + QFileInfo(QString::fromStdString(reader.view.m_pageList[page])).fileName().toStdString());
        state.ResumeTiming();
        const double start = ProcessCpuMs();
        reader.TurnByKey();
        turnMs += ProcessCpuMs() - start;
    }
    state.counters["decode_cpu_ms"] = decodeMs / double(state.iterations());
    state.counters["turn_cpu_ms"] = turnMs / double(state.iterations());
    state.counters["turn_over_decode"] = turnMs / decodeMs;
}

void PreparedTurn(benchmark::State& state, Reading reading)
{
    Reader reader(reading);
    for (auto _ : state) {
        state.PauseTiming();
        reader.RewindAtTheEnd();
        reader.view.OnTimer(1); // the tick that follows a turn: prepares the next one
        state.ResumeTiming();
        reader.TurnByKey();
    }
}

// The composition alone (scale, and sharpen when on) of the shown page into the spare screen:
// the part of an unprepared turn that is neither decoding nor painting.
void ComposeShownPage(benchmark::State& state, Reading reading)
{
    Reader reader(reading);
    double cpuMs = 0;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        reader.view.ComposeOnePage(reader.view.m_pPage1, reader.view.m_pNextScreen, false);
        cpuMs += ProcessCpuMs() - start;
    }
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

void MemoryOverLongReading(benchmark::State& state, Reading reading)
{
    for (auto _ : state) {
        Reader reader(reading);
        g_option.bCacheNextFile = 1;
        long peakAtTen = 0;
        double rssAtTen = 0;
        for (int turn = 1; turn <= 1000; ++turn) {
            reader.RewindAtTheEnd();
            reader.TurnByKey();
            reader.view.OnTimer(1);
            if (turn == 10) {
                peakAtTen = PeakRssKb();
                rssAtTen = CurrentRssMb();
            }
        }
        state.counters["peak_rss_mb_turn10"] = double(peakAtTen) / 1024.0;
        state.counters["peak_rss_mb_turn1000"] = double(PeakRssKb()) / 1024.0;
        state.counters["rss_mb_turn10"] = rssAtTen;
        state.counters["rss_mb_turn1000"] = CurrentRssMb();
    }
}

double WallMs(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The turn a reader waits for, in wall time: the decode alone of the pages it shows (for a
// ZIP book the entry's read too), the turn with decode, scale and sharpen one after the
// other, and the streamed turn, which overlaps them on two threads. The two kinds of turn
// alternate over the same pages, each right after the decode of its own pages alone; the
// times are medians of 15 each. A ratio is the median of each turn over the decode just
// before it, so that a neighbour who takes the machine for a while moves both alike.
void StreamedTurnTable(benchmark::State& state)
{
    struct Row {
        const char* book;
        const char* pages;
        const char* sharpen;
        double decode, sequential, streamed, sequentialRatio, streamedRatio;
    };
    std::vector<Row> rows;
    for (auto _ : state) {
        rows.clear();
        {
            // Untimed turns first, so that the first row does not also time the start-up.
            Reader warmUp(Reading{});
            for (int turn = 0; turn < 10; ++turn) {
                warmUp.view.m_streamTurns = turn % 2 == 1;
                warmUp.TurnByKey();
            }
        }
        for (const Source source : {Source::Folder, Source::Zip, Source::DeflatedZip})
            for (const bool twoPages : {false, true})
                for (const bool sharpen : {false, true}) {
                    Reader reader(Reading{twoPages, sharpen, source});
                    const std::size_t step = twoPages ? 2 : 1;
                    std::vector<double> decode, sequential, streamed, sequentialRatio, streamedRatio;
                    static CDib scratch;
                    std::vector<std::uint8_t> bytes;
                    for (int turn = 0; turn < 30; ++turn) {
                        reader.RewindAtTheEnd();
                        const std::size_t next = reader.view.m_itCurPage + step;
                        decode.push_back(WallMs([&] {
                            for (std::size_t page = next; page < next + step; ++page) {
                                const std::string& name = reader.view.m_pageList[page];
                                if (source != Source::Folder) {
                                    ReadZipEntry(ZipOf(source), name, bytes);
                                    scratch.LoadFromMemory(bytes.data(), std::uint32_t(bytes.size()));
                                } else {
                                    scratch.LoadFromFile(name);
                                }
                            }
                        }));
                        const bool streams = turn % 2 == 1;
                        reader.view.m_streamTurns = streams;
                        const double turnMs = WallMs([&] { reader.TurnByKey(); });
                        (streams ? streamed : sequential).push_back(turnMs);
                        (streams ? streamedRatio : sequentialRatio).push_back(turnMs / decode.back());
                    }
                    rows.push_back({source == Source::Folder ? "folder" : source == Source::Zip ? "zip" : "deflated_zip",
                                    twoPages ? "two" : "one", sharpen ? "on" : "off", Median(decode),
                                    Median(sequential), Median(streamed), Median(sequentialRatio),
                                    Median(streamedRatio)});
                }
    }
    std::printf("\n| book | pages | sharpen | decode ms | sequential ms | streamed ms | sequential / decode | streamed / decode |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (const Row& row : rows) {
        std::printf("| %s | %s | %s | %.1f | %.1f | %.1f | %.2f | %.2f |\n", row.book, row.pages, row.sharpen, row.decode,
                    row.sequential, row.streamed, row.sequentialRatio, row.streamedRatio);
        state.counters[std::string(row.book) + "_" + row.pages + "_sharpen_" + row.sharpen + "_streamed_over_decode"] =
            row.streamedRatio;
    }
}

void PaintScreen(benchmark::State& state)
{
    Reader reader(Reading{});
    double cpuMs = 0;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        reader.view.repaint();
        cpuMs += ProcessCpuMs() - start;
    }
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

// Ways to put a bottom-up BGR screen onto a window-format surface, for choosing the paint.
struct PaintCase {
    PaintCase() : target(1920, 1080, QImage::Format_RGB32)
    {
        screen.Create(1920, 1080, DIB_24BPP, 0x336699);
    }
    QImage Wrapped() const
    {
        return QImage(screen.GetRowPtr(screen.GetHeight() - 1), screen.GetWidth(), screen.GetHeight(),
                      screen.GetStride(), QImage::Format_BGR888);
    }
    CDib screen;
    QImage target;
};

template <typename Paint>
void MeasurePaint(benchmark::State& state, Paint paint)
{
    App();
    PaintCase paintCase;
    double cpuMs = 0;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        QPainter painter(&paintCase.target);
        paint(painter, paintCase);
        painter.end();
        cpuMs += ProcessCpuMs() - start;
    }
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

void PaintFlipTransform(benchmark::State& state)
{
    MeasurePaint(state, [](QPainter& painter, PaintCase& c) {
        painter.setTransform(QTransform(1, 0, 0, -1, 0, c.screen.GetHeight()));
        painter.drawImage(QPointF(0, 0), c.Wrapped());
    });
}

void PaintRowByRow(benchmark::State& state)
{
    MeasurePaint(state, [](QPainter& painter, PaintCase& c) {
        for (int y = 0; y < c.screen.GetHeight(); ++y)
            painter.drawImage(QPoint(0, y), QImage(c.screen.GetRowPtr(y), c.screen.GetWidth(), 1, c.screen.GetStride(),
                                                   QImage::Format_BGR888));
    });
}

void PaintWidenedCopy(benchmark::State& state)
{
    CScreenImage image;
    MeasurePaint(state, [&image](QPainter& painter, PaintCase& c) {
        image.Paint(painter, c.screen, c.screen.GetWidth(), c.screen.GetHeight(), 1.0);
    });
}

void PaintMirroredCopy(benchmark::State& state)
{
    MeasurePaint(state, [](QPainter& painter, PaintCase& c) { painter.drawImage(QPoint(0, 0), c.Wrapped().mirrored()); });
}

} // namespace

BENCHMARK_CAPTURE(UnpreparedTurn, one_page_sharpen, Reading{false, true, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(UnpreparedTurn, one_page_plain, Reading{false, false, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PreparedTurn, one_page_sharpen, Reading{false, true, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PreparedTurn, one_page_plain, Reading{false, false, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(UnpreparedTurn, two_pages_sharpen, Reading{true, true, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PreparedTurn, two_pages_sharpen, Reading{true, true, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(UnpreparedTurn, zip_one_page_sharpen, Reading{false, true, Source::Zip})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PreparedTurn, zip_one_page_sharpen, Reading{false, true, Source::Zip})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ComposeShownPage, sharpen, Reading{false, true, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ComposeShownPage, plain, Reading{false, false, Source::Folder})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StreamedTurnTable)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintScreen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintFlipTransform)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintRowByRow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintWidenedCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintMirroredCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(MemoryOverLongReading, one_page, Reading{false, true, Source::Folder})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(MemoryOverLongReading, two_pages_zip, Reading{true, true, Source::Zip})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
