// Lists the input as a ZIP book and reads every picture entry, through the listing's index
// and by name alike.
#include "ScratchFile.h"
#include "sources/ZipSource.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile file(".zip");
    if (!file.Write(data, size))
        return 0;
    const ZipListing listing = ListZipPictures(file.Path());
    if (listing.status != ZipListing::Ok && !listing.pages.empty())
        std::abort(); // a failed listing must not offer pages
    std::vector<std::uint8_t> bytes;
    bool first = true;
    for (const std::string& page : listing.pages) {
        const bool read = ReadZipEntry(file.Path(), page, bytes, &listing.index);
        if (read ? bytes.empty() || bytes.size() > kMaxZipEntrySize : !bytes.empty())
            std::abort(); // a read returns the whole entry or nothing
        if (first) {
            std::vector<std::uint8_t> again;
            if (ReadZipEntry(file.Path(), page, again) != read || again != bytes)
                std::abort(); // the index must reach the same entry as the search by name
            first = false;
        }
    }
    return 0;
}
