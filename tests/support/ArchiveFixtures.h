// ZIP archives and PCO books made at run time for the tests, the benchmarks and the sample book.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

struct ZipItem {
    std::string name; // as stored: may end in '/' (a directory) or hold '\\'
    std::vector<std::uint8_t> data;
    bool deflate = true;
};
// Writes the items with minizip's zip interface, in order.
bool WriteZip(const std::string& path, const std::vector<ZipItem>& items);

struct PcoItem {
    std::int32_t offset; // from the start of the data area
    std::int32_t size;
};
// A PCO file byte by byte: signature, title length byte, title, count, records, data.
// `count` is written as given (it may disagree with records.size()).
std::vector<std::uint8_t> PcoBytes(const std::string& title, std::int32_t count,
                                   const std::vector<PcoItem>& records,
                                   const std::vector<std::uint8_t>& data);
// A well-formed PCO book holding the pictures in order.
std::vector<std::uint8_t> PcoBook(const std::string& title,
                                  const std::vector<std::vector<std::uint8_t>>& pictures);

// One deflated entry of `head` and then `size` zero bytes, written in pieces so that a huge
// entry (a zip bomb) costs little memory to make.
bool WriteZipOfZeros(const std::string& path, const std::string& name, std::uint64_t size,
                     const std::vector<std::uint8_t>& head = {});

std::vector<std::uint8_t> ReadBytes(const std::string& path);
// Distinct, recognisable bytes for an entry: `size` bytes that depend on `seed`.
std::vector<std::uint8_t> PatternBytes(std::size_t size, unsigned seed);

} // namespace fixtures
