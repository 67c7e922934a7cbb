// Pictures made at run time for the tests, the benchmarks and the sample book.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

using Bytes = std::vector<std::uint8_t>;

// JPEG through TurboJPEG (baseline, 4:2:0 unless told otherwise).
Bytes EncodeJpeg(const QImage& image, int quality = 85, bool progressive = false);
// The picture as ImageMagick's `coder` writes it (JPEG, GIF, BMP3, ...) with the options.
Bytes EncodeWithImageMagick(const QImage& image, const std::string& coder, const std::vector<std::string>& options = {});
// GIF as ImageMagick writes it (its own palette; pixels whose alpha is 0 transparent).
Bytes EncodeGif(const QImage& image);
// 24-bit BMP as ImageMagick writes it.
Bytes EncodeBmp(const QImage& image);
// A scan-like page: line art, halftone texture, text blocks and noise, reproducible by seed.
QImage ScanLikePage(int width, int height, unsigned seed = 1);
// A page with a large page number drawn on it, for books that are read by eye.
QImage NumberedPage(int width, int height, int number);

bool WriteFile(const std::string& path, const Bytes& bytes);

} // namespace fixtures
