// PageStream: the pictures of one turn decoded, scaled and sharpened as one stream. The
// calling thread decodes each page a band of rows at a time; a helper thread fills the
// target white, scales every page's rows smoothly into it as soon as the rows they read are
// decoded, and sharpens the target a row behind the last page. The target ends byte for
// byte as the sequential decode, SmoothStretchTo and SharpenArea leave it.
#pragma once

#include "Dib.h"
#include "SmoothScale.h"

#include <QRect>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
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

class PageStream {
public:
    // The target must already have its size. Progress reports reach `progress` (when set)
    // on the calling thread, in order: each page's scaled rows as (row, total), then the
    // sharpened rows as (row, height).
    PageStream(CDib& target, bool sharpen, DibProgressProc progress, void* progressParam);
    // Ends the stream as Finish does.
    ~PageStream();
    PageStream(const PageStream&) = delete;
    PageStream& operator=(const PageStream&) = delete;

    // Decodes the picture into `page` and scales it to where `place` puts it; the scale
    // follows the decode row by row for a JPEG. Returns LoadFromMemory's answer; the page is
    // scaled whatever it holds, as the sequential composition scales it.
    bool AddPage(CDib& page, const std::uint8_t* data, std::uint32_t size, const PlacePage& place);
    // Scales a page that is decoded already.
    void AddDecodedPage(CDib& page, const PlacePage& place);
    // Waits until the helper has drawn everything added, reporting the progress left; the
    // helper thread has ended when it returns.
    void Finish();

    // The area each page was drawn into, in the order they were added.
    const std::vector<QRect>& Drawn() const { return m_drawn; }

private:
    struct Job;
    // Places the page and hands its scale to the helper, which waits for its rows.
    Job& StartJob(CDib& page, const PlacePage& place);
    void Publish(Job& job, int decodedRows, bool ended);
    void ReportProgress();
    void RunHelper();

    CDib& m_target;
    const bool m_sharpen;
    const DibProgressProc m_progress;
    void* const m_progressParam;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Job>> m_jobs; // guarded; a job's own fields say who writes them
    bool m_closed = false;                    // guarded: no job follows
    std::unique_ptr<SharpenFollower> m_follower; // set once, before the job it follows is added
    std::atomic<int> m_sharpenedRows{0};         // the follower's next row, written by the helper
    std::vector<QRect> m_drawn;
    std::size_t m_reportedJob = 0;
    int m_reportedRow = 0;
    int m_reportedSharpen = 0;
    bool m_finished = false;
    std::jthread m_helper;
};

} // namespace imaging
