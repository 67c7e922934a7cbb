// Page turns, jumps and their refusals in one-page and two-page view, preparing the next
// turn ahead and taking the prepared pictures at the turn; and the keys, wheel and mouse
// buttons over the view. Keys count as they lie on the keyboard: Shift lets them through,
// Alt and Ctrl leave them to the accelerator table, layouts do not move the digit row or
// the grave key.
#include "ViewTestSupport.h"
#include "view/CommandIds.h"
#include "view/Messages.h"

#include <QFile>
#include <QRegularExpression>
#include <map>

using namespace viewtest;

class NavigationTest : public ViewTest {};

// Each row reads a book of numbered pages through steps "[from:]moves=page[>prepared][notice][+]":
// from the page the step starts on, then the moves: f forward, b backward, n and p ten pages
// on and back, h home, e end, s the page dialog, 1, 2 and 7 the timer ticks of that number
// (1 prepares forward, 2 backward), d every page file but the shown ones deleted, r a resize
// of the shown window, 5 a redraw. Expected: the page landed on (- none), the first page
// prepared, the notice given (L last page, E last of the book, F first page, N no files, O
// open a book first, X open failed; lower case when it waits for OK) and + a preparation
// still pending after the moves. Setup: the switches' letters, W or S page 3 wide or square
// (wide pages stand alone), ! page 2 unreadable.
TEST_F(NavigationTest, EachMoveLandsOnItsPagesPreparesTheNextOnesOrGivesItsNotice) {
    using namespace viewtext;
    // clang-format off
    const std::tuple<const char*, std::string, int, const char*> cases[] = {
        {"one page: turns past either end, preparing not the next entry", "", 10, "9:f=9L 9:1=9 0:b=0F 8:1=8>9"},
        {"two pages: turns not by two, past the last full spread or index one", "2", 10, "4:f=6 8:f=8E 1:b=1F 4:b=2"},
        {"odd book: last page not beside white, wrong spread prepared", "2", 9, "6:f=8 2:1=2>4 6:1=6 4:2=4>2 2:2=2"},
        {"ten-page jumps not by ten, past an end, or silent", "", 20, "4:p=0 15:p=5 14:n=19 5:n=15 0:p=0F 19:n=19E"},
        {"wide page not alone in a turn either way", "2W", 8, "3:f=4 3:b=2"},
        {"square page taken for wide", "2S", 8, "3:f=5"},
        {"empty list: one-page turn not waiting for OK, jumps act, the page dialog opens", "", 0, "f=-n henps=-O"},
        {"empty list: two-page turn waiting for OK", "2", 0, "b=-N"},
        {"reading ahead: 2nd turn before the tick, jump held, back unprepared", "c", 5, "0:ff=1>2+ 0:fe=4+ 3:b=2>1+"},
        {"unreadable page starting a two-page preparation", "2c!", 6, "0:f=2x"},
        {"one page: the entry before not prepared, or an unknown timer preparing", "", 3, "2:2=2>1 0:2=0 0:7=0"},
        {"a vanished page's preparation reported or its key kept", "", 3, "0:d1=0"},
        {"prepared page not taken, old-size screen taken, taken ones shown again", "", 6, "0:1rf=1 0:1f5=1 0:1df=1"},
        {"two-page turn not taking the prepared pair", "2", 6, "0:1df=2"},
        {"resize not recomposing, or decoding again", "", 6, "2:dr=2"},
    };
    // clang-format on
    const std::map<QChar, const char*> notices = {{'L', kLastPage}, {'E', kLastOfBook}, {'F', kFirstPage},
                                                  {'N', kNoFiles},  {'O', kOpenFirst},  {'X', kOpenFailed}};
    const QRegularExpression stepFormat("^(?:(\\d+):)?([^=]*)=(-|\\d+)(?:>(\\d+))?([LEFNOXlefnox])?(\\+)?$");
    for (const auto& [fault, setup, count, steps] : cases) {
        SCOPED_TRACE(fault);
        Restart();
        SetSwitches(setup);
        std::vector<PagePicture> pages;
        for (int i = 0; i < count; ++i)
            pages.push_back(i == 2 && Has(setup, '!') ? PagePicture{}
                            : i != 3 || !(Has(setup, 'W') || Has(setup, 'S'))
                                ? NumberedPicture(i)
                                : PagePicture{Has(setup, 'W') ? 150 : 100, 100, Qt::red});
        if (count > 0)
            OpenBook(pages);
        for (const QString& step : QString(steps).split(' ')) {
            SCOPED_TRACE(step.toStdString());
            const QRegularExpressionMatch parts = stepFormat.match(step);
            ASSERT_TRUE(parts.hasMatch() && WaitUntil([&] { return !m_view->m_bBusy; }));
            if (parts.hasCaptured(1))
                m_view->m_itCurPage = parts.captured(1).toUInt(), m_view->ShowCurrentPage();
            m_messages.clear();
            for (const QChar move : parts.captured(2)) {
                // clang-format off
                switch (move.toLatin1()) {
                case 'f': m_view->TurnPage(true); break;
                case 'b': m_view->TurnPage(false); break;
                case 'n': m_view->OnNext10(); break;
                case 'p': m_view->OnPrev10(); break;
                case 'h': m_view->ShowFirstPage(); break;
                case 'e': m_view->ShowLastPage(); break;
                case 's': m_view->SelectPage(); break;
                case '5': m_view->ShowCurrentPage(); break;
                case 'r':
                    m_view->show(), m_view->resize(260, 180);
                    WaitUntil([&] { return m_view->m_pScreen->GetWidth() == 260; });
                    break;
                case 'd':
                    for (std::size_t i = 0; i < m_pages.size(); ++i)
                        if (i != m_view->m_itCurPage && !(g_option.bView2Page && i == m_view->m_itCurPage + 1))
                            QFile::remove(QString::fromStdString(m_pages[i]));
                    break;
                default: m_view->OnTimer(move.digitValue());
                }
                // clang-format on
            }
            const QString notice = parts.captured(5);
            EXPECT_EQ(Texts(), notice.isEmpty()
                                   ? std::vector<QString>{}
                                   : std::vector{QString::fromUtf8(notices.at(notice.toUpper()[0]))});
            const int waits = notice.isEmpty() || m_messages.empty() ? -1 : m_messages.back().type;
            EXPECT_EQ(waits, notice.isEmpty() ? -1 : notice[0].isLower() ? int(MB_OK) : 1);
            EXPECT_EQ(m_view->m_bBusy, parts.hasCaptured(6));
            ASSERT_TRUE(WaitUntil([&] { return !m_view->m_bBusy; }));
            EXPECT_FALSE(m_view->IsTimerRunning(1) || m_view->IsTimerRunning(2));
            const std::size_t prepared = parts.hasCaptured(4) ? parts.captured(4).toUInt() : pages.size();
            const auto width = [&](std::size_t page) { return page < pages.size() ? pages[page].width : -1; };
            EXPECT_EQ(m_view->m_strPrepared, prepared < pages.size() ? m_pages[prepared] : "");
            EXPECT_TRUE(prepared == pages.size() || m_view->m_pNextPage1->GetWidth() == width(prepared));
            EXPECT_TRUE(prepared == pages.size() || !g_option.bView2Page ||
                        m_view->m_pNextPage2->GetWidth() == width(prepared + 1));
            EXPECT_EQ(m_view->HasCurrentPage(), count > 0);
            const std::size_t landsOn = parts.captured(3).toUInt();
            if (count == 0 || pages[landsOn].width == 0)
                continue;
            EXPECT_EQ(m_view->m_itCurPage, landsOn);
            EXPECT_EQ(CurrentWidth(), width(landsOn));
            EXPECT_EQ(m_frame.titles.back().toStdString(), "Tavimo [" + m_pages[landsOn] + "]");
            EXPECT_EQ(QSize(m_view->m_pScreen->GetWidth(), m_view->m_pScreen->GetHeight()), m_view->size());
            if (g_option.bView2Page) { // the next page stands beside, or white after the last page
                const CDib& partner = *m_view->m_pPage2;
                const bool white =
                    (partner.GetPixel(0, 0) & partner.GetPixel(partner.GetWidth() - 1, 50)) == 0xFFFFFF;
                EXPECT_EQ(white ? -1 : partner.GetWidth(), width(landsOn + 1));
            }
        }
    }
}

