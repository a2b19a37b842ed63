#pragma once

#include <QString>

class QKeyEvent;

// A Qt key event seen as the editor's handlers see a key: a key code for
// the key-down handlers and, for keys that type something, a character
// code for the key-press filters.
namespace quorvane {

enum KeyCode : int {
    kKeyNone = 0,
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyInsert = 45,
    kKeyDelete = 46,
};

struct KeyStroke {
    int keyCode = kKeyNone;  // kKeyNone for keys the handlers never look at
    bool shift = false;
    char16_t character = 0;  // 0 when the key types nothing
    // The printable text Qt would insert for the key: what the filters must
    // judge, since a field inserts all of it.
    QString text;
};

// Ctrl with a letter types that letter's control character (Ctrl+V is 22),
// whatever text the platform attached, and the other clipboard keys
// (Shift+Insert, Ctrl+Insert, Shift+Delete) type the code of the clipboard
// action they start. Alt and Meta do not stop a key from typing its text.
// Shift+Tab arrives as Backtab and is Tab with Shift.
[[nodiscard]] KeyStroke keyStrokeOf(const QKeyEvent& event);

} // namespace quorvane
