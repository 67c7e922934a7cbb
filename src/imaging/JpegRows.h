// JpegRows: a JPEG decoded into a surface a band of rows at a time, through libjpeg's
// scanline interface, with the settings of the whole-picture decode of CDib::LoadFromMemory,
// so that every row holds the same bytes and the rows above a band are final while the
// band is decoded. The bytes may still be arriving while the decode runs: the decoder waits
// for the next part where it runs ahead of them.
#pragma once

#include "Decode.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

class CDib;

namespace imaging {

// The bytes of a picture written in order into one buffer by the thread that reads them,
// while another thread decodes what is there. The buffer never moves while it is read.
class ArrivingBytes {
public:
    // Bytes that are all there already.
    ArrivingBytes(const std::uint8_t* data, std::size_t size);
    // Bytes still to be read into `data`; none is there yet.
    explicit ArrivingBytes(const std::uint8_t* data);

    const std::uint8_t* Data() const { return m_data; }
    // The reading thread: the first `count` bytes are written.
    void Publish(std::size_t count);
    // The reading thread: no more bytes will come. Bytes that are not `whole` (a read that
    // failed or is given up) end the decode with an error where it runs out of them. Only
    // the first call counts.
    void End(bool whole);
    // The decoding thread: waits for bytes beyond the first `seen` or for the end; returns
    // how many bytes are there, `seen` at the end, and whether they are whole.
    std::size_t WaitBeyond(std::size_t seen, bool& whole);

private:
    const std::uint8_t* const m_data;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_count = 0;
    bool m_ended = false;
    bool m_whole = false;
};

class JpegRows {
public:
    JpegRows();
    ~JpegRows();
    JpegRows(const JpegRows&) = delete;
    JpegRows& operator=(const JpegRows&) = delete;

    // Gives the surface the planned picture's size (a plan whose verdict is Decode). False,
    // with the surface untouched, when the surface cannot have it. The bytes must outlive
    // the decode.
    bool Start(CDib& surface, const JpegPlan& plan, ArrivingBytes& bytes);
    // Decodes up to `rows` more rows, top to bottom; returns how many rows are final. The
    // first call reads the header, and may wait for bytes.
    int Read(int rows);
    // Every row is decoded, or an error ended the decode (the rows below it stay as the
    // surface held them).
    bool Finished() const;
    // Every row is decoded and no error ended the decode.
    bool Complete() const;
    // What LoadFromMemory answers for the picture: false when an error ended the decode
    // before any warning, true otherwise (a truncated file shows what decoded).
    bool Drawn() const;

private:
    struct Decoder;
    void Begin();
    std::unique_ptr<Decoder> m_decoder;
};

} // namespace imaging
