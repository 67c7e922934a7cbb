// PageStream: the pictures of one turn read, decoded, scaled and sharpened as one stream. The
// calling thread reads a JPEG page's bytes a part at a time while a worker thread decodes
// what has arrived a band of rows at a time and hands the bands back in order; the calling
// thread scales every band smoothly into the target as soon as the rows it reads are there,
// sharpens the target a row behind the last page and shows the quick preview while the
// worker decodes on; progress is reported from the preview on. The target and the pages end
// byte for byte as the sequential read, decode, SmoothStretchTo and SharpenArea leave them.
#pragma once

#include "Decode.h"
#include "Dib.h"

#include <QRect>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace imaging {

class SharpenFollower;

// Where a page of the given size goes: the destination rectangle of its scale (empty for
// none), and whether it is the last page the target shows (the sharpen follows that one).
struct PagePlacement {
    QRect destination;
    bool last = false;
};
using PlacePage = std::function<PagePlacement(int width, int height)>;

// Something to show from the surface a page decodes into as soon as its first `rows` rows
// are decoded (all of them for a shorter page), on the calling thread, while the rest decodes.
struct PagePreview {
    int rows = 0;
    std::function<void(const CDib& decoding)> show;
};

// A page's bytes as its book gives them, read on the calling thread into a buffer of the
// size the book declares for the page.
struct PageBytes {
    const std::uint8_t* data = nullptr;
    std::uint32_t declared = 0; // the buffer's size
    std::uint32_t read = 0;     // bytes there so far
    // Reads up to `room` more bytes into the buffer at `offset`: how many, 0 where the bytes
    // end, -1 on an error. Unset when all the bytes there are have been read; a read of no
    // byte at all fails.
    std::function<std::int64_t(std::size_t offset, std::size_t room)> readPart;
};

class PageStream {
public:
    // The target must already have its size; the stream paints it white before the first
    // page. With `sharpen`, the areas around every page placed so far are sharpened behind
    // the page placed as the last one. Progress reports reach `progress` (when set) on the
    // calling thread, in order: each page's scaled rows as (row, total), then the sharpened
    // rows as (row, height).
    PageStream(CDib& target, bool sharpen, DibProgressProc progress, void* progressParam);
    ~PageStream();
    PageStream(const PageStream&) = delete;
    PageStream& operator=(const PageStream&) = delete;

    // Reads the bytes, decodes the picture into `page` and scales it to where `place` puts
    // it; a JPEG is decoded into `spare` while its bytes are read, the scale following the
    // decode band by band, and trades places with `page` once every row is decoded. Returns
    // false for bytes that could not be read (the page keeps what it held), else
    // LoadFromMemory's answer; the page is scaled whatever it holds, as the sequential
    // composition scales it. The worker thread has ended when it returns.
    bool AddPage(CDib& page, CDib& spare, PageBytes& bytes, const PlacePage& place, const PagePreview& preview = {});
    // The same for bytes that are all there.
    bool AddPage(CDib& page, CDib& spare, const std::uint8_t* data, std::uint32_t size, const PlacePage& place,
                 const PagePreview& preview = {});
    // Scales a page that is decoded already.
    void AddDecodedPage(CDib& page, const PlacePage& place);

private:
    struct Job;
    enum class Reading;
    // Reads the next part of at most `part` bytes; ReadRest reads on to the end.
    static Reading ReadNextPart(PageBytes& bytes, std::size_t part);
    static void ReadRest(PageBytes& bytes, Reading& reading);
    // Decodes a JPEG of `plan` into `spare` while the rest of its bytes are read. False when
    // the stream has to be drawn again from the sequential decode: the bytes could not be
    // read whole, or the decode left rows that the sequential one would leave as `page` held them.
    bool StreamPage(CDib& spare, PageBytes& bytes, Reading& reading, const JpegPlan& plan,
                    const PagePlacement& placement, const PagePreview& preview);
    void AddPlacedPage(CDib& page, const PagePlacement& placement);
    // Paints the target white again and draws the pages added so far.
    void Restart();
    // Returns the page's scale to its place, planned, or nothing to draw.
    Job Plan(CDib& page, const PagePlacement& placement);
    // Scales the job's rows up to `decodedRows` of its page (all when `ended`) and sharpens
    // behind them when it is the last page; ReportProgress then reports what was drawn.
    void Advance(Job& job, int decodedRows, bool ended);
    void ReportProgress(Job& job);
    void FillTarget();

    CDib& m_target;
    const bool m_sharpen;
    const DibProgressProc m_progress;
    void* const m_progressParam;
    std::unique_ptr<SharpenFollower> m_follower;
    std::vector<QRect> m_drawn;
    struct AddedPage {
        CDib* page;
        PagePlacement placement;
    };
    std::vector<AddedPage> m_added;
    int m_reportedSharpen = 0;
    bool m_filled = false;
};

} // namespace imaging
