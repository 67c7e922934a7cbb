// CDib::LoadFromMemory and CDib::LoadFromFile: JPEG through TurboJPEG straight into the
// surface's rows, opaque full-screen GIFs and plain 24-bit BMPs by our own readers, the
// other GIFs and BMPs (and JPEG variants TurboJPEG refuses) through Qt's readers.
#include "Decode.h"

#include "Dib.h"
#include "Gif.h"
#include "SurfaceLimits.h"
#include "sources/RegularFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <turbojpeg.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

namespace imaging {

PictureKind SniffPicture(const std::uint8_t* data, std::size_t size)
{
    if (!data)
        return PictureKind::Unknown;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return PictureKind::Jpeg;
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return PictureKind::Gif;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return PictureKind::Bmp;
    return PictureKind::Unknown;
}

bool PictureSizeAllowed(long long width, long long height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide
        && width * height <= kMaxPicturePixels;
}

bool PrepareSurface(CDib& dib, int width, int height)
{
    if (dib.IsCreated() && dib.GetWidth() == width && dib.GetHeight() == height)
        return true;
    return dib.Create(width, height, DIB_24BPP, 0xFFFFFF);
}

JpegPlan PlanJpeg(const std::uint8_t* data, std::uint32_t size)
{
    return PlanJpeg(data, size, size);
}

JpegPlan PlanJpeg(const std::uint8_t* data, std::uint32_t available, std::uint64_t wholeSize)
{
    JpegPlan plan;
    const tjhandle handle = tjInitDecompress();
    if (!handle)
        return plan;
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    const bool headerRead = tjDecompressHeader3(handle, data, available, &width, &height, &subsampling, &colorspace) == 0;
    tjDestroy(handle);
    if (!headerRead || colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) {
        plan.verdict = JpegVerdict::Fallback;
        return plan;
    }
    // Every 8 x 8 block costs a Huffman-coded JPEG at least a bit or so; a header claiming
    // far more pixels than the bytes could hold is lying, and must not cost an allocation.
    if (static_cast<long long>(width) * height > static_cast<long long>(wholeSize) * kMaxJpegPixelsPerByte)
        return plan;
    // A picture beyond the limits is shown at the largest reduction that brings it inside.
    for (const int denominator : {1, 2, 4, 8}) {
        const tjscalingfactor factor{1, denominator};
        if (PictureSizeAllowed(TJSCALED(width, factor), TJSCALED(height, factor))) {
            plan = {JpegVerdict::Decode, TJSCALED(width, factor), TJSCALED(height, factor), denominator};
            break;
        }
    }
    return plan;
}

bool ReadPictureFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    CRegularFile file;
    if (!file.Open(path))
        return false;
    const std::int64_t length = file.Size();
    if (length <= 0 || length > kMaxPictureFileBytes)
        return false;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A file cut short while it is read decodes what was there.
    const std::int64_t got = file.ReadAt(0, bytes.data(), bytes.size());
    if (got <= 0)
        return false;
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

} // namespace imaging

namespace {

using imaging::PictureKind;

struct TurboHandle {
    tjhandle handle = tjInitDecompress();
    ~TurboHandle()
    {
        if (handle)
            tjDestroy(handle);
    }
};

// Outcome of the TurboJPEG path: drawn, failed, or a variant for the fallback decoder.
enum class JpegResult { Drawn, Failed, Unsupported };

JpegResult DecodeJpeg(CDib& dib, const std::uint8_t* data, std::uint32_t size)
{
    const imaging::JpegPlan plan = imaging::PlanJpeg(data, size);
    if (plan.verdict != imaging::JpegVerdict::Decode)
        return plan.verdict == imaging::JpegVerdict::Fallback ? JpegResult::Unsupported : JpegResult::Failed;
    // A fresh decoder each time: one that reported an error or a warning keeps state
    // that can make the next picture's scan limit misfire.
    const TurboHandle turbo;
    if (!turbo.handle || !imaging::PrepareSurface(dib, plan.width, plan.height))
        return JpegResult::Failed;
    // Bottom-up BGR rows are exactly the surface's layout: decode into it directly.
    const int flags = TJFLAG_BOTTOMUP | TJFLAG_LIMITSCANS;
    if (tjDecompress2(turbo.handle, data, size, dib.GetRowPtr(plan.height - 1), plan.width, dib.GetStride(),
                      plan.height, TJPF_BGR, flags)
        != 0) {
        // A warning (a truncated file, say) leaves the part that could be decoded, as
        // other viewers show it; anything else is a failure.
        return tjGetErrorCode(turbo.handle) == TJERR_WARNING ? JpegResult::Drawn : JpegResult::Failed;
    }
    return JpegResult::Drawn;
}

std::uint8_t Blend(std::uint8_t over, std::uint8_t under, unsigned alpha)
{
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

void PutPixel(std::uint8_t* out, QRgb c)
{
    out[0] = static_cast<std::uint8_t>(qBlue(c));
    out[1] = static_cast<std::uint8_t>(qGreen(c));
    out[2] = static_cast<std::uint8_t>(qRed(c));
}

// Draws a decoded picture over the surface: opaque pixels replace, transparent ones leave
// the surface as it was, partly transparent ones are mixed. Mixing at full opacity gives
// the picture's own bytes, so opaque pixels are copied.
void Composite(CDib& dib, const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::uint8_t* out = dib.GetRowPtr(y);
        for (int x = 0; x < picture.width(); ++x, out += 3) {
            const QRgb c = in[x];
            const unsigned alpha = static_cast<unsigned>(qAlpha(c));
            if (alpha == 0)
                continue;
            if (alpha == 255) {
                PutPixel(out, c);
                continue;
            }
            out[0] = Blend(static_cast<std::uint8_t>(qBlue(c)), out[0], alpha);
            out[1] = Blend(static_cast<std::uint8_t>(qGreen(c)), out[1], alpha);
            out[2] = Blend(static_cast<std::uint8_t>(qRed(c)), out[2], alpha);
        }
    }
}

// A picture without an alpha channel covers the surface: its rows are copied as they are.
void CopyOpaque(CDib& dib, const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::uint8_t* out = dib.GetRowPtr(y);
        for (int x = 0; x < picture.width(); ++x, out += 3)
            PutPixel(out, in[x]);
    }
}