TEST_F(NavigationTest, DrawingSwitchesAndTheOptionsDialogForgetWhatWasPrepared) {
    OpenBook(4);
    m_view->m_streamTurns = false; // a streamed turn forgets what was prepared by itself
    for (auto handler : {&CTavimoView::OnInterpolation, &CTavimoView::OnSharpen, &CTavimoView::OnZoomToggle,
                         &CTavimoView::OnRotate, &CTavimoView::OnView2Page, &CTavimoView::OnViewOnePage,
                         &CTavimoView::OnOptionsChanged}) {
        m_view->m_itCurPage = 0;
        m_view->OnTimer(1);
        ASSERT_FALSE(m_view->m_strPrepared.empty());
        (m_view.get()->*handler)();
        EXPECT_TRUE(m_view->m_strPrepared.empty());
    }
}

namespace {
enum Effect { Nothing, Forward, Backward, Redraw, TwoPagesOn, TwoPagesOff };
using Input = std::function<void(CTavimoView&)>;

// A key press with the native code the platform reports: an X keycode (11 is 2, 25 W, 49
// grave, 52 Z, 88 keypad 2 on a US keyboard) or, from 0x100 on, a Windows scan code.
Input Key(int key, Qt::KeyboardModifiers modifiers = {}, quint32 native = 0) {
    return [=](CTavimoView& view) {
        view.m_keyCodes = native == 0      ? NativeKeyCodes::None
                          : native < 0x100 ? NativeKeyCodes::XKeycodes
                                           : NativeKeyCodes::WindowsScanCodes;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, native & 0xFF, 0, 0);
        QCoreApplication::sendEvent(&view, &press);
    };
}
Input Click(int x, int y) {
    return [=](CTavimoView& view) { QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(x, y)); };
}
Input Send(QEvent* event) {
    return [held = std::shared_ptr<QEvent>(event)](CTavimoView& view) {
        QCoreApplication::sendEvent(&view, held.get());
    };
}
const std::vector<int> kBars = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};
} // namespace

