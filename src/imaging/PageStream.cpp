#include "PageStream.h"

#include "JpegRows.h"
#include "Sharpen.h"

#include <climits>
#include <system_error>

namespace imaging {

namespace {

// Rows decoded between two hand-overs to the helper: small enough that the helper's last
// rows follow the decode closely, large enough that waking it costs nothing.
constexpr int kRowsPerBand = 16;
constexpr COLORREF kWhite = 0xFFFFFF;

} // namespace

struct PageStream::Job {
    // Set by the calling thread before the job is added.
    SmoothScale scale;
    bool scalable = false;
    bool followedBySharpen = false;
    // Guarded by the stream's mutex, written by the calling thread.
    int decodedRows = 0;
    bool ended = false;
    // Written by the helper.
    std::atomic<int> scaledRows{0};
    std::atomic<bool> done{false};
};

PageStream::PageStream(CDib& target, bool sharpen, DibProgressProc progress, void* progressParam)
    : m_target(target), m_sharpen(sharpen), m_progress(progress), m_progressParam(progressParam)
{
    try {
        m_helper = std::jthread([this] { RunHelper(); });
    } catch (const std::system_error&) {
        // no thread to be had: Finish draws everything on the calling thread
    }
}

PageStream::~PageStream()
{
    Finish();
}

bool PageStream::AddPage(CDib& page, const std::uint8_t* data, std::uint32_t size, const PlacePage& place)
{
    JpegRows rows;
    if (!rows.Start(page, data, size)) {
        const bool loaded = page.LoadFromMemory(data, size);
        AddDecodedPage(page, place);
        return loaded;
    }
    Job& job = StartJob(page, place);
    int decoded = 0;
    while (!rows.Finished()) {
        const int before = decoded;
        decoded = rows.Read(kRowsPerBand);
        if (decoded == before && !rows.Finished())
            break; // the decoder made no progress: what it has is all there is
        Publish(job, decoded, false);
        ReportProgress();
    }
    Publish(job, decoded, true);
    return rows.Drawn();
}

void PageStream::AddDecodedPage(CDib& page, const PlacePage& place)
{
    Publish(StartJob(page, place), 0, true);
}

PageStream::Job& PageStream::StartJob(CDib& page, const PlacePage& place)
{
    auto job = std::make_unique<Job>();
    const PagePlacement placement = place(page.GetWidth(), page.GetHeight());
    const QRect& to = placement.destination;
    if (!to.isEmpty()) {
        job->scalable = job->scale.Plan(page, m_target,
                                        {to.left(), to.top(), to.left() + to.width(), to.top() + to.height(), 0, 0,
                                         page.GetWidth(), page.GetHeight()});
    }
    m_drawn.push_back(to.isEmpty() ? QRect() : SmoothlyDrawnArea(to));
    Job* added = job.get();
    {
        const std::lock_guard lock(m_mutex);
        if (placement.last && m_sharpen && !m_follower) {
            m_follower = std::make_unique<SharpenFollower>(m_target, SharpenAreas(m_drawn));
            m_reportedSharpen = m_follower->NextRow();
            m_sharpenedRows.store(m_reportedSharpen, std::memory_order_relaxed);
            job->followedBySharpen = true;
        }
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_one();
    return *added;
}

void PageStream::Publish(Job& job, int decodedRows, bool ended)
{
    {
        const std::lock_guard lock(m_mutex);
        job.decodedRows = decodedRows;
        job.ended = ended;
    }
    m_changed.notify_one();
}

void PageStream::RunHelper()
{
    m_target.Fill(kWhite);
    std::size_t index = 0;
    int seenRows = -1;
    for (;;) {
        Job* job = nullptr;
        int decodedRows = 0;
        bool ended = false;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] {
                if (index < m_jobs.size())
                    return m_jobs[index]->decodedRows > seenRows || m_jobs[index]->ended;
                return m_closed;
            });
            if (index >= m_jobs.size())
                return;
            job = m_jobs[index].get();
            decodedRows = job->decodedRows;
            ended = job->ended;
        }
        seenRows = decodedRows;
        const int rows = job->scalable ? job->scale.Rows() : 0;
        const int begin = job->scaledRows.load(std::memory_order_relaxed);
        int end = begin;
        while (end < rows && (ended || job->scale.LastSourceRow(end) < decodedRows))
            ++end;
        job->scale.DrawRows(begin, end, nullptr);
        job->scaledRows.store(end, std::memory_order_release);
        if (job->followedBySharpen) {
            m_follower->Advance(ended ? INT_MAX : job->scale.DestinationRow(end));
            m_sharpenedRows.store(m_follower->NextRow(), std::memory_order_release);
        }
        if (ended) {
            job->done.store(true, std::memory_order_release);
            ++index;
            seenRows = -1;
        }
    }
}

void PageStream::ReportProgress()
{
    if (!m_progress)
        return;
    while (m_reportedJob < m_jobs.size()) {
        const Job& job = *m_jobs[m_reportedJob];
        const bool done = job.done.load(std::memory_order_acquire);
        const int scaled = job.scaledRows.load(std::memory_order_acquire);
        for (; m_reportedRow < scaled; ++m_reportedRow)
            m_progress(m_reportedRow, job.scale.ProgressTotal(), m_progressParam);
        if (!done)
            break;
        ++m_reportedJob;
        m_reportedRow = 0;
    }
    if (m_follower) {
        const int sharpened = m_sharpenedRows.load(std::memory_order_acquire);
        for (; m_reportedSharpen < sharpened && m_reportedSharpen < m_target.GetHeight(); ++m_reportedSharpen)
            m_progress(m_reportedSharpen, m_target.GetHeight(), m_progressParam);
    }
}

void PageStream::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_one();
    if (m_helper.joinable())
        m_helper.join();
    else
        RunHelper(); // every job has ended: the calling thread draws them all
    ReportProgress();
    if (m_sharpen && !m_follower) {
        // No page was the last one shown: the whole composition is sharpened at the end.
        m_target.SetProgress(m_progress, m_progressParam);
        for (const QRect& area : SharpenAreas(m_drawn))
            m_target.SharpenArea(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
        m_target.SetProgress(nullptr, nullptr);
    }
}

} // namespace imaging
