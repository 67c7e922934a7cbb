// Composing pages into the window-sized picture and painting it, the page counter, and the
// progress bar's arithmetic.
#include "ViewTestSupport.h"
#include "view/ScreenImage.h"

#include <QPainter>
#include <QScreen>
#include <climits>

using namespace viewtest;

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFF;
} // namespace

class LayoutTest : public ViewTest {
public:
    QImage Shown() const { return m_view->screen()->grabWindow(m_view->winId()).toImage(); }
};

// Where the pages land: a few pixels probed per layout, one pixel inside the page's edge
// (the scalers never write the last column of the rectangle they are given, nor its last
// row where it meets the surface's edge), and the white beside and below it. Setup: the
// switches' letters, t turned once (the counter then shows 3/3), p probed in the painted
// window rather than the composed picture, g the window grown to twice its size on a dark
// desktop while no page is current. With S, sharpening only the pages and the ring around
// them must give what sharpening the whole window gives (pages without a colour are
// textured). With w the window is shown and turned once: a turn shows the new page unscaled
// over the previous picture at once (probed in the window at the first progress report of
// the composition), and after it only what changed is painted again, so the window must end
// up showing exactly the composed picture, every row width of it.
TEST_F(LayoutTest, PagesLandWhereTheirLayoutPutsThemWithWhiteAround) {
    const QColor white = Qt::white, red = Qt::red, blue = Qt::blue, grey(100, 100, 100), base(25, 30, 40);
    const PagePicture tall{250, 350}, wide{350, 250}, left{200, 300}, right{120, 300};
    // Colours short of full, so that the sharpen changes the pages' edges.
    const PagePicture large{200, 150, QColor(60, 90, 160)}, small{50, 40, QColor(200, 80, 60)};
    using Probes = std::vector<std::tuple<int, int, QColor>>;
    // clang-format off
    const std::tuple<const char*, QSize, std::string, std::vector<PagePicture>, Probes> cases[] = {
        {"wide page not fitted to the width", {800, 600}, "", {{1000, 500, blue}}, {{0, 0, blue}, {798, 399, blue}, {0, 400, white}, {799, 599, white}}},
        {"tall page not fitted to the height", {800, 600}, "", {{500, 1000, blue}}, {{299, 598, blue}, {300, 0, white}, {799, 599, white}}},
        {"smoothed page not fitted", {800, 600}, "s", {{500, 1000, blue}}, {{299, 598, blue}, {300, 0, white}}},
        {"small page not enlarged", {400, 300}, "", {{40, 30, blue}}, {{398, 298, blue}}},
        {"page scaled with fit off", {400, 300}, "o", {{40, 30, blue}}, {{39, 29, blue}, {40, 0, white}, {0, 30, white}}},
        {"page filtered with fit off", {400, 300}, "os", {{40, 30, grey}}, {{0, 0, grey}, {39, 29, grey}}},
        {"wide first page not alone over the whole area", {400, 300}, "2", {{400, 200, red}, {100, 200, blue}}, {{398, 0, red}, {0, 199, red}, {0, 200, white}}},
        {"two pages not in the halves", {801, 200}, "2", {{100, 200, red}, {100, 200, blue}}, {{0, 100, red}, {399, 100, white}, {400, 100, blue}}},
        {"flip not swapping the halves", {801, 200}, "2x", {{100, 200, red}, {100, 200, blue}}, {{0, 100, blue}, {400, 100, red}}},
        {"what no picture covers not in the desktop's base colour", {30, 20}, "pg", {{30, 20, blue}}, {{10, 10, blue}, {45, 10, base}, {10, 30, base}}},
        {"odd last page without a white partner", {400, 200}, "2t", {{100, 200, red}, {100, 200, red}, {100, 200, blue}}, {{0, 100, blue}, {250, 100, white}}},
        {"tall page sharpened apart", {400, 300}, "sS", {tall}, {}},
        {"wide page sharpened apart", {300, 400}, "sS", {wide}, {}},
        {"page wider than the window sharpened apart", {200, 200}, "sS", {wide}, {}},
        {"left page ending at the middle column sharpened apart", {400, 300}, "2sS", {left, right}, {}},
        {"left page ending two short of the middle sharpened apart", {404, 300}, "2sS", {left, right}, {}},
        {"pages far apart sharpened apart", {700, 300}, "2sS", {left, right}, {}},
        {"one page: no preview, or not the composed picture shown", {203, 150}, "saw", {large, small}, {{25, 20, small.color}, {150, 50, large.color}}},
        {"two pages: no preview, or not the composed picture shown", {203, 150}, "2saw", {large, large, small, small}, {{25, 20, small.color}, {150, 50, large.color}}},
    };
    // clang-format on
    for (const auto& [fault, window, setup, pages, probes] : cases) {
        SCOPED_TRACE(fault);
        Restart();
        m_view->resize(window);
        SetSwitches(setup);
        if (Has(setup, 'w')) {
            m_view->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        }
        OpenBook(pages);
        QImage preview;
        if (Has(setup, 'w')) {
            ASSERT_TRUE(WaitUntil([&] { return Near(Shown().pixel(150, 50), pages[0].color); }));
            m_frame.onProgress = [&] { preview = preview.isNull() ? Shown() : preview; };
        }
        ASSERT_TRUE(!(Has(setup, 't') || Has(setup, 'w')) || m_view->TurnPage(true));
        m_frame.onProgress = [] {};
        ASSERT_TRUE(!Has(setup, 't') || m_view->GetPageCounterText() == "3/3");
        if (Has(setup, 'g')) {
            QPalette dark;
            dark.setColor(QPalette::Window, QColor(53, 53, 53)), dark.setColor(QPalette::Base, base);
            m_view->setPalette(dark);
            m_view->m_itCurPage = m_view->m_pageList.size();
            m_view->resize(window * 2);
        }
        const QImage painted = m_view->grab().toImage();
        for (const auto& [x, y, color] : probes) {
            const std::uint32_t pixel = Has(setup, 'w')   ? preview.pixel(x, y) & kWhite
                                        : Has(setup, 'p') ? painted.pixel(x, y) & kWhite
                                                          : m_view->m_pScreen->GetPixel(x, y);
            EXPECT_TRUE(color == white ? pixel == kWhite : Near(pixel, color)) << x << "," << y;
        }
        EXPECT_TRUE(!m_frame.progress.empty() && m_frame.progress.back() == 0);
        const CDib& screen = *m_view->m_pScreen;
        EXPECT_TRUE(!Has(setup, 'w') || WaitUntil([&] {
            const QImage shown = Shown();
            bool same = true;
            for (int y = 0; y < screen.GetHeight(); ++y)
                for (int x = 0; x < screen.GetWidth(); ++x)
                    same = same && (shown.pixel(x, y) & kWhite) == screen.GetPixel(x, y);
            return same;
        })) << "the window is not the composed picture";
        if (!Has(setup, 'S'))
            continue;
        CDib whole;
        g_option.bSharpen = 0;
        if (g_option.bView2Page)
            m_view->ComposeTwoPages(m_view->m_pPage1, m_view->m_pPage2, &whole, false);
        else
            m_view->ComposeOnePage(m_view->m_pPage1, &whole, false);
        ASSERT_TRUE(whole.Sharpen());
        for (int y = 0; y < whole.GetHeight(); ++y)
            for (int x = 0; x < whole.GetWidth(); ++x)
                ASSERT_EQ(screen.GetPixel(x, y), whole.GetPixel(x, y)) << x << "," << y;
    }
}

