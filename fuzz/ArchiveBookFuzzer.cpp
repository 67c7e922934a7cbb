// Indexes the input as a RAR, 7z or tar book and reads every page twice, in reverse and
// in order, so that the kept pages and a restarted pass must agree.
#include "ScratchFile.h"
#include "sources/ArchiveBook.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile file(".cbr");
    if (!file.Write(data, size))
        return 0;
    CArchiveBook book;
    // A small memory budget sends pages through the spill file as well.
    if (book.Open(file.Path(), 64 * 1024) != CArchiveBook::Ok)
        return 0;
    const std::vector<std::string> pages = book.Pages();
    std::vector<std::vector<std::uint8_t>> first(pages.size());
    std::vector<bool> read(pages.size());
    for (std::size_t i = pages.size(); i-- > 0;) {
        read[i] = book.ReadPage(pages[i], first[i]);
        if (read[i] ? first[i].empty() || first[i].size() > kMaxArchiveEntrySize : !first[i].empty())
            std::abort(); // a read returns the whole entry or nothing
    }
    std::vector<std::uint8_t> again;
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (read[i] && (!book.ReadPage(pages[i], again) || again != first[i]))
            std::abort(); // a page read once reads the same again
    return 0;
}