// Picture rows [first, last) that the bytes of a BMP do not reach.
struct RowRange {
    int first = 0;
    int last = 0;
};

std::uint32_t LittleEndian(const std::uint8_t* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// A BMP's pixel layout as its headers give it, with the number of whole rows the bytes hold.
struct BmpLayout {
    long long width = 0, rows = 0, stride = 0, presentRows = 0;
    bool topDown = false;
    std::uint32_t bits = 0, planes = 1, compression = 0, headerSize = 0, dataOffset = 0;
};

constexpr std::uint32_t kBmpCoreHeader = 12, kBmpInfoHeader = 40;
constexpr std::uint32_t kBmpUncompressed = 0, kBmpBitFields = 3, kBmpAlphaBitFields = 6;

std::optional<BmpLayout> ReadBmpLayout(const std::uint8_t* data, std::uint32_t size)
{
    if (size < 26)
        return std::nullopt;
    BmpLayout bmp;
    bmp.dataOffset = LittleEndian(data + 10, 4);
    bmp.headerSize = LittleEndian(data + 14, 4);
    long long height = 0;
    if (bmp.headerSize == kBmpCoreHeader) {
        bmp.width = LittleEndian(data + 18, 2);
        height = LittleEndian(data + 20, 2);
        bmp.planes = LittleEndian(data + 22, 2);
        bmp.bits = LittleEndian(data + 24, 2);
    } else if (bmp.headerSize >= kBmpInfoHeader && size >= 34) {
        bmp.width = static_cast<std::int32_t>(LittleEndian(data + 18, 4));
        height = static_cast<std::int32_t>(LittleEndian(data + 22, 4));
        bmp.planes = LittleEndian(data + 26, 2);
        bmp.bits = LittleEndian(data + 28, 2);
        bmp.compression = LittleEndian(data + 30, 4);
    } else {
        return std::nullopt;
    }
    bmp.topDown = height < 0;
    bmp.rows = bmp.topDown ? -height : height;
    bmp.stride = (bmp.width * bmp.bits + 31) / 32 * 4;
    // Pixel data said to start inside the headers is not where Qt's reader reads it from.
    if (bmp.width <= 0 || bmp.rows <= 0 || bmp.stride <= 0 || bmp.rows > imaging::kMaxPictureSide
        || bmp.dataOffset < 14LL + bmp.headerSize)
        return std::nullopt;
    bmp.presentRows = size > bmp.dataOffset ? std::min<long long>((size - bmp.dataOffset) / bmp.stride, bmp.rows) : 0;
    return bmp;
}

// Qt's reader accepts an uncompressed BMP cut short and hands back a picture whose missing
// rows were never written: the whole rows of the declared stride after the pixel data's
// offset are there, bottom row first unless the height is negative. Compressed BMPs come
// back from Qt with their missing rows cleared.
RowRange BmpRowsMissing(const BmpLayout& bmp)
{
    if (bmp.compression != kBmpUncompressed && bmp.compression != kBmpBitFields
        && bmp.compression != kBmpAlphaBitFields)
        return {};
    const int rows = static_cast<int>(bmp.rows), present = static_cast<int>(bmp.presentRows);
    return bmp.topDown ? RowRange{present, rows} : RowRange{0, rows - present};
}

// An uncompressed 24-bit BMP stores its rows as the surface does (blue first, rows padded to
// four bytes), so a big scanned page is copied row by row instead of going through Qt's
// reader pixel by pixel; the bytes are the same, the rows it lacks white. Other BMPs, and any
// whose headers Qt might judge otherwise, go to Qt's reader.
bool CopiesDirectly(const BmpLayout& bmp, std::uint32_t size)
{
    return bmp.headerSize >= kBmpInfoHeader && bmp.planes == 1 && bmp.bits == 24 && bmp.compression == kBmpUncompressed
        && bmp.dataOffset <= size
        && imaging::PictureSizeAllowed(bmp.width, bmp.rows);
}

bool DecodeBmpRows(CDib& dib, const BmpLayout& bmp, const std::uint8_t* data)
{
    const int width = static_cast<int>(bmp.width), rows = static_cast<int>(bmp.rows);
    if (!imaging::PrepareSurface(dib, width, rows))
        return false;
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    for (int i = 0; i < rows; ++i) {
        std::uint8_t* out = dib.GetRowPtr(bmp.topDown ? i : rows - 1 - i);
        if (i < bmp.presentRows)
            std::memcpy(out, data + bmp.dataOffset + static_cast<std::size_t>(i) * static_cast<std::size_t>(bmp.stride),
                        rowBytes);
        else
            std::memset(out, 0xFF, rowBytes);
    }
    return true;
}

void FillRows(QImage& picture, RowRange rows, std::uint8_t value)
{
    for (int y = rows.first; y < std::min(rows.last, picture.height()); ++y)
        std::memset(picture.scanLine(y), value, static_cast<std::size_t>(picture.bytesPerLine()));
}

// `bmp`: a BMP's layout, from which follow the size Qt's picture must have and the rows a
// truncated file lacks, which Qt's reader leaves unwritten.
bool DecodeWithQt(CDib& dib, const std::uint8_t* data, std::uint32_t size, PictureKind kind,
                  const BmpLayout* bmp = nullptr)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    const char* format = kind == PictureKind::Jpeg ? "jpeg" : kind == PictureKind::Gif ? "gif" : "bmp";
    QImageReader reader(&buffer, format);
    // Qt's own allocation limit backs up the size check, for readers that learn the size late.
    reader.setAllocationLimit(static_cast<int>(imaging::kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    const QSize announced = reader.size();
    if (announced.isValid() && !imaging::PictureSizeAllowed(announced.width(), announced.height()))
        return false;
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return false;
    if (!imaging::PictureSizeAllowed(picture.width(), picture.height())
        || (bmp && (picture.width() != bmp->width || picture.height() != bmp->rows)))
        return false;
    const RowRange missing = bmp ? BmpRowsMissing(*bmp) : RowRange{};
    // Rows a truncated BMP lacks are shown white, like the rest of a fresh page, and are
    // cleared before the conversion reads them.
    FillRows(picture, missing, 0x00);
    const bool opaque = !picture.hasAlphaChannel();
    picture = picture.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (picture.isNull() || !imaging::PrepareSurface(dib, picture.width(), picture.height()))
        return false;
    FillRows(picture, missing, 0xFF);
    if (opaque)
        CopyOpaque(dib, picture);
    else
        Composite(dib, picture);
    return true;
}

} // namespace

bool CDib::LoadFromMemory(const void* data, std::uint32_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const PictureKind kind = imaging::SniffPicture(bytes, size);
    switch (kind) {
    case PictureKind::Jpeg:
        switch (DecodeJpeg(*this, bytes, size)) {
        case JpegResult::Drawn: return true;
        case JpegResult::Failed: return false;
        case JpegResult::Unsupported: return DecodeWithQt(*this, bytes, size, kind);
        }
        return false;
    case PictureKind::Bmp: {
        // Headers that do not say where the rows are, or a picture of another size than they
        // give, would leave rows Qt's reader never wrote unknown: such a BMP is refused.
        const std::optional<BmpLayout> bmp = ReadBmpLayout(bytes, size);
        if (!bmp)
            return false;
        if (CopiesDirectly(*bmp, size))
            return DecodeBmpRows(*this, *bmp, bytes);
        return DecodeWithQt(*this, bytes, size, kind, &*bmp);
    }
    case PictureKind::Gif: return imaging::DecodeOpaqueGif(*this, bytes, size) || DecodeWithQt(*this, bytes, size, kind);
    case PictureKind::Unknown: return false;
    }
    return false;
}

bool CDib::LoadFromFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    return imaging::ReadPictureFile(path, bytes) && LoadFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}
