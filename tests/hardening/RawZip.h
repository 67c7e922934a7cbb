// RawZip: writes a ZIP archive field by field (stored entries only), so that a test can make
// the sizes, names, offsets and counts of its records say anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class RawZip {
public:
    // No zip64 field; one beside the plain 32-bit sizes; or sizes and offset marked
    // 0xFFFFFFFF and given in the zip64 field only.
    enum class Zip64 { No, ExtraOnly, Marked };

    struct Entry {
        std::string name;
        std::vector<std::uint8_t> data;
        std::uint16_t method = 0; // 0 stored; anything else is written as given
        // Sizes the records declare; the data's own size when not given.
        std::optional<std::uint64_t> declaredSize;
        Zip64 zip64 = Zip64::No;
        // Added to the local header offset the central record declares.
        std::int64_t localOffsetShift = 0;
    };

    void Add(Entry entry) { m_entries.push_back(std::move(entry)); }
    // What the end record declares, instead of the real numbers.
    std::optional<std::uint16_t> declaredEntryCount;
    std::optional<std::uint32_t> declaredDirectoryOffset;

    std::vector<std::uint8_t> Bytes() const;

private:
    std::vector<Entry> m_entries;
};
