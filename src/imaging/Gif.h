// The fast path for the usual GIF page: one opaque picture that fills its logical screen,
// decoded straight into the surface instead of through Qt's reader and a 32-bit copy. What
// it takes it draws exactly as Qt's reader draws it (the palette's colours, white for an
// index past the palette); everything else (transparency, a frame smaller than its screen,
// data that is damaged or cut short, small interlaced pictures whose rows Qt orders its own
// way) it leaves to Qt's reader.
#pragma once

#include <cstdint>

class CDib;

namespace imaging {

// True when the picture is decoded into the surface; false, with the surface untouched,
// when Qt's reader is to decode it.
bool DecodeOpaqueGif(CDib& dib, const std::uint8_t* data, std::uint32_t size);

} // namespace imaging
