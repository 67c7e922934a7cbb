#include "PageStream.h"

#include "JpegRows.h"
#include "Sharpen.h"
#include "SmoothScale.h"

#include <algorithm>
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
// The first part of a page's bytes holds the headers of nearly every JPEG, so the decode
// can be planned and begin while the rest is read.
constexpr std::size_t kFirstPart = 64u << 10;
// Later parts are small enough that the bands decoded meanwhile are drawn soon after.
constexpr std::size_t kLaterPart = 256u << 10;

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
    std::pair<int, bool> Now()
    {
        const std::lock_guard lock(m_mutex);
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

enum class PageStream::Reading { On, Ended, Failed };

PageStream::Reading PageStream::ReadNextPart(PageBytes& bytes, std::size_t part)
{
    const std::size_t room = std::min<std::size_t>(part, bytes.declared - bytes.read);
    const std::int64_t got = room == 0 ? 0 : bytes.readPart(bytes.read, room);
    if (got < 0 || (got == 0 && bytes.read == 0))
        return Reading::Failed;
    bytes.read += static_cast<std::uint32_t>(got);
    return got == 0 || bytes.read == bytes.declared ? Reading::Ended : Reading::On;
}

void PageStream::ReadRest(PageBytes& bytes, Reading& reading)
{
    while (reading == Reading::On)
        reading = ReadNextPart(bytes, kLaterPart);
}

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

bool PageStream::AddPage(CDib& page, CDib& spare, const std::uint8_t* data, std::uint32_t size,
                         const PlacePage& place, const PagePreview& preview)
{
    PageBytes bytes{data, size, size, {}};
    return AddPage(page, spare, bytes, place, preview);
}

bool PageStream::AddPage(CDib& page, CDib& spare, PageBytes& bytes, const PlacePage& place,
                         const PagePreview& preview)
{
    Reading reading = bytes.readPart ? Reading::On : Reading::Ended;
    while (reading == Reading::On && bytes.read < kFirstPart)
        reading = ReadNextPart(bytes, kFirstPart - bytes.read);
    if (reading != Reading::Failed) {
        const JpegPlan plan = PlanJpeg(bytes.data, bytes.read, bytes.declared);
        if (plan.verdict == JpegVerdict::Decode) {
            const PagePlacement placement = place(plan.width, plan.height);
            if (StreamPage(spare, bytes, reading, plan, placement, preview)) {
                page.TradePixels(spare);
                m_added.push_back({&page, placement});
                return true;
            }
            Restart();
        }
    }
    // The sequential read and decode: a picture that is no JPEG for the stream, or one
    // whose stream ended otherwise than with every row decoded from every byte.
    ReadRest(bytes, reading);
    if (reading == Reading::Failed) {
        AddDecodedPage(page, place);
        return false;
    }
    const bool loaded = page.LoadFromMemory(bytes.data, bytes.read);
    if (preview.show)
        preview.show(page); // the picture is whole: its preview goes up at once
    AddDecodedPage(page, place);
    return loaded;
}

bool PageStream::StreamPage(CDib& spare, PageBytes& bytes, Reading& reading, const JpegPlan& plan,
                            const PagePlacement& placement, const PagePreview& preview)
{
    ArrivingBytes arriving(bytes.data);
    const auto publish = [&] {
        arriving.Publish(bytes.read);
        if (reading != Reading::On)
            arriving.End(reading == Reading::Ended && bytes.read == bytes.declared);
    };
    publish();
    JpegRows rows;
    if (!rows.Start(spare, plan, arriving))
        return false;
    Job job = Plan(spare, placement);
    DecodedRows decoded;
    std::jthread worker;
    // However this call ends, the worker is never left waiting for bytes: it is joined
    // after this has ended them.
    const struct EndBytes {
        ArrivingBytes& bytes;
        ~EndBytes() { bytes.End(false); }
    } endBytes{arriving};
    try {
        worker = std::jthread([&rows, &decoded] { DecodeAll(rows, decoded); });
    } catch (const std::system_error&) {
        // No thread to be had: the rest is read first, then decoded whole.
        ReadRest(bytes, reading);
        publish();
        DecodeAll(rows, decoded);
    }
    FillTarget(); // while the first band decodes
    bool previewShown = !preview.show;
    int seen = -1;
    const auto draw = [&](int available, bool ended) {
        seen = available;
        if (!previewShown && (available >= preview.rows || ended)) {
            preview.show(spare);
            previewShown = true;
        }
        Advance(job, available, ended);
        if (previewShown) // the preview comes before any progress, as in a composition
            ReportProgress(job);
    };
    // Between the parts read, whatever the worker has decoded meanwhile is drawn.
    bool ended = false;
    while (reading == Reading::On && !ended) {
        reading = ReadNextPart(bytes, kLaterPart);
        publish();
        const auto [available, decodeEnded] = decoded.Now();
        if (available > seen || decodeEnded) {
            ended = decodeEnded;
            draw(available, ended);
        }
    }
    while (!ended) {
        const auto [available, decodeEnded] = decoded.WaitBeyond(seen);
        ended = decodeEnded;
        draw(available, ended);
    }
    if (worker.joinable())
        worker.join();
    ReadRest(bytes, reading); // bytes after the picture's end, as the sequential read reads them
    return reading == Reading::Ended && bytes.read == bytes.declared && rows.Complete();
}

void PageStream::AddDecodedPage(CDib& page, const PlacePage& place)
{
    AddPlacedPage(page, place(page.GetWidth(), page.GetHeight()));
}

void PageStream::AddPlacedPage(CDib& page, const PagePlacement& placement)
{
    Job job = Plan(page, placement);
    FillTarget();
    Advance(job, page.GetHeight(), true);
    ReportProgress(job);
    m_added.push_back({&page, placement});
}

void PageStream::Restart()
{
    m_filled = false;
    m_drawn.clear();
    m_follower.reset();
    m_reportedSharpen = 0;
    std::vector<AddedPage> added;
    added.swap(m_added);
    for (const AddedPage& page : added)
        AddPlacedPage(*page.page, page.placement);
}

PageStream::Job PageStream::Plan(CDib& page, const PagePlacement& placement)
{
    Job job;
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
