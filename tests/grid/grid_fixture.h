#pragma once

// A fresh GridView over its own document, brought to the state the main
// window's start-up leaves it in, shown and active so that real key
// presses reach it.

#include "core/document.h"
#include "core/editor_state.h"
#include "core/hex_text.h"
#include "grid/grid_view.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace quorvane::test {

inline QString hexBytes(int count, int first = 0)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += twoDigitHex(first + i);
    return text;
}

inline KeyRecord hexRecord(const QString& data, qint16 size = 0)
{
    KeyRecord rec;
    rec.KeyData = data;
    rec.KeySize = size;
    return rec;
}

inline KeyRecord asciiRecord(const QString& text, qint16 size = 0)
{
    KeyRecord rec;
    rec.KeyType = kTypeAscii;
    rec.KeyData = text;
    rec.KeySize = size;
    return rec;
}

class GridFixture {
public:
    Document document;
    EditorState state;
    int titileSetCalls = 0;
    std::unique_ptr<GridView> grid;

    // Builds, initialises and shows the grid; false if it never became active.
    [[nodiscard]] bool start()
    {
        grid = std::make_unique<GridView>(document, state, [this] { ++titileSetCalls; });
        document.mode.setListener([this](AddressSize size) { grid->setAddressMaxLength(addressDigits(size)); });
        grid->prepareRows();
        initialize();
        grid->show();
        grid->activateWindow();
        return QTest::qWaitForWindowActive(grid.get());
    }

    void initialize()
    {
        document.table.BlankSet();
        grid->clearDataMaxLengths();
        document.mode.SetAddr32();
        grid->vScroll()->setRange(0, GridView::kVMax);
        grid->hScroll()->setRange(0, GridView::kHMax);
        state.CurVoffset = 0;
        state.CurHOffset = 0;
        grid->vScroll()->setValue(0);
        grid->hScroll()->setValue(0);
        grid->TableSet(0, 0);
        grid->LabelSet(0);
        state.Modified = false;
        state.TableReady = true;
        titileSetCalls = 0;
    }

    // Puts records into the table behind the grid's back and redraws, as a
    // file open does; nothing counts as an edit.
    void load(std::initializer_list<std::pair<int, KeyRecord>> records)
    {
        for (const auto& [slot, rec] : records)
            document.table[slot] = rec;
        grid->redraw();
        state.Modified = false;
        titileSetCalls = 0;
    }

    void scrollTo(int v, int h)
    {
        grid->vScroll()->setValue(v);
        grid->hScroll()->setValue(h);
    }

    void setMode(int bits)
    {
        document.mode.set(AddressSize(bits));
        grid->redraw();
    }

    template <typename T = QLineEdit>
    [[nodiscard]] T* control(const QString& name) const
    {
        return grid->findChild<T*>(name);
    }
    [[nodiscard]] QLineEdit* cell(int index) const { return control(QStringLiteral("Text_data_%1").arg(index)); }
    [[nodiscard]] QLineEdit* title(int row) const { return control(QStringLiteral("Text_title_%1").arg(row)); }
    [[nodiscard]] QLineEdit* address(int row) const { return control(QStringLiteral("Text_address_%1").arg(row)); }
    [[nodiscard]] QLineEdit* size(int row) const { return control(QStringLiteral("Text_size_%1").arg(row)); }
    [[nodiscard]] QComboBox* type(int row) const
    {
        return control<QComboBox>(QStringLiteral("Combo_type_%1").arg(row));
    }
    [[nodiscard]] QLabel* label(const QString& name) const { return control<QLabel>(name); }

    // Texts of the 16 cells of a row.
    [[nodiscard]] QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 0; c < 16; ++c)
            texts << cell(row * 16 + c)->text();
        return texts;
    }

    [[nodiscard]] QString focusName() const
    {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

    // Focus a widget as a mouse click would, then place the caret.
    void click(QWidget* widget) { widget->setFocus(Qt::MouseFocusReason); }
    void focusCell(int index, int caret)
    {
        click(cell(index));
        cell(index)->setCursorPosition(caret);
    }
};

} // namespace quorvane::test
