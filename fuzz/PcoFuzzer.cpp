// Opens the input as a PCO book and reads every page its directory lists.
#include "ScratchFile.h"
#include "sources/Pco.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile file(".pco");
    if (!file.Write(data, size))
        return 0;
    // CPco holds its whole directory; on the heap so that a short-lived stack stays small.
    const auto pco = std::make_unique<CPco>();
    if (!pco->Open(file.Path()))
        return 0;
    if (pco->m_count >= 600 || pco->m_titleLen < 0 || pco->m_titleLen > 100)
        std::abort(); // Open accepted a head it promises to refuse
    std::vector<std::uint8_t> bytes;
    char name[16];
    for (int index = 0; index < pco->m_count; ++index) {
        std::snprintf(name, sizeof name, "%04d", index);
        if (ReadPcoEntry(*pco, name, bytes) && bytes.size() > size)
            std::abort(); // a page cannot hold more bytes than the whole file
    }
    return 0;
}
