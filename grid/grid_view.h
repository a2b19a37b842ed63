#pragma once

#include "core/document.h"
#include "core/editor_state.h"

#include <QWidget>

#include <functional>

class QScrollBar;

namespace quorvane {

// The 10 x 16 grid over the record table: line numbers, address, size and
// type fields, 160 data cells, titles, column headers and both scroll bars.
// It is a view: every edit is written into the table at once, and the grid
// is redrawn from the table by TableSet.
//
// The main window owns the caption; the grid calls `titileSet` whenever an
// edit changed EditorState::Modified and the caption should follow.
class GridView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 10;
    static constexpr int kColumns = 16;
    static constexpr int kVMax = 246; // VScroll1 range 0..246
    static constexpr int kHMax = 236; // HScroll1 range 0..236

    GridView(Document& document, EditorState& state, std::function<void()> titileSet,
             QWidget* parent = nullptr);
    ~GridView() override;

    // Start-up: type lists get "HEX" and "ASCII" (index 0 selected), address
    // fields at most 8 characters, size fields at most 3.
    void prepareRows();
    // Every data cell back to "no length limit".
    void clearDataMaxLengths();
    // Follows the address size: 4, 6 or 8 characters.
    void setAddressMaxLength(int length);

    void TableSet(qint16 voffset, qint16 hoffset);
    // TableSet at the scroll bars' current values.
    void redraw();
    void LabelSet(qint16 hoffset);
    void DataInputEnable();
    // Writes every row back into the table, then redraws.
    void CommitGrid();

    [[nodiscard]] QScrollBar* vScroll() const;
    [[nodiscard]] QScrollBar* hScroll() const;

private:
    struct Impl;
    Impl* d;
};

} // namespace quorvane
