// Picture decoding for CDib::LoadFromMemory: which decoder the bytes ask for, and the
// size limits every decoder keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CDib;

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

// Reads a picture file whole into `bytes` (a file cut short while it is read gives what was
// there); false when it cannot be read, is empty or is beyond kMaxPictureFileBytes.
bool ReadPictureFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// What the JPEG path makes of a header: the picture is decoded at 1/denominator of its size
// into a width x height surface (the denominator is 1 unless the picture is beyond the
// limits), refused, or left to Qt's reader (a variant TurboJPEG does not take).
enum class JpegVerdict { Decode, Refuse, Fallback };
struct JpegPlan {
    JpegVerdict verdict = JpegVerdict::Refuse;
    int width = 0;
    int height = 0;
    int denominator = 1;
};
JpegPlan PlanJpeg(const std::uint8_t* data, std::uint32_t size);
// The plan from the first `available` bytes of a picture of `wholeSize` bytes, for bytes that
// are still being read: the same plan once the bytes reach the first scan, a fallback before.
JpegPlan PlanJpeg(const std::uint8_t* data, std::uint32_t available, std::uint64_t wholeSize);

// Gives the surface a picture's size: a surface that already has it is kept (transparent
// parts show the old picture); any other size gets a fresh white surface.
bool PrepareSurface(CDib& dib, int width, int height);

} // namespace imaging
