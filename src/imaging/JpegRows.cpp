#include "JpegRows.h"

#include "Decode.h"
#include "Dib.h"

#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>
#include <jerror.h>

namespace imaging {

namespace {

// TurboJPEG's limit on progressive scans, which keeps a file of endless tiny scans from
// costing minutes.
constexpr int kMaxScans = 500;
constexpr int kRowsPerCall = 16;

struct ErrorHandler {
    jpeg_error_mgr pub;
    std::jmp_buf exit;
    void (*defaultEmit)(j_common_ptr, int);
    bool warned;
};

[[noreturn]] void ExitOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->exit, 1);
}

void NoteWarning(j_common_ptr info, int level)
{
    auto* handler = reinterpret_cast<ErrorHandler*>(info->err);
    handler->defaultEmit(info, level);
    if (level < 0)
        handler->warned = true;
}

void Quiet(j_common_ptr) {}

void LimitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        // An ended decode of too many scans counts as failed, whatever was warned before.
        reinterpret_cast<ErrorHandler*>(info->err)->warned = false;
        std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->exit, 1);
    }
}

// libjpeg's source over arriving bytes: the memory source of jpeg_mem_src, except that
// where it runs out it waits for the next part, and only at the real end does what that
// source does there, so that the decoder sees the same bytes and warnings.
struct ArrivingSource {
    jpeg_source_mgr pub;
    ArrivingBytes* bytes;
    std::size_t handedOver;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info)
{
    static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
    auto* source = reinterpret_cast<ArrivingSource*>(info->src);
    bool whole = false;
    const std::size_t there = source->bytes->WaitBeyond(source->handedOver, whole);
    if (there > source->handedOver) {
        source->pub.next_input_byte = source->bytes->Data() + source->handedOver;
        source->pub.bytes_in_buffer = there - source->handedOver;
        source->handedOver = there;
        return TRUE;
    }
    if (!whole)
        ERREXIT(info, JERR_INPUT_EOF);
    WARNMS(info, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kEndOfImage;
    source->pub.bytes_in_buffer = 2;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count)
{
    jpeg_source_mgr& source = *info->src;
    if (count <= 0)
        return;
    while (count > static_cast<long>(source.bytes_in_buffer)) {
        count -= static_cast<long>(source.bytes_in_buffer);
        source.fill_input_buffer(info);
    }
    source.next_input_byte += count;
    source.bytes_in_buffer -= static_cast<std::size_t>(count);
}

} // namespace

ArrivingBytes::ArrivingBytes(const std::uint8_t* data, std::size_t size)
    : m_data(data), m_count(size), m_ended(true), m_whole(true)
{
}

ArrivingBytes::ArrivingBytes(const std::uint8_t* data) : m_data(data) {}

void ArrivingBytes::Publish(std::size_t count)
{
    {
        const std::lock_guard lock(m_mutex);
        m_count = count;
    }
    m_changed.notify_one();
}

void ArrivingBytes::End(bool whole)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_ended)
            return;
        m_ended = true;
        m_whole = whole;
    }
    m_changed.notify_one();
}

std::size_t ArrivingBytes::WaitBeyond(std::size_t seen, bool& whole)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_count > seen || m_ended; });
    whole = m_whole;
    return m_count;
}

struct JpegRows::Decoder {
    jpeg_decompress_struct info{};
    ErrorHandler errors{};
    jpeg_progress_mgr progress{};
    ArrivingSource source{};
    CDib* surface = nullptr;
    JpegPlan plan;
    bool created = false;
    bool begun = false;
    bool finished = false;
    bool failed = false;

    Decoder()
    {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = ExitOnError;
        errors.defaultEmit = errors.pub.emit_message;
        errors.pub.emit_message = NoteWarning;
        errors.pub.output_message = Quiet;
        progress.progress_monitor = LimitScans;
        source.pub.init_source = InitSource;
        source.pub.fill_input_buffer = FillInput;
        source.pub.skip_input_data = SkipInput;
        source.pub.resync_to_restart = jpeg_resync_to_restart;
        source.pub.term_source = TermSource;
    }
    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }

    int Rows() const { return static_cast<int>(info.output_scanline); }
    int Height() const { return static_cast<int>(info.output_height); }
};

JpegRows::JpegRows() = default;
JpegRows::~JpegRows() = default;

bool JpegRows::Start(CDib& surface, const JpegPlan& plan, ArrivingBytes& bytes)
{
    if (plan.verdict != JpegVerdict::Decode || !PrepareSurface(surface, plan.width, plan.height))
        return false;
    m_decoder = std::make_unique<Decoder>();
    m_decoder->surface = &surface;
    m_decoder->plan = plan;
    m_decoder->source.bytes = &bytes;
    return true;
}

// From here on every outcome is the whole-picture decode's: an error before the first row is
// a picture that failed, with the surface prepared as that decode leaves it. Called under
// Read's error return.
void JpegRows::Begin()
{
    Decoder& d = *m_decoder;
    d.begun = true;
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.info.progress = &d.progress;
    d.info.src = &d.source.pub;
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = JCS_EXT_BGR;
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned>(d.plan.denominator);
    jpeg_start_decompress(&d.info);
    if (d.Height() != d.plan.height || static_cast<int>(d.info.output_width) != d.plan.width) {
        d.failed = true;
        d.finished = true;
    }
}

int JpegRows::Read(int rows)
{
    if (!m_decoder)
        return 0;
    Decoder& d = *m_decoder;
    if (d.finished)
        return d.Rows();
    if (setjmp(d.errors.exit)) {
        d.failed = !d.errors.warned;
        d.finished = true;
        return d.Rows();
    }
    if (!d.begun)
        Begin();
    if (d.finished)
        return d.Rows();
    const int end = d.Rows() + rows < d.Height() ? d.Rows() + rows : d.Height();
    JSAMPROW pointers[kRowsPerCall];
    while (d.Rows() < end) {
        const int count = end - d.Rows() < kRowsPerCall ? end - d.Rows() : kRowsPerCall;
        for (int i = 0; i < count; ++i)
            pointers[i] = d.surface->GetRowPtr(d.Rows() + i);
        jpeg_read_scanlines(&d.info, pointers, static_cast<JDIMENSION>(count));
    }
    if (d.Rows() == d.Height()) {
        jpeg_finish_decompress(&d.info);
        d.finished = true;
    }
    return d.Rows();
}

bool JpegRows::Finished() const
{
    return !m_decoder || m_decoder->finished;
}

bool JpegRows::Complete() const
{
    return m_decoder && m_decoder->finished && !m_decoder->failed && m_decoder->Rows() == m_decoder->plan.height;
}

bool JpegRows::Drawn() const
{
    return m_decoder && !m_decoder->failed;
}

} // namespace imaging
