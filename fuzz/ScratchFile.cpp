#include "ScratchFile.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

ScratchFile::ScratchFile(const std::string& extension)
{
    // /dev/shm keeps the millions of rewrites off the disk when it is there.
    const char* folder = std::getenv("TAVIMO_FUZZ_TMP");
    if (!folder)
        folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    m_path = std::string(folder) + "/tavimo-fuzz-" + std::to_string(getpid()) + extension;
}

ScratchFile::~ScratchFile()
{
    std::remove(m_path.c_str());
}

bool ScratchFile::Write(const std::uint8_t* data, std::size_t size) const
{
    std::FILE* file = std::fopen(m_path.c_str(), "wb");
    if (!file)
        return false;
    const bool whole = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && whole;
}
