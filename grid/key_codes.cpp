#include "key_codes.h"

#include <QKeyEvent>

namespace quorvane {

namespace {

int keyCodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return kKeyBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    case Qt::Key_End: return kKeyEnd;
    case Qt::Key_Home: return kKeyHome;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Insert: return kKeyInsert;
    case Qt::Key_Delete: return kKeyDelete;
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return kKeyNone;
}

char16_t characterOf(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    if (mods & Qt::ControlModifier) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return char16_t(key - Qt::Key_A + 1);
        return 0;
    }
    const QString text = event.text();
    if (text.isEmpty() || !(text.at(0).isPrint() || text.at(0).isSurrogate()))
        return 0;
    return text.at(0).unicode();
}

} // namespace

KeyStroke keyStrokeOf(const QKeyEvent& event)
{
    KeyStroke stroke;
    stroke.keyCode = keyCodeOf(event.key());
    stroke.shift = (event.modifiers() & Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    stroke.character = characterOf(event);
    return stroke;
}

} // namespace quorvane
