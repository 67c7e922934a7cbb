// PageStream: the pictures of one turn decoded, scaled and sharpened as one stream. A worker
// thread decodes each JPEG page a band of rows at a time and hands the bands back in order;
// the calling thread scales every band smoothly into the target as soon as the rows it reads
// are there, sharpens the target a row behind the last page and shows the quick preview
// while the worker decodes on; progress is reported from the preview on. The target ends byte for byte as the sequential decode,
// SmoothStretchTo and SharpenArea leave it.
#pragma once

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

// Something to show from a page as soon as its first `rows` rows are decoded (all of them
// for a shorter page), on the calling thread, while the rest decodes.
struct PagePreview {
    int rows = 0;
    std::function<void()> show;
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

    // Decodes the picture into `page` and scales it to where `place` puts it, the scale
    // following the decode band by band for a JPEG. Returns LoadFromMemory's answer; the
    // page is scaled whatever it holds, as the sequential composition scales it. The worker
    // thread has ended when it returns.
    bool AddPage(CDib& page, const std::uint8_t* data, std::uint32_t size, const PlacePage& place,
                 const PagePreview& preview = {});
    // Scales a page that is decoded already.
    void AddDecodedPage(CDib& page, const PlacePage& place);

private:
    // Places the page; returns its scale, planned, or nothing to draw.
    struct Job;
    Job Plan(CDib& page, const PlacePage& place);
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
    int m_reportedSharpen = 0;
    bool m_filled = false;
};

} // namespace imaging
