#pragma once

// A fresh GridView over its own document, brought to the state the main
// window's start-up leaves it in, shown and active so that real key
// presses reach it.

#include "core/document.h"
#include "core/editor_state.h"
#include "core/hex_text.h"
#include "grid/grid_view.h"
#include "tests/support/record_builders.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace quorvane::test {

// `count` bytes as digits, counting up from `first`.
inline QString hexBytes(int count, int first = 0)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += twoDigitHex(first + i);
    return text;
}

class GridFixture {
public:
    virtual ~GridFixture() = default;

    Document document;
    EditorState state;
    int captionCalls = 0;
    std::unique_ptr<GridView> grid;

    // Builds, initialises and shows the grid; false if it never became active.
    [[nodiscard]] bool start()
    {
        document = Document{};
        state = EditorState{};
        captionCalls = 0;
        grid = std::make_unique<GridView>(document, state, [this] { ++captionCalls; });
        document.mode.addListener([this](AddressSize size) { grid->setAddressMaxLength(addressDigits(size)); });
        grid->prepareRows();
        document.table.BlankSet();
        grid->clearDataMaxLengths();
        document.mode.SetAddr32();
        grid->resetView();
        grid->show();
        grid->activateWindow();
        return QTest::qWaitForWindowActive(grid.get());
    }

    // Puts records into the table behind the grid's back and redraws, as a
    // file open does; nothing counts as an edit.
    void load(std::initializer_list<std::pair<int, KeyRecord>> records)
    {
        for (const auto& [slot, record] : records)
            document.table[slot] = record;
        grid->redraw();
        state.Modified = false;
        captionCalls = 0;
    }

    void scrollTo(int v, int h)
    {
        grid->recordScroll()->setValue(v);
        grid->byteScroll()->setValue(h);
    }
    void setMode(int bits)
    {
        document.mode.set(AddressSize(bits));
        grid->redraw();
    }

    [[nodiscard]] QString& data(int slot) { return document.table[slot].KeyData; }

    template <typename T = QLineEdit>
    [[nodiscard]] T* control(const QString& name) const { return grid->findChild<T*>(name); }
    [[nodiscard]] QLineEdit* cell(int index) const { return control(QStringLiteral("Text_data_%1").arg(index)); }
    [[nodiscard]] QLineEdit* title(int row) const { return control(QStringLiteral("Text_title_%1").arg(row)); }
    [[nodiscard]] QLineEdit* address(int row) const { return control(QStringLiteral("Text_address_%1").arg(row)); }
    [[nodiscard]] QLineEdit* size(int row) const { return control(QStringLiteral("Text_size_%1").arg(row)); }
    [[nodiscard]] QComboBox* type(int row) const
    {
        return control<QComboBox>(QStringLiteral("Combo_type_%1").arg(row));
    }
    [[nodiscard]] QString lineNo(int row) const { return labelText(QStringLiteral("Text_lineNo_%1").arg(row)); }
    [[nodiscard]] QString dataIndex(int c) const { return labelText(QStringLiteral("Label_DataIndex_%1").arg(c)); }
    [[nodiscard]] QString labelText(const QString& name) const { return control<QLabel>(name)->text(); }

    // Texts of the first `count` cells of a row.
    [[nodiscard]] QStringList rowTexts(int row, int count = 16) const
    {
        QStringList texts;
        for (int c = 0; c < count; ++c)
            texts << cell(row * 16 + c)->text();
        return texts;
    }

    [[nodiscard]] QString focusName() const
    {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }
    [[nodiscard]] static int focusCaret()
    {
        return static_cast<QLineEdit*>(QApplication::focusWidget())->cursorPosition();
    }

    // Focus a control as a mouse click would, put the caret of a text field
    // at `caret` (-1: its end) with `selectedBack` characters selected
    // leftwards, and forget what the focus moves did to the caption count.
    void startIn(QWidget* control, int caret = -1, int selectedBack = 0)
    {
        control->setFocus(Qt::MouseFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setCursorPosition(caret < 0 ? int(edit->text().size()) : caret);
            edit->cursorBackward(true, selectedBack);
        }
        captionCalls = 0;
    }

    // Real key presses into whatever has the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }
    static void typeKeys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    // A wheel turn of `delta` eighths of a degree over `target`.
    static void turnWheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent turn(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                         modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &turn);
    }
};

// The base of the widget tests: every test function starts from a fresh grid.
class GridTest : public QObject, protected GridFixture {
    Q_OBJECT
private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { grid.reset(); }
};

} // namespace quorvane::test
