// What the view window shows around and during a composition: the desktop's base colour
// where no picture lies, and the previous picture around a quick preview.
#include "ViewTestSupport.h"

#include "settings/Option.h"

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QTest>

using namespace viewtest;

namespace {
// A dark desktop's palette: its base colour is far from both white and the window grey.
QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(25, 30, 40));
    return dark;
}

struct PaletteRow {
    const char* name;
    bool dark;
};
constexpr PaletteRow kPalettes[] = {
    {"a light desktop's base is white, not the grey of dialogs", false},
    {"a dark desktop's base, not a hard-coded white", true},
};

QColor Pixel(QWidget& widget, int x, int y) {
    return QColor(widget.grab().toImage().pixel(x, y));
}

// JPEG pages come back within a few levels of their colour.
bool Near(QColor shown, QColor expected) {
    return std::abs(shown.red() - expected.red()) <= 12 && std::abs(shown.green() - expected.green()) <= 12 &&
           std::abs(shown.blue() - expected.blue()) <= 12;
}
} // namespace

class LookTest : public ViewTest {};

TEST_F(LookTest, WhatNoPictureCoversShowsTheDesktopsBaseColour) {
    const QPalette light = QApplication::palette();
    for (const PaletteRow& row : kPalettes) {
        SCOPED_TRACE(row.name);
        QApplication::setPalette(row.dark ? DarkPalette() : light);
        const QColor base = QApplication::palette().color(QPalette::Base);
        auto view = std::make_unique<CTavimoView>();
        view->SetFrame(&m_frame);
        view->resize(50, 50);
        EXPECT_EQ(Pixel(*view, 2, 2), QColor(Qt::white)) << "the empty view's 4 by 4 picture";
        EXPECT_EQ(Pixel(*view, 20, 20), base) << "the empty view around its picture";

        // A picture composed for a smaller window, which has grown while no page is current.
        view->resize(30, 20);
        m_pages = WriteBook(TempPath(row.dark ? "dark" : "light"), {PagePicture{30, 20, Qt::blue}});
        view->ScanFolder(TempPath(row.dark ? "dark" : "light"));
        ASSERT_EQ(view->m_pScreen->GetWidth(), 30);
        view->m_itCurPage = view->m_pageList.size();
        view->resize(60, 40);
        EXPECT_TRUE(Near(Pixel(*view, 10, 10), Qt::blue));
        EXPECT_EQ(Pixel(*view, 45, 10), base) << "right of the composed picture";
        EXPECT_EQ(Pixel(*view, 10, 30), base) << "below the composed picture";
    }
    QApplication::setPalette(light);
}

namespace {
// Takes a picture of the window at the first progress report of a composition, that is
// after the quick preview and before the composed picture reaches the window.
class WindowAtFirstProgress : public FakeFrameHost {
public:
    void SetProgressPos(int position) override {
        if (view != nullptr && shown.isNull())
            shown = view->screen()->grabWindow(view->winId()).toImage();
        FakeFrameHost::SetProgressPos(position);
    }
    QWidget* view = nullptr;
    QImage shown;
};

struct PreviewRow {
    const char* name;
    bool twoPages;
    std::vector<PagePicture> book;
};
} // namespace

TEST_F(LookTest, QuickPreviewLeavesThePreviousPictureAroundThePage) {
    const PagePicture large{200, 150, Qt::blue}, small{50, 40, Qt::red};
    const PreviewRow rows[] = {
        {"one page", false, {large, small}},
        {"two pages", true, {large, large, small, small}},
    };
    WindowAtFirstProgress frame;
    m_view->SetFrame(&frame);
    m_view->resize(200, 150);
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    for (const PreviewRow& row : rows) {
        SCOPED_TRACE(row.name);
        g_option.bView2Page = row.twoPages;
        g_option.bInterpolation = 1; // the smooth scaler reports its progress
        m_pages = WriteBook(TempPath(row.name), row.book);
        m_view->ScanFolder(TempPath(row.name));
        ASSERT_TRUE(WaitUntil([&] {
            return Near(m_view->screen()->grabWindow(m_view->winId()).toImage().pixel(150, 50), Qt::blue);
        }));

        frame.shown = QImage();
        frame.view = m_view.get();
        ASSERT_TRUE(m_view->TurnPage(true));
        frame.view = nullptr;
        ASSERT_FALSE(frame.shown.isNull()) << "no progress was reported during the turn";
        EXPECT_TRUE(Near(frame.shown.pixel(25, 20), Qt::red)) << "the new page, unscaled at the corner";
        EXPECT_TRUE(Near(frame.shown.pixel(150, 50), Qt::blue)) << "the previous picture around it";
    }
    m_view->SetFrame(&m_frame);
}
