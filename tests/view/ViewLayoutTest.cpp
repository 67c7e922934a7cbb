// Composing pages into the window-sized picture, painting it, the title and the counter.
#include "ViewTestSupport.h"

#include "ImageFixtures.h"
#include "settings/Option.h"

#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTest>

using namespace viewtest;

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFF;

bool Near(std::uint32_t pixel, QColor expected, int tolerance = 12)
{
    const int r = int(pixel >> 16 & 0xFF), g = int(pixel >> 8 & 0xFF), b = int(pixel & 0xFF);
    return std::abs(r - expected.red()) <= tolerance && std::abs(g - expected.green()) <= tolerance
           && std::abs(b - expected.blue()) <= tolerance;
}
} // namespace

// The scalers never write the last column of the rectangle they are given (nor its last row
// where it meets the surface's edge), so the checks below look one pixel inside.
class LayoutTest : public ViewTest {
protected:
    // Opens a one-picture folder book with a solid page of the given size and colour.
    void OpenSinglePage(int width, int height, QColor color = Qt::blue)
    {
        m_pages = WriteBook(TempPath("single"), {PagePicture{width, height, color}});
        m_view->ScanFolder(TempPath("single"));
    }
};

TEST_F(LayoutTest, FreshViewHoldsFourByFourWhiteSurfacesAndShowsNoPage)
{
    EXPECT_EQ(m_view->m_sourceKind, SOURCE_FOLDER);
    EXPECT_FALSE(m_view->HasCurrentPage());
    for (CDib* surface : {m_view->m_pPage1, m_view->m_pPage2, m_view->m_pScreen, m_view->m_pNextPage1,
                          m_view->m_pNextPage2, m_view->m_pNextScreen}) {
        EXPECT_EQ(surface->GetWidth(), 4);
        EXPECT_EQ(surface->GetHeight(), 4);
        EXPECT_EQ(surface->GetPixel(3, 3), kWhite);
    }
    EXPECT_FALSE(m_view->ShowCurrentPage());
    m_view->resize(300, 200);
    EXPECT_EQ(m_view->m_pScreen->GetWidth(), 4); // nothing to recompose
    EXPECT_TRUE(m_view->GetPageCounterText().isEmpty());
}

