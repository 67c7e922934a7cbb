// Opening a 2000-page ZIP book and reading its last page, beside the inflate of that
// page alone: what a page read costs on top of decompressing it.
#include "sources/ZipSource.h"

#include "ArchiveFixtures.h"
#include "ImageFixtures.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kPageCount = 2000;

// The book is made once per run: 1999 small entries and a scan-sized JPEG as the last page,
// so the search walks the whole directory and the inflate is a real page's.
struct Books {
    Books()
    {
        const std::vector<std::uint8_t> lastPage = fixtures::EncodeJpeg(fixtures::ScanLikePage(1654, 2339, 7));
        std::vector<fixtures::ZipItem> items;
        for (int i = 0; i + 1 < kPageCount; ++i) {
            char name[32];
            std::snprintf(name, sizeof(name), "Vol1/%04d.jpg", i);
            items.push_back({name, fixtures::PatternBytes(1024, static_cast<unsigned>(i))});
        }
        lastName = "Vol1/last.jpg";
        items.push_back({lastName, lastPage});
        bigBook = dir.filePath("big.zip").toStdString();
        singleBook = dir.filePath("single.zip").toStdString();
        fixtures::WriteZip(bigBook, items);
        fixtures::WriteZip(singleBook, {{lastName, lastPage}});
        pageSize = lastPage.size();
    }
    QTemporaryDir dir;
    std::string bigBook;
    std::string singleBook;
    std::string lastName;
    std::size_t pageSize = 0;
};

const Books& TheBooks()
{
    static const Books books;
    return books;
}

void ListTwoThousandEntries(benchmark::State& state)
{
    const Books& books = TheBooks();
    for (auto _ : state) {
        ZipListing listing = ListZipPictures(books.bigBook);
        benchmark::DoNotOptimize(listing.pages.data());
    }
}

void ReadPage(benchmark::State& state, const std::string& book, const ZipIndex* index)
{
    const Books& books = TheBooks();
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        if (!ReadZipEntry(book, books.lastName, bytes, index))
            state.SkipWithError("the page could not be read");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * books.pageSize));
}

void ReadLastPageAlone(benchmark::State& state)
{
    ReadPage(state, TheBooks().singleBook, nullptr);
}

void ReadLastPageBySearch(benchmark::State& state)
{
    ReadPage(state, TheBooks().bigBook, nullptr);
}

void ReadLastPageByIndex(benchmark::State& state)
{
    const ZipListing listing = ListZipPictures(TheBooks().bigBook);
    ReadPage(state, TheBooks().bigBook, &listing.index);
}

} // namespace

BENCHMARK(ListTwoThousandEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLastPageAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLastPageBySearch)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLastPageByIndex)->Unit(benchmark::kMillisecond);
