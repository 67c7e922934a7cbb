// JpegRows: a JPEG decoded into a surface a band of rows at a time, through libjpeg's
// scanline interface, with the settings of the whole-picture decode of CDib::LoadFromMemory,
// so that every row holds the same bytes and the rows above a band are final while the
// band is decoded.
#pragma once

#include <cstdint>
#include <memory>

class CDib;

namespace imaging {

class JpegRows {
public:
    JpegRows();
    ~JpegRows();
    JpegRows(const JpegRows&) = delete;
    JpegRows& operator=(const JpegRows&) = delete;

    // Reads the header and gives the surface the picture's size. False, with the surface
    // untouched, when the whole-picture decode would not decode this picture itself (it
    // refuses it or leaves it to Qt's reader): LoadFromMemory then has the answer.
    bool Start(CDib& surface, const std::uint8_t* data, std::uint32_t size);
    // Decodes up to `rows` more rows, top to bottom; returns how many rows are final.
    int Read(int rows);
    // Every row is decoded, or an error ended the decode (the rows below it stay as the
    // surface held them).
    bool Finished() const;
    // What LoadFromMemory answers for the picture: false when an error ended the decode
    // before any warning, true otherwise (a truncated file shows what decoded).
    bool Drawn() const;

private:
    struct Decoder;
    std::unique_ptr<Decoder> m_decoder;
};

} // namespace imaging
