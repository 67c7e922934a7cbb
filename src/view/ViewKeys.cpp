// ViewKey: the digit row and the grave key by their place on the keyboard, letters by the
// layout's letter (by place where the layout has no Latin letter there), other keys by Qt's
// key code, which no layout changes.
#include "ViewKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>
#include <iterator>

namespace {

struct PhysicalKey {
    int key;
    quint32 xKeycode;
    quint32 windowsScanCode;
    bool byPlace; // false: a letter, taken from the layout when it gives a Latin one
};

// The keys of the view's table whose Qt key code depends on the layout or on Shift, where
// they lie on a US keyboard.
constexpr PhysicalKey kPhysicalKeys[] = {
    {Qt::Key_QuoteLeft, 49, 0x29, true}, {Qt::Key_1, 10, 0x02, true},  {Qt::Key_2, 11, 0x03, true},
    {Qt::Key_S, 39, 0x1F, false},        {Qt::Key_I, 31, 0x17, false}, {Qt::Key_Z, 52, 0x2C, false},
    {Qt::Key_F, 41, 0x21, false},
};

const PhysicalKey* FindPhysicalKey(quint32 scanCode, NativeKeyCodes codes) {
    if (codes == NativeKeyCodes::None || scanCode == 0)
        return nullptr;
    const auto found =
        std::find_if(std::begin(kPhysicalKeys), std::end(kPhysicalKeys), [&](const PhysicalKey& entry) {
            return scanCode == (codes == NativeKeyCodes::XKeycodes ? entry.xKeycode : entry.windowsScanCode);
        });
    return found == std::end(kPhysicalKeys) ? nullptr : &*found;
}

bool IsLatinLetter(int key) {
    return key >= Qt::Key_A && key <= Qt::Key_Z;
}

} // namespace

NativeKeyCodes PlatformKeyCodes() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")))
        return NativeKeyCodes::XKeycodes;
    if (platform == QLatin1String("windows"))
        return NativeKeyCodes::WindowsScanCodes;
    return NativeKeyCodes::None;
}

int ViewKey(const QKeyEvent& event, NativeKeyCodes codes) {
    if (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return 0;
    const int key = event.key();
    if (const PhysicalKey* physical = FindPhysicalKey(event.nativeScanCode(), codes))
        return physical->byPlace || !IsLatinLetter(key) ? physical->key : key;
    const bool keypadDigit = (event.modifiers() & Qt::KeypadModifier) && key >= Qt::Key_0 && key <= Qt::Key_9;
    return keypadDigit ? 0 : key;
}