TEST_F(LayoutTest, SharpenAndSmoothingDoNothingWithFitOff)
{
    m_view->resize(100, 100);
    const std::string folder = TempPath("pattern");
    QImage checker(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            checker.setPixel(x, y, (x / 4 + y / 4) % 2 ? qRgb(30, 30, 30) : qRgb(220, 220, 220));
    QDir().mkpath(QString::fromStdString(folder));
    ASSERT_TRUE(fixtures::WriteFile(folder + "/p.bmp", fixtures::EncodeBmp(checker)));
    g_option.bStretech = 0;
    m_view->ScanFolder(folder);
    std::vector<std::uint32_t> plain;
    for (int x = 0; x < 40; ++x)
        plain.push_back(m_view->m_pScreen->GetPixel(x, 5));
    g_option.bSharpen = 1;
    g_option.bInterpolation = 1;
    m_view->ShowCurrentPage();
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(m_view->m_pScreen->GetPixel(x, 5), plain[std::size_t(x)]) << "column " << x;
    EXPECT_EQ(plain[0], 0x1E1E1Eu); // row 5 starts on a dark square
}

// Where the pages land in the window: a few pixels probed per layout, one pixel inside the
// page's edge, and the white beside and below it.
struct Probe {
    int x, y;
    QColor color;
};
struct LayoutCase {
    const char* fault;
    QSize window;
    bool twoPages, fit;
    std::vector<PagePicture> pages;
    int turns;
    std::vector<Probe> probes;
};

TEST_F(LayoutTest, PagesLandWhereTheirLayoutPutsThemWithWhiteAround)
{
    const QColor white = Qt::white, red = Qt::red, blue = Qt::blue, green = Qt::green;
    const LayoutCase cases[] = {
        {"wide page not fitted to the width", {800, 600}, false, true, {{1000, 500, blue}}, 0,
         {{0, 0, blue}, {798, 399, blue}, {0, 400, white}, {799, 599, white}}},
        {"tall page not fitted to the height", {800, 600}, false, true, {{500, 1000, blue}}, 0,
         {{299, 598, blue}, {300, 0, white}, {799, 599, white}}},
        {"small page not enlarged", {400, 300}, false, true, {{40, 30, blue}}, 0, {{398, 298, blue}}},
        {"page scaled with fit off", {400, 300}, false, false, {{40, 30, blue}}, 0,
         {{39, 29, blue}, {40, 0, white}, {0, 30, white}}},
        {"wide first page not alone over the whole area", {400, 300}, true, true,
         {{400, 200, red}, {100, 200, blue}}, 0, {{398, 0, red}, {0, 199, red}, {0, 200, white}}},
        {"odd last page without a white partner", {400, 200}, true, true,
         {{100, 200, red}, {100, 200, green}, {100, 200, blue}}, 1, {{0, 100, blue}, {250, 100, white}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.fault);
        TearDown();
        SetUp();
        m_view->resize(c.window);
        g_option.bView2Page = c.twoPages;
        g_option.bAutoDetectWidth = 1;
        g_option.bStretech = c.fit;
        m_pages = WriteBook(TempPath(std::to_string(&c - cases)), c.pages);
        m_view->ScanFolder(TempPath(std::to_string(&c - cases)));
        for (int i = 0; i < c.turns; ++i)
            ASSERT_TRUE(m_view->TurnPage(true));
        for (const Probe& p : c.probes) {
            const std::uint32_t pixel = m_view->m_pScreen->GetPixel(p.x, p.y);
            if (p.color == white)
                EXPECT_EQ(pixel, kWhite) << p.x << "," << p.y;
            else
                EXPECT_TRUE(Near(pixel, p.color)) << p.x << "," << p.y;
        }
    }
    EXPECT_EQ(m_view->GetPageCounterText(), QString("3/3"));
}

TEST_F(LayoutTest, TwoPagesStandInTheLeftAndRightHalvesAndFlipSwapsThem)
{
    m_view->resize(801, 200);
    g_option.bView2Page = 1;
    m_pages = WriteBook(TempPath("pair"), {PagePicture{100, 200, Qt::red}, PagePicture{100, 200, Qt::blue}});
    m_view->ScanFolder(TempPath("pair"));
    ASSERT_EQ(m_view->m_pScreen->GetWidth(), 801);
    // half = 400: the right page starts at column 400.
    EXPECT_TRUE(Near(m_view->m_pScreen->GetPixel(0, 100), Qt::red));
    EXPECT_EQ(m_view->m_pScreen->GetPixel(399, 100), kWhite);
    EXPECT_TRUE(Near(m_view->m_pScreen->GetPixel(400, 100), Qt::blue));

    m_view->OnFlip();
    EXPECT_TRUE(Near(m_view->m_pScreen->GetPixel(0, 100), Qt::blue));
    EXPECT_TRUE(Near(m_view->m_pScreen->GetPixel(400, 100), Qt::red));
}

TEST_F(LayoutTest, FlipDoesNothingInOnePageView)
{
    OpenBook(2);
    m_view->OnFlip();
    EXPECT_EQ(g_option.bFlipPage, 0);
}

TEST_F(LayoutTest, PaintingShowsTheComposedPictureUprightAndTheWindowColourAround)
{
    m_view->resize(200, 100);
    QImage halves(200, 100, QImage::Format_RGB32);
    halves.fill(Qt::red);
    for (int y = 50; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            halves.setPixel(x, y, qRgb(0, 0, 255));
    const std::string folder = TempPath("upright");
    QDir().mkpath(QString::fromStdString(folder));
    ASSERT_TRUE(fixtures::WriteFile(folder + "/a.bmp", fixtures::EncodeBmp(halves)));
    m_view->ScanFolder(folder);
    const QImage shown = m_view->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(10, 10)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(10, 90)), QColor(Qt::blue));
}

TEST_F(LayoutTest, FreshViewPaintsOnlyItsSmallWhiteSquare)
{
    m_view->resize(50, 50);
    const QImage shown = m_view->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(0, 0)), QColor(Qt::white));
    EXPECT_EQ(QColor(shown.pixel(20, 20)), m_view->palette().base().color());
}

TEST_F(LayoutTest, ResizeRecomposesTheSamePicturesWithoutDecoding)
{
    m_view->resize(200, 150);
    OpenSinglePage(100, 100);
    CDib* page = m_view->m_pPage1;
    m_view->show();
    m_view->resize(300, 250);
    ASSERT_TRUE(WaitUntil([&] { return m_view->m_pScreen->GetWidth() == 300; }));
    EXPECT_EQ(m_view->m_pScreen->GetHeight(), 250);
    EXPECT_EQ(m_view->m_pPage1, page);
    EXPECT_TRUE(Near(m_view->m_pScreen->GetPixel(249, 248), Qt::blue));
    EXPECT_EQ(m_view->m_pScreen->GetPixel(250, 0), kWhite);
}

TEST_F(LayoutTest, FolderTitleNamesThePathAndCounterShowsPositionOfCount)
{
    OpenBook(10);
    ASSERT_FALSE(m_frame.titles.empty());
    EXPECT_EQ(m_frame.titles.back(), QString("Tavimo [%1]").arg(QString::fromStdString(m_pages[0])));
    m_view->m_itCurPage = 2;
    m_view->ShowCurrentPage();
    EXPECT_EQ(m_view->GetPageCounterText(), QString("3/10"));
}

TEST_F(LayoutTest, ProgressReturnsToZeroAfterASmoothedComposition)
{
    g_option.bInterpolation = 1;
    g_option.bSharpen = 1;
    OpenSinglePage(300, 400);
    ASSERT_FALSE(m_frame.progress.empty());
    EXPECT_EQ(m_frame.progress.back(), 0);
}

