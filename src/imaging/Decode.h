// Picture decoding for CDib::LoadFromMemory: which decoder the bytes ask for, and the
// size limits every decoder keeps.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

enum class PictureKind { Unknown, Jpeg, Gif, Bmp };

// Recognises a picture by its first bytes, never by a file name.
PictureKind SniffPicture(const std::uint8_t* data, std::size_t size);

// Whether a width x height picture may be given a surface (checked in 64-bit).
bool PictureSizeAllowed(long long width, long long height);

// A JPEG needs at least about one byte per 512 pixels it claims; twice that is allowed.
inline constexpr long long kMaxJpegPixelsPerByte = 1024;

// Largest file LoadFromFile reads into memory.
inline constexpr long long kMaxPictureFileBytes = 1LL << 30;

} // namespace imaging
