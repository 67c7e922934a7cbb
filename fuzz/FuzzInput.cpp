#include "FuzzInput.h"

std::uint8_t FuzzInput::Byte()
{
    return m_used < m_size ? m_data[m_used++] : 0;
}

std::int32_t FuzzInput::Int32()
{
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= static_cast<std::uint32_t>(Byte()) << shift;
    return static_cast<std::int32_t>(value);
}

int FuzzInput::InRange(int low, int high)
{
    const unsigned span = static_cast<unsigned>(high - low) + 1;
    const unsigned raw = static_cast<unsigned>(Byte()) | (static_cast<unsigned>(Byte()) << 8);
    return low + static_cast<int>(raw % span);
}
