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

// The clipboard keys besides Ctrl+C/V/X, as Qt's line edits bind them on
// Windows and X11; their code is the one the Ctrl letter would type.
char16_t clipboardCodeOf(int key, Qt::KeyboardModifiers mods)
{
    const Qt::KeyboardModifiers held =
        mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key == Qt::Key_Insert && held == Qt::ShiftModifier)
        return 22;
    if (key == Qt::Key_Insert && held == Qt::ControlModifier)
        return 3;
    if (key == Qt::Key_Delete && held == Qt::ShiftModifier)
        return 24;
    switch (key) {
    case Qt::Key_F16: return 3;
    case Qt::Key_F18: return 22;
    case Qt::Key_F20: return 24;
    default: return 0;
    }
}

QString printableText(const QKeyEvent& event)
{
    const QString text = event.text();
    for (const QChar ch : text) {
        if (!ch.isPrint() && !ch.isSurrogate())
            return QString();
    }
    return text;
}

char16_t characterOf(const QKeyEvent& event, const QString& text)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    if (const char16_t clipboard = clipboardCodeOf(key, mods))
        return clipboard;
    if ((mods & Qt::ControlModifier) && !(mods & (Qt::AltModifier | Qt::MetaModifier))) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return char16_t(key - Qt::Key_A + 1);
        return 0;
    }
    return text.isEmpty() ? char16_t(0) : text.at(0).unicode();
}

} // namespace

KeyStroke keyStrokeOf(const QKeyEvent& event)
{
    KeyStroke stroke;
    stroke.keyCode = keyCodeOf(event.key());
    stroke.shift = (event.modifiers() & Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    stroke.text = printableText(event);
    stroke.character = characterOf(event, stroke.text);
    return stroke;
}

} // namespace quorvane
