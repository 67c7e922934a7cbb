// The view's keys as they lie on the keyboard: Shift lets them through, Alt and Ctrl leave
// them to the accelerator table, layouts do not move the digit row or the grave key.
#include "ViewTestSupport.h"

#include "settings/Option.h"
#include "view/CommandIds.h"

#include <QCoreApplication>
#include <QKeyEvent>

using namespace viewtest;

namespace {

enum class Effect { Nothing, TwoPageToggle, TurnForward, ToggleBars, PostZoom };

constexpr NativeKeyCodes kNone = NativeKeyCodes::None, kX = NativeKeyCodes::XKeycodes,
                         kWindows = NativeKeyCodes::WindowsScanCodes;

struct KeyRow {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;
    NativeKeyCodes codes;
    Effect effect;
};

// X keycodes: 10 is 1, 11 is 2, 25 is W, 49 grave, 52 Z, 65 Space, 88 keypad 2 (US places).
const KeyRow kKeyRows[] = {
    {"plain 2", Qt::Key_2, Qt::NoModifier, 11, kX, Effect::TwoPageToggle},
    {"Shift+2 reported as @ is still key 2", Qt::Key_At, Qt::ShiftModifier, 11, kX, Effect::TwoPageToggle},
    {"Shift+2 where no native code is known", Qt::Key_2, Qt::ShiftModifier, 0, kNone, Effect::TwoPageToggle},
    {"Shift+2 on Windows", Qt::Key_At, Qt::ShiftModifier, 0x03, kWindows, Effect::TwoPageToggle},
    {"the 2 key of a French layout, which types é", Qt::Key_Eacute, Qt::NoModifier, 11, kX,
     Effect::TwoPageToggle},
    {"Alt+2 is a system key, left to the accelerators", Qt::Key_2, Qt::AltModifier, 11, kX, Effect::Nothing},
    {"Alt+Space", Qt::Key_Space, Qt::AltModifier, 65, kX, Effect::Nothing},
    {"Alt+2 where no native code is known", Qt::Key_2, Qt::AltModifier, 0, kNone, Effect::Nothing},
    {"Ctrl+2", Qt::Key_2, Qt::ControlModifier, 11, kX, Effect::Nothing},
    {"keypad 2 with Num Lock on is no digit-row key", Qt::Key_2, Qt::KeypadModifier, 88, kX, Effect::Nothing},
    {"keypad 2 with Num Lock on, no native code", Qt::Key_2, Qt::KeypadModifier, 0, kNone, Effect::Nothing},
    {"keypad 2 with Num Lock off is Down", Qt::Key_Down, Qt::KeypadModifier, 88, kX, Effect::TurnForward},
    {"plain Space", Qt::Key_Space, Qt::NoModifier, 65, kX, Effect::TurnForward},
    {"Shift+Space", Qt::Key_Space, Qt::ShiftModifier, 65, kX, Effect::TurnForward},
    {"grave on a US layout", Qt::Key_QuoteLeft, Qt::NoModifier, 49, kX, Effect::ToggleBars},
    {"Shift+grave reported as ~", Qt::Key_AsciiTilde, Qt::ShiftModifier, 49, kX, Effect::ToggleBars},
    {"the grave key of a German layout, a dead ^", Qt::Key_Dead_Circumflex, Qt::NoModifier, 49, kX,
     Effect::ToggleBars},
    {"the grave key of a German layout on Windows", Qt::Key_Dead_Circumflex, Qt::NoModifier, 0x29, kWindows,
     Effect::ToggleBars},
    {"grave where no native code is known", Qt::Key_QuoteLeft, Qt::NoModifier, 0, kNone, Effect::ToggleBars},
    {"the letter Z where a French layout has it", Qt::Key_Z, Qt::NoModifier, 25, kX, Effect::PostZoom},
    {"a French layout's W on the US Z place", Qt::Key_W, Qt::NoModifier, 52, kX, Effect::Nothing},
    {"a Russian layout's letter on the Z place", 0x042F, Qt::NoModifier, 52, kX, Effect::PostZoom},
};

} // namespace

class KeysTest : public ViewTest {};

TEST_F(KeysTest, EachKeyReachesTheActionOfItsPhysicalKeyOrNone) {
    OpenBook(6);
    for (const KeyRow& row : kKeyRows) {
        SCOPED_TRACE(row.name);
        m_view->m_keyCodes = row.codes;
        m_view->m_itCurPage = 2;
        g_option.bView2Page = 0;
        m_frame.posted.clear();
        QKeyEvent press(QEvent::KeyPress, row.key, row.modifiers, row.scanCode, 0, 0);
        QCoreApplication::sendEvent(m_view.get(), &press);

        EXPECT_EQ(g_option.bView2Page, row.effect == Effect::TwoPageToggle ? 1 : 0);
        EXPECT_EQ(m_view->m_itCurPage, row.effect == Effect::TurnForward ? 3u : 2u);
        const std::vector<int> posted = row.effect == Effect::ToggleBars
                                            ? std::vector<int>{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}
                                        : row.effect == Effect::PostZoom ? std::vector<int>{ID_ZOOM_TOGGLE}
                                                                         : std::vector<int>{};
        EXPECT_EQ(m_frame.posted, posted);
    }
}
