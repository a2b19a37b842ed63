#include "grid_line_edit.h"

#include <QFocusEvent>

#include <algorithm>

namespace quorvane {

namespace {

bool isUserFocusMove(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

void GridLineEdit::setTextIfChanged(const QString& text)
{
    if (text == this->text())
        return;
    if (text.size() > maxLength())
        setMaxLength(int(text.size()));
    setText(text);
    applyTypingLimit();
}

void GridLineEdit::setReadOnlyIfChanged(bool readOnly)
{
    if (isReadOnly() != readOnly) {
        setReadOnly(readOnly);
        applyInputMethods();
    }
}

void GridLineEdit::setShadedIfChanged(bool shaded)
{
    if (shaded_ == shaded)
        return;
    shaded_ = shaded;
    if (!shaded) {
        setPalette(QPalette());
        return;
    }
    QPalette locked = palette();
    locked.setColor(QPalette::Base, locked.color(QPalette::Window));
    setPalette(locked);
}

void GridLineEdit::setInputMethodsAllowed(bool allowed)
{
    inputMethodsAllowed_ = allowed;
    applyInputMethods();
}

void GridLineEdit::applyInputMethods()
{
    const bool enabled = inputMethodsAllowed_ && !isReadOnly();
    if (testAttribute(Qt::WA_InputMethodEnabled) != enabled)
        setAttribute(Qt::WA_InputMethodEnabled, enabled);
}

void GridLineEdit::setVisibleIfChanged(bool visible)
{
    if (isHidden() == visible)
        setVisible(visible);
}

void GridLineEdit::setWidthIfChanged(int width)
{
    if (this->width() != width)
        resize(width, height());
}

void GridLineEdit::setTypingLimit(int limit)
{
    typingLimit_ = limit == 0 ? kNoLengthLimit : limit;
    applyTypingLimit();
}

void GridLineEdit::applyTypingLimit()
{
    const int wanted = std::max(typingLimit_, int(text().size()));
    if (maxLength() != wanted)
        setMaxLength(wanted);
}

void GridLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (isUserFocusMove(event->reason()))
        emit gotFocus();
}

void GridLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (isUserFocusMove(event->reason()))
        emit lostFocus();
}

} // namespace quorvane