// A surface painted into a window image: every pixel upright and unchanged for every row
// width (the fast path works in groups of four pixels), and no more than the part asked for,
// within the clip. The rows are widened straight into an image the painter draws into one to
// one, and go through a copy for any other painter: one that clips, scales, or draws into
// another format.
TEST(ScreenImageTest, PaintsEveryPixelOfThePartAskedForUprightAndNoMore) {
    const auto pattern = [](int x, int y) {
        return std::uint32_t((x * 37 + y * 11) & 0xFF) << 16 | 0x8000u | (y * 53 + x) % 256;
    };
    struct Painter {
        const char* fault;
        QImage::Format format;
        QPoint moved;    // the painter's translation, in device pixels
        QRect clip;      // none when empty
    };
    const Painter painters[] = {
        {"in place: rows shifted or written past the part", QImage::Format_RGB32, {}, {}},
        {"in place: the painter's move ignored", QImage::Format_ARGB32_Premultiplied, {2, 1}, {}},
        {"in place: the clip ignored", QImage::Format_RGB32, {}, {1, 1, 3, 2}},
        {"in place: a format of other bytes written as 32-bit", QImage::Format_RGB888, {1, 0}, {}}};
    for (const Painter& setup : painters)
        for (int width = 0; width <= 17; ++width) {
            CDib surface; // none at width 0: nothing is painted
            ASSERT_TRUE(width == 0 || surface.Create(width, 5, DIB_24BPP, 0));
            for (int y = 0; y < 5 * (width > 0); ++y)
                for (int x = 0; x < width; ++x)
                    surface.SetPixel(x, y, pattern(x, y));
            const int asked = width % 2 ? width + 3 : width - 1; // past the surface's edge, or short of it
            QImage window(20, 8, setup.format);
            window.fill(Qt::black);
            QPainter painter(&window);
            painter.translate(setup.moved);
            if (!setup.clip.isEmpty())
                painter.setClipRect(setup.clip.translated(-setup.moved));
            CScreenImage().Paint(painter, surface, asked, 4, 1.0);
            painter.end();
            const QRect shown = QRect(setup.moved, QSize(std::max(0, std::min(width, asked)), 4)) &
                                (setup.clip.isEmpty() ? window.rect() : setup.clip);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 20; ++x) {
                    ASSERT_EQ(window.pixel(x, y) & kWhite,
                              shown.contains(x, y) ? pattern(x - setup.moved.x(), y - setup.moved.y()) : 0u)
                        << setup.fault << ": width " << width << " at " << x << "," << y;
                }
        }
}

