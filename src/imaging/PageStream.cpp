#include "PageStream.h"

#include "JpegRows.h"
#include "Sharpen.h"
#include "SmoothScale.h"

#include <climits>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace imaging {

namespace {

// Rows decoded between two hand-overs. Each hand-over wakes the calling thread: bands of 16
// rows (220 to a scanned page) cost the calling thread about 0.8 ms more processor time a
// page than bands of 64 and four times the context switches, with no wall time to show for
// it; with 64 rows only the last band's scale, about 0.1 ms, follows the decode.
constexpr int kRowsPerBand = 64;
constexpr COLORREF kWhite = 0xFFFFFF;

// The rows a worker has decoded so far, handed to the calling thread in order.
class DecodedRows {
public:
    void Publish(int rows, bool ended)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_rows = rows;
            m_ended = ended;
        }
        m_changed.notify_one();
    }
    // Waits for rows beyond `seen` or the end; returns the rows and whether the decode ended.
    std::pair<int, bool> WaitBeyond(int seen)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_rows > seen || m_ended; });
        return {m_rows, m_ended};
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_rows = 0;
    bool m_ended = false;
};

void DecodeAll(JpegRows& rows, DecodedRows& decoded)
{
    int done = 0;
    while (!rows.Finished()) {
        const int before = done;
        done = rows.Read(kRowsPerBand);
        if (done == before && !rows.Finished())
            break; // the decoder made no progress: what it has is all there is
        decoded.Publish(done, false);
    }
    decoded.Publish(done, true);
}

} // namespace

struct PageStream::Job {
    SmoothScale scale;
    bool scalable = false;
    bool last = false;
    int scaledRows = 0;
    int reportedRows = 0;
};

PageStream::PageStream(CDib& target, bool sharpen, DibProgressProc progress, void* progressParam)
    : m_target(target), m_sharpen(sharpen), m_progress(progress), m_progressParam(progressParam)
{
}

PageStream::~PageStream() = default;

bool PageStream::AddPage(CDib& page, const std::uint8_t* data, std::uint32_t size, const PlacePage& place,
                         const PagePreview& preview)
{
    JpegRows rows;
    if (!rows.Start(page, data, size)) {
        const bool loaded = page.LoadFromMemory(data, size);
        if (preview.show)
            preview.show(); // the picture is whole: its preview goes up at once
        AddDecodedPage(page, place);
        return loaded;
    }
    Job job = Plan(page, place);
    DecodedRows decoded;
    std::jthread worker;
    try {
        worker = std::jthread([&rows, &decoded] { DecodeAll(rows, decoded); });
    } catch (const std::system_error&) {
        DecodeAll(rows, decoded); // no thread to be had: the decode comes first, whole
    }
    FillTarget(); // while the first band decodes
    bool previewShown = !preview.show;
    for (int seen = -1;;) {
        const auto [available, ended] = decoded.WaitBeyond(seen);
        seen = available;
        if (!previewShown && (available >= preview.rows || ended)) {
            preview.show();
            previewShown = true;
        }
        Advance(job, available, ended);
        if (previewShown) // the preview comes before any progress, as in a composition
            ReportProgress(job);
        if (ended)
            break;
    }
    if (worker.joinable())
        worker.join();
    return rows.Drawn();
}

void PageStream::AddDecodedPage(CDib& page, const PlacePage& place)
{
    Job job = Plan(page, place);
    FillTarget();
    Advance(job, page.GetHeight(), true);
    ReportProgress(job);
}

PageStream::Job PageStream::Plan(CDib& page, const PlacePage& place)
{
    Job job;
    const PagePlacement placement = place(page.GetWidth(), page.GetHeight());
    const QRect& to = placement.destination;
    if (!to.isEmpty()) {
        job.scalable = job.scale.Plan(page, m_target,
                                      {to.left(), to.top(), to.left() + to.width(), to.top() + to.height(), 0, 0,
                                       page.GetWidth(), page.GetHeight()});
    }
    m_drawn.push_back(to.isEmpty() ? QRect() : SmoothlyDrawnArea(to));
    if (placement.last && m_sharpen && !m_follower) {
        m_follower = std::make_unique<SharpenFollower>(m_target, SharpenAreas(m_drawn));
        m_reportedSharpen = m_follower->NextRow();
        job.last = true;
    }
    return job;
}

void PageStream::Advance(Job& job, int decodedRows, bool ended)
{
    const int rows = job.scalable ? job.scale.Rows() : 0;
    int end = job.scaledRows;
    while (end < rows && (ended || job.scale.LastSourceRow(end) < decodedRows))
        ++end;
    job.scale.DrawRows(job.scaledRows, end, nullptr);
    job.scaledRows = end;
    if (job.last)
        m_follower->Advance(ended ? INT_MAX : job.scale.DestinationRow(end));
}

void PageStream::ReportProgress(Job& job)
{
    if (!m_progress)
        return;
    for (; job.reportedRows < job.scaledRows; ++job.reportedRows)
        m_progress(job.reportedRows, job.scale.ProgressTotal(), m_progressParam);
    for (; job.last && m_reportedSharpen < m_follower->NextRow(); ++m_reportedSharpen)
        m_progress(m_reportedSharpen, m_follower->Height(), m_progressParam);
}

void PageStream::FillTarget()
{
    if (!m_filled)
        m_target.Fill(kWhite);
    m_filled = true;
}

} // namespace imaging
