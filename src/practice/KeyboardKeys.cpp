#include "practice/KeyboardKeys.h"

#include <QKeyEvent>

namespace {

// The right Ctrl key as the X window system names it (its key symbol and its key code).
constexpr quint32 RightControlSymbol = 0xffe4;
constexpr quint32 RightControlCode = 105;

} // namespace

std::optional<KeyInput> KeyInputOf(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Space:
        return KeyInput::Straight;
    case Qt::Key_BracketLeft:
        return KeyInput::DotLever;
    case Qt::Key_BracketRight:
        return KeyInput::DashLever;
    case Qt::Key_Control: {
        const bool right = event.nativeVirtualKey() == RightControlSymbol || event.nativeScanCode() == RightControlCode;
        return right ? KeyInput::DashLever : KeyInput::DotLever;
    }
    default:
        return std::nullopt;
    }
}