// At a device pixel ratio of 2 the painter scales by 2, and each surface pixel is one device
// pixel, painted in place; a painter that scales otherwise scales the picture, through the copy.
TEST(ScreenImageTest, PaintsOneDevicePixelPerSurfacePixelOnlyAtTheRatio) {
    CDib surface;
    ASSERT_TRUE(surface.Create(6, 4, DIB_24BPP, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            surface.SetPixel(x, y, std::uint32_t(x * 40) << 16 | std::uint32_t(y * 60));
    for (const int scale : {1, 2}) { // the painter's own scale beyond the ratio
        QImage window(12, 8, QImage::Format_RGB32);
        window.setDevicePixelRatio(2);
        window.fill(Qt::black);
        QPainter painter(&window);
        painter.scale(scale, scale);
        CScreenImage().Paint(painter, surface, QRect(2, 0, 4, 4), 2);
        painter.end();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x) {
                const int sx = x / scale, sy = y / scale;
                ASSERT_EQ(window.pixel(x, y) & kWhite,
                          sx >= 2 && sx < 6 && sy < 4 && x >= 2 * scale ? surface.GetPixel(sx, sy) : 0u)
                    << "scale " << scale << " at " << x << "," << y;
            }
    }
}

// Done, total, and the position set (-1: none).
TEST(ProgressCallback, PercentIsTruncatedClampedAndSafeFromZeroOverflowAndNoFrame) {
    const std::tuple<const char*, int, int, int> cases[] = {
        {"two thirds rounded up", 2, 3, 66},
        {"nearly all rounded up to done", 199, 200, 99},
        {"all done not full", 3, 3, 100},
        {"a zero total divided by", 0, 0, -1},
        {"a negative total taken", 5, -2, -1},
        {"more done than the total past the bar's end", 7, 5, 100},
        {"a negative count below the bar's start", -1, 5, 0},
        {"the largest counts overflowing", INT_MAX, INT_MAX, 100},
        {"half the largest total overflowing", INT_MAX / 2, INT_MAX, 49}};
    for (const auto& [fault, done, total, position] : cases) {
        FakeFrameHost host;
        ProgressCallback(done, total, &host);
        EXPECT_EQ(host.progress.empty() ? -1 : host.progress.back(), position) << fault;
    }
    ProgressCallback(1, 2, nullptr); // no frame: nothing to report to
}
