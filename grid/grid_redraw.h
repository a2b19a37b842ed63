#pragma once

#include "core/document.h"
#include "core/editor_state.h"
#include "grid/grid_controls.h"
#include "grid/grid_layout.h"
#include "grid/grid_view_state.h"

#include <functional>

namespace quorvane {

// Rewrites the grid's controls from the record table at the layout's
// position. Every write goes through a set-if-changed helper, so a redraw
// after each keystroke leaves untouched controls (and their carets) alone.
class GridRedraw {
public:
    GridRedraw(const Document& document, EditorState& state, GridViewState& view, const GridLayout& layout,
               const GridControls& controls);

    // All ten rows, then DataInputEnable. The change events the writes
    // raise store nothing (TableReady is false meanwhile) and Modified
    // keeps its value.
    void TableSet();
    // The sixteen column headers: the byte each data column shows.
    void LabelSet();
    // A HEX cell accepts typing only when every byte before the one it
    // shows is present; an ASCII row's wide cell always does.
    void DataInputEnable();
    // Line numbers of records that differ from the saved ones, and of the
    // selected records, stand out by colour; the predicates name them.
    void setChangedMarker(std::function<bool(Slot)> changed) { changed_ = std::move(changed); }
    void setSelectedMarker(std::function<bool(Slot)> selected) { selected_ = std::move(selected); }
    void markRows();

private:
    void drawRow(int row);
    void showRowAsHex(int row);   // TextBox4_ChangeToHEX
    void showRowAsAscii(int row); // TextBox4_ChangeToASCII

    const Document& document_;
    EditorState& state_;
    GridViewState& view_;
    const GridLayout& layout_;
    const GridControls& controls_;
    std::function<bool(Slot)> changed_;
    std::function<bool(Slot)> selected_;
};

} // namespace quorvane
