// Page turns, jumps and their refusals in one-page and two-page view, preparing the next
// turn ahead and taking the prepared pictures at the turn; and the keys, wheel and mouse
// buttons over the view. Keys count as they lie on the keyboard: Shift lets them through,
// Alt and Ctrl leave them to the accelerator table, layouts do not move the digit row or
// the grave key.
#include "ViewTestSupport.h"
#include "view/CommandIds.h"
#include "view/Messages.h"

#include <QFile>

using namespace viewtest;

class NavigationTest : public ViewTest {};

// Setup: the switches' letters, W or S page 3 wide or square (wide pages stand alone), !
// page 2 unreadable. Moves: f forward, b backward, n and p ten pages
// on and back, h home, e end, s the page dialog, 1, 2 and 7 the timer ticks of that number
// (1 prepares forward, 2 backward), d every page file but the shown ones deleted, r a resize
// of the shown window, 5 a redraw. Expected: the page landed on, the first page prepared
// (-1 none), the notice given (waiting for OK when the setup holds k), a preparation still
// pending after the moves when it holds B.
TEST_F(NavigationTest, EachMoveLandsOnItsPagesPreparesTheNextOnesOrGivesItsNotice) {
    using namespace viewtext;
    // clang-format off
    const std::tuple<const char*, std::string, int, std::size_t, const char*, std::size_t, int, const char*> cases[] = {
        {"forward past the last page", "", 10, 9, "f", 9, -1, kLastPage},
        {"backward before the first page", "", 10, 0, "b", 0, -1, kFirstPage},
        {"two-page forward not by two", "2", 10, 4, "f", 6, -1, nullptr},
        {"two-page forward past the last full spread", "2", 10, 8, "f", 8, -1, kLastOfBook},
        {"two-page odd book: last page not reached or not beside white", "2", 9, 6, "f", 8, -1, nullptr},
        {"two-page backward from index one", "2", 10, 1, "b", 1, -1, kFirstPage},
        {"two-page backward not by two", "2", 10, 4, "b", 2, -1, nullptr},
        {"jump back below zero", "", 20, 4, "p", 0, -1, nullptr},
        {"jump back not by ten", "", 20, 15, "p", 5, -1, nullptr},
        {"jump forward past the end", "", 20, 14, "n", 19, -1, nullptr},
        {"jump forward not by ten", "", 20, 5, "n", 15, -1, nullptr},
        {"jump back on the first page silent", "", 20, 0, "p", 0, -1, kFirstPage},
        {"jump forward on the last page silent", "", 20, 19, "n", 19, -1, kLastOfBook},
        {"wide page not alone: forward", "2W", 8, 3, "f", 4, -1, nullptr},
        {"wide page not alone: backward", "2W", 8, 3, "b", 2, -1, nullptr},
        {"square page taken for wide", "2S", 8, 3, "f", 5, -1, nullptr},
        {"empty list: one-page turn not waiting for OK", "k", 0, 0, "f", 0, -1, kNoFiles},
        {"empty list: two-page turn waiting for OK", "2", 0, 0, "b", 0, -1, kNoFiles},
        {"empty list: jumps act, or the page dialog opens", "", 0, 0, "henps", 0, -1, kOpenFirst},
        {"second turn taken before the preparation's tick", "cB", 5, 0, "ff", 1, 2, nullptr},
        {"jump held back by a pending preparation", "cB", 5, 0, "fe", 4, -1, nullptr},
        {"backward turn not preparing the page before", "cB", 5, 3, "b", 2, 1, nullptr},
        {"unreadable page starting a two-page preparation", "2ck!", 6, 0, "f", 2, -1, kOpenFailed},
        {"one-page forward not preparing the next entry", "", 10, 8, "1", 8, 9, nullptr},
        {"one-page forward preparing past the last page", "", 10, 9, "1", 9, -1, nullptr},
        {"one-page backward not preparing the entry before", "", 3, 2, "2", 2, 1, nullptr},
        {"one-page backward preparing before the first page", "", 3, 0, "2", 0, -1, nullptr},
        {"two-page forward not preparing the next full spread", "2", 9, 2, "1", 2, 4, nullptr},
        {"two-page forward preparing a spread without its second page", "2", 9, 6, "1", 6, -1, nullptr},
        {"two-page backward not preparing the pair before", "2", 9, 4, "2", 4, 2, nullptr},
        {"two-page backward preparing from index two", "2", 9, 2, "2", 2, -1, nullptr},
        {"a vanished page's preparation reported or its key kept", "", 3, 0, "d1", 0, -1, nullptr},
        {"an unknown timer preparing", "", 3, 0, "7", 0, -1, nullptr},
        {"one-page turn not taking the prepared page", "", 6, 0, "1df", 1, -1, nullptr},
        {"two-page turn not taking the prepared pair", "2", 6, 0, "1df", 2, -1, nullptr},
        {"prepared screen of the old size taken", "", 6, 0, "1rf", 1, -1, nullptr},
        {"taken pictures shown again by a redraw", "", 6, 0, "1f5", 1, -1, nullptr},
        {"resize not recomposing, or decoding again", "", 6, 2, "dr", 2, -1, nullptr},
    };
    // clang-format on
    for (const auto& [fault, setup, count, from, moves, landsOn, prepared, notice] : cases) {
        SCOPED_TRACE(fault);
        Restart();
        SetSwitches(setup);
        std::vector<PagePicture> pages;
        for (int i = 0; i < count; ++i)
            pages.push_back(i == 2 && Has(setup, '!') ? PagePicture{}
                            : i != 3 || !(Has(setup, 'W') || Has(setup, 'S'))
                                ? NumberedPicture(i)
                                : PagePicture{Has(setup, 'W') ? 150 : 100, 100, Qt::red});
        if (count > 0) {
            OpenBook(pages);
            ASSERT_TRUE(WaitUntil([&] { return !m_view->m_bBusy; }));
            m_view->m_itCurPage = from;
            m_view->ShowCurrentPage();
        }
        m_messages.clear();
        for (const char* move = moves; *move; ++move) {
            // clang-format off
            switch (*move) {
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
                    if (i != from && !(g_option.bView2Page && i == from + 1))
                        QFile::remove(QString::fromStdString(m_pages[i]));
                break;
            default: m_view->OnTimer(*move - '0');
            }
            // clang-format on
        }
        EXPECT_EQ(Texts(), notice ? std::vector{QString::fromUtf8(notice)} : std::vector<QString>{});
        // Notices close themselves (type 1) unless the setup asks to wait for OK.
        EXPECT_EQ(notice ? m_messages.back().type : -1, !notice ? -1 : Has(setup, 'k') ? int(MB_OK) : 1);
        EXPECT_EQ(m_view->m_bBusy, Has(setup, 'B'));
        ASSERT_TRUE(WaitUntil([&] { return !m_view->m_bBusy; }));
        EXPECT_FALSE(m_view->IsTimerRunning(1) || m_view->IsTimerRunning(2));
        EXPECT_EQ(m_view->m_strPrepared, prepared < 0 ? "" : m_pages[std::size_t(prepared)]);
        const auto width = [&](std::size_t page) { return page < pages.size() ? pages[page].width : -1; };
        EXPECT_TRUE(prepared < 0 || m_view->m_pNextPage1->GetWidth() == width(std::size_t(prepared)));
        EXPECT_TRUE(prepared < 0 || !g_option.bView2Page ||
                    m_view->m_pNextPage2->GetWidth() == width(std::size_t(prepared) + 1));
        EXPECT_EQ(m_view->HasCurrentPage(), count > 0);
        if (count == 0 || pages[landsOn].width == 0)
            continue;
        EXPECT_EQ(m_view->m_itCurPage, landsOn);
        EXPECT_EQ(CurrentWidth(), width(landsOn));
        EXPECT_EQ(m_frame.titles.back().toStdString(), "Tavimo [" + m_pages[landsOn] + "]");
        EXPECT_EQ(QSize(m_view->m_pScreen->GetWidth(), m_view->m_pScreen->GetHeight()), m_view->size());
        if (g_option.bView2Page) { // the next page stands beside, or white after the last page
            const CDib& partner = *m_view->m_pPage2;
            const bool white = (partner.GetPixel(0, 0) & partner.GetPixel(partner.GetWidth() - 1, 50)) == 0xFFFFFF;
            EXPECT_EQ(white ? -1 : partner.GetWidth(), width(landsOn + 1));
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
