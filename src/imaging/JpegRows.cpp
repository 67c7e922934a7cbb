#include "JpegRows.h"

#include "Decode.h"
#include "Dib.h"

#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>

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

} // namespace

struct JpegRows::Decoder {
    jpeg_decompress_struct info{};
    ErrorHandler errors{};
    jpeg_progress_mgr progress{};
    CDib* surface = nullptr;
    bool created = false;
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

bool JpegRows::Start(CDib& surface, const std::uint8_t* data, std::uint32_t size)
{
    const JpegPlan plan = PlanJpeg(data, size);
    if (plan.verdict != JpegVerdict::Decode)
        return false;
    m_decoder = std::make_unique<Decoder>();
    Decoder& d = *m_decoder;
    d.surface = &surface;
    if (!PrepareSurface(surface, plan.width, plan.height)) {
        m_decoder.reset();
        return false;
    }
    // From here on every outcome is the whole-picture decode's: an error before the first
    // row is a picture that failed, with the surface prepared as that decode leaves it.
    if (setjmp(d.errors.exit)) {
        d.failed = !d.errors.warned;
        d.finished = true;
        return true;
    }
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, data, size);
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = JCS_EXT_BGR;
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned>(plan.denominator);
    jpeg_start_decompress(&d.info);
    if (d.Height() != plan.height || static_cast<int>(d.info.output_width) != plan.width) {
        d.failed = true;
        d.finished = true;
    }
    return true;
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

bool JpegRows::Drawn() const
{
    return m_decoder && !m_decoder->failed;
}

} // namespace imaging
