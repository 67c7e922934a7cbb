// What the view window shows around and during a composition: the desktop's base colour
// where no picture lies, and the previous picture around a quick preview.
#include "ViewTestSupport.h"

#include <QApplication>
#include <QPalette>

using namespace viewtest;

namespace {
// A dark desktop's palette: its base colour is far from both white and the window grey.
QPalette DarkPalette()
{
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

QColor Pixel(QWidget& widget, int x, int y)
{
    return QColor(widget.grab().toImage().pixel(x, y));
}

// JPEG pages come back within a few levels of their colour.
bool Near(QColor shown, QColor expected)
{
    return std::abs(shown.red() - expected.red()) <= 12 && std::abs(shown.green() - expected.green()) <= 12
           && std::abs(shown.blue() - expected.blue()) <= 12;
}
} // namespace

class LookTest : public ViewTest {};

TEST_F(LookTest, WhatNoPictureCoversShowsTheDesktopsBaseColour)
{
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
