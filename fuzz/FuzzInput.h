// FuzzInput: takes numbers from the front of a fuzzer's input, leaving the rest as payload.
#pragma once

#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // The next byte, or 0 once the input is used up.
    std::uint8_t Byte();
    // A little-endian 32-bit number from the next four bytes (missing bytes are 0).
    std::int32_t Int32();
    // A number in [low, high] from the next two bytes.
    int InRange(int low, int high);

    const std::uint8_t* Rest() const { return m_data + m_used; }
    std::size_t RestSize() const { return m_size - m_used; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_used = 0;
};
