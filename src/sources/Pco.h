// CPco: the head and directory of a PCO book, the program's own read-only archive format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#pragma pack(push, 1)
struct PcoEntry {
    std::int32_t offset;
    std::int32_t size;
    std::uint8_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(PcoEntry) == 9);

class CPco {
public:
    CPco();
    virtual ~CPco();
    // Reads the head and directory. Refuses a file of 9 bytes or less, a count of 600 or
    // more, and a title length outside 0..100 (it could not be held, and everything after
    // it would be misplaced). A negative count opens as an empty book. An offset that
    // cannot be placed in the file is kept as -1, so reading that entry fails.
    bool Open(const std::string& path);
    bool GetEntry(int index, PcoEntry& entry) const;

    std::string m_strPath;
    char m_signature[4];
    std::int8_t m_titleLen;
    char m_title[100];
    std::int32_t m_count;
    std::int32_t m_dataStart;
    PcoEntry m_entries[600];
};

// Reads the bytes of the page named by its "%04d" index from the archive `pco` was
// opened from. Fails for an index outside the directory and for an entry that is empty
// or reaches past the end of the file, so the decoder never sees bytes that were not read.
bool ReadPcoEntry(const CPco& pco, const std::string& name, std::vector<std::uint8_t>& bytes);