TEST_F(LayoutTest, FitToggleSwitchesBetweenFittedAndOwnSize)
{
    m_view->resize(400, 300);
    OpenSinglePage(40, 30);
    m_view->OnZoomToggle();
    EXPECT_EQ(g_option.bStretech, 0);
    EXPECT_EQ(m_view->m_pScreen->GetPixel(100, 100), kWhite);
    m_view->OnZoomToggle();
    EXPECT_EQ(g_option.bStretech, 1);
    EXPECT_TRUE(Near(m_view->m_pScreen->GetPixel(100, 100), Qt::blue));
}

// Sharpening only the pages and the ring around them must give the picture that sharpening
// the whole window gives.
class SharpenedLayoutTest : public LayoutTest {
protected:
    // A book of textured pages (lossless, so that every pixel is known).
    void OpenTexturedBook(const std::vector<QSize>& sizes)
    {
        const std::string folder = TempPath("textured");
        QDir().mkpath(QString::fromStdString(folder));
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const QImage page = fixtures::ScanLikePage(sizes[i].width(), sizes[i].height(), unsigned(i + 1));
            ASSERT_TRUE(fixtures::WriteFile(folder + "/" + QString::asprintf("p%02d.bmp", int(i)).toStdString(),
                                            fixtures::EncodeBmp(page)));
        }
        g_option.bInterpolation = 1;
        m_view->ScanFolder(folder);
    }

    // The composition of the current pages with sharpen on, against the one with sharpen off
    // then sharpened as a whole.
    std::string CompareWithWholeSharpen()
    {
        CDib unsharpened, sharpened;
        g_option.bSharpen = 0;
        ComposeCurrent(&unsharpened);
        g_option.bSharpen = 1;
        ComposeCurrent(&sharpened);
        EXPECT_TRUE(unsharpened.Sharpen());
        return FirstDifferingPixel(sharpened, unsharpened);
    }

    void ComposeCurrent(CDib* target)
    {
        if (g_option.bView2Page)
            m_view->ComposeTwoPages(m_view->m_pPage1, m_view->m_pPage2, target, false);
        else
            m_view->ComposeOnePage(m_view->m_pPage1, target, false);
    }

    static std::string FirstDifferingPixel(const CDib& a, const CDib& b)
    {
        if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
            return "sizes differ";
        for (int y = 0; y < a.GetHeight(); ++y)
            for (int x = 0; x < a.GetWidth(); ++x)
                if (a.GetPixel(x, y) != b.GetPixel(x, y))
                    return "pixel " + std::to_string(x) + "," + std::to_string(y);
        return "";
    }
};

TEST_F(SharpenedLayoutTest, OnePageOnWhiteMatchesTheWholeWindowSharpened)
{
    for (const QSize window : {QSize(400, 300), QSize(300, 400), QSize(200, 200)}) {
        m_view->resize(window);
        OpenTexturedBook({QSize(250, 350), QSize(350, 250)});
        EXPECT_EQ(CompareWithWholeSharpen(), "") << "tall page in " << window.width() << "x" << window.height();
        ASSERT_TRUE(m_view->TurnPage(true));
        EXPECT_EQ(CompareWithWholeSharpen(), "") << "wide page in " << window.width() << "x" << window.height();
    }
}

TEST_F(SharpenedLayoutTest, TwoPagesCloseTogetherOrApartMatchTheWholeWindowSharpened)
{
    g_option.bView2Page = 1;
    // The left page ends at, one short of, two short of and far from the middle column.
    for (const int width : {400, 401, 404, 406, 700}) {
        m_view->resize(width, 300);
        OpenTexturedBook({QSize(200, 300), QSize(120, 300)});
        EXPECT_EQ(CompareWithWholeSharpen(), "") << "window width " << width;
    }
}

// After a turn drawn before its sharpen, only the sharpened part is painted again: the
// window must still end up showing exactly the composed picture.
TEST_F(SharpenedLayoutTest, WindowShowsTheSharpenedPictureAfterAnUnpreparedTurn)
{
    for (const int twoPages : {0, 1}) {
        g_option.bView2Page = twoPages;
        m_view->resize(320, 200);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        g_option.bSharpen = 1;
        OpenTexturedBook({QSize(150, 200), QSize(180, 190), QSize(150, 200), QSize(180, 190)});
        ASSERT_TRUE(m_view->TurnPage(true));
        QImage shown;
        const CDib& screen = *m_view->m_pScreen;
        const auto showsScreen = [&] {
            shown = m_view->screen()->grabWindow(m_view->winId()).toImage();
            if (shown.width() < screen.GetWidth() || shown.height() < screen.GetHeight())
                return false;
            for (int y = 0; y < screen.GetHeight(); ++y)
                for (int x = 0; x < screen.GetWidth(); ++x)
                    if ((shown.pixel(x, y) & 0xFFFFFF) != screen.GetPixel(x, y))
                        return false;
            return true;
        };
        EXPECT_TRUE(WaitUntil(showsScreen)) << (twoPages ? "two pages" : "one page");
    }
}