// Setup: 2 two-page view, r rotated, - no page current.
TEST_F(NavigationTest, EachInputReachesItsActionAndNothingElse) {
    // clang-format off
    const std::tuple<const char*, Input, Effect, std::vector<int>, std::string> cases[] = {
        {"Insert", Key(Qt::Key_Insert), Forward, {}, ""},
        {"Left turns", Key(Qt::Key_Left), Nothing, {}, ""},
        {"F5 does not redraw", Key(Qt::Key_F5), Redraw, {}, ""},
        {"S switches sharpen itself instead of posting", Key(Qt::Key_S), Nothing, {ID_SHARPEN}, ""},
        {"I", Key(Qt::Key_I), Nothing, {ID_INTERPOLATION}, ""},
        {"F", Key(Qt::Key_F), Nothing, {ID_FULLSCREEN}, ""},
        {"Tab flips in one-page view", Key(Qt::Key_Tab), Nothing, {}, ""},
        {"2 does not toggle two-page view off", Key(Qt::Key_2), TwoPagesOff, {}, "2"},
        {"1 toggles", Key(Qt::Key_1), Nothing, {}, ""},
        {"Shift+2 reported as @ is not key 2", Key(Qt::Key_At, Qt::ShiftModifier, 11), TwoPagesOn, {}, ""},
        {"Shift+2 where no native code is known", Key(Qt::Key_2, Qt::ShiftModifier), TwoPagesOn, {}, ""},
        {"Shift+2 on Windows", Key(Qt::Key_At, Qt::ShiftModifier, 0x103), TwoPagesOn, {}, ""},
        {"Alt+2 is a system key, left to the accelerators", Key(Qt::Key_2, Qt::AltModifier, 11), Nothing, {}, ""},
        {"Ctrl+2", Key(Qt::Key_2, Qt::ControlModifier, 11), Nothing, {}, ""},
        {"keypad 2 with Num Lock on is no digit-row key", Key(Qt::Key_2, Qt::KeypadModifier, 88), Nothing, {}, ""},
        {"keypad 2 with Num Lock off is Down", Key(Qt::Key_Down, Qt::KeypadModifier, 88), Forward, {}, ""},
        {"Shift+grave reported as ~", Key(Qt::Key_AsciiTilde, Qt::ShiftModifier, 49), Nothing, kBars, ""},
        {"the grave key of a German layout on Windows", Key(Qt::Key_Dead_Circumflex, {}, 0x129), Nothing, kBars, ""},
        {"grave where no native code is known", Key(Qt::Key_QuoteLeft), Nothing, kBars, ""},
        {"the letter Z where a French layout has it", Key(Qt::Key_Z, {}, 25), Nothing, {ID_ZOOM_TOGGLE}, ""},
        {"a French layout's W on the US Z place", Key(Qt::Key_W, {}, 52), Nothing, {}, ""},
        {"a Russian layout's letter on the Z place", Key(0x042F, {}, 52), Nothing, {ID_ZOOM_TOGGLE}, ""},
        {"click just above the middle row", Click(100, 74), Backward, {}, ""},
        {"click on the middle row", Click(100, 75), Forward, {}, ""},
        {"rotated: click left of the middle column", Click(99, 140), Backward, {}, "r"},
        {"rotated: click on the middle column", Click(100, 5), Forward, {}, "r"},
        {"click with no page current", Click(100, 140), Nothing, {}, "-"},
        {"a small notch towards the reader", Send(new QWheelEvent({1, 1}, {1, 1}, {}, {0, -15}, {}, {}, Qt::NoScrollPhase, false)), Forward, {}, ""},
        {"double click", Send(new QMouseEvent(QEvent::MouseButtonDblClick, {1, 1}, {1, 1}, Qt::LeftButton, Qt::LeftButton, {})), Nothing, {ID_VIEW_TOOLBAR}, ""},
    };
    // clang-format on
    OpenBook(6);
    for (const auto& [fault, input, effect, posted, setup] : cases) {
        SCOPED_TRACE(fault);
        const bool twoPages = (g_option.bView2Page = setup == "2");
        g_option.bRotate = setup == "r";
        const std::size_t from = m_view->m_itCurPage = setup == "-" ? 6 : 2;
        m_view->ShowCurrentPage();
        m_frame.posted.clear();
        const std::size_t titles = m_frame.titles.size();
        input(*m_view);
        EXPECT_EQ(m_view->m_itCurPage, effect == Forward ? from + 1 : effect == Backward ? from - 1 : from);
        EXPECT_EQ(g_option.bView2Page != 0, effect == TwoPagesOn || (twoPages && effect != TwoPagesOff));
        EXPECT_EQ(g_option.bFlipPage, 0);
        EXPECT_EQ(m_frame.posted, posted);
        EXPECT_EQ(m_frame.titles.size(), titles + (effect != Nothing));
    }
    EXPECT_TRUE(m_messages.empty());
}
