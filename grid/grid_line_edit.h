#pragma once

#include <QLineEdit>

namespace quorvane {

// Qt's "no limit" for a line edit's maximum length.
inline constexpr int kNoLengthLimit = 32767;

// A text field of the grid. It reports gaining and losing the focus after
// Qt has done its own focus work (a Tab focus selects everything first),
// and ignores the focus moves of window switches and popups, which are not
// the user leaving the field.
//
// The set... helpers write a property only when it differs: Qt moves the
// caret to the end on every text or length assignment, and the grid is
// redrawn after every keystroke, so an unconditional write would lose the
// caret the editing rules rely on (and cost a relayout per control).
class GridLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

    void setTextIfChanged(const QString& text);
    void setReadOnlyIfChanged(bool readOnly);
    // A cell that cannot take input takes the window's colour, so the user
    // sees where typing will go before trying; most styles draw a read-only
    // field like any other.
    void setShadedIfChanged(bool shaded);
    void setVisibleIfChanged(bool visible);
    void setWidthIfChanged(int width);
    // A typing limit, 0 meaning none. Text set by code is never cut by it,
    // so the limit is raised to the length of a longer text already held.
    void setTypingLimit(int limit);
    // Input methods compose text the key filters never see. Qt turns them
    // back on whenever the field is unlocked, so the choice is kept here.
    void setInputMethodsAllowed(bool allowed);

signals:
    void gotFocus();
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyTypingLimit();
    void applyInputMethods();

    int typingLimit_ = kNoLengthLimit;
    bool inputMethodsAllowed_ = true;
    bool shaded_ = false;
};

} // namespace quorvane
