#pragma once

#include <QtGlobal>

namespace quorvane {

// What the grid keeps about its own view of the table, apart from the
// document: whether the redraw is running, where the view starts and which
// data cell last had the focus.
struct GridViewState {
    bool TableReady = false;     // false while the grid is redrawn from the table
    qint16 CurVoffset = 0;       // record slot shown in grid row 0 (0..246)
    qint16 CurHOffset = 0;       // data byte shown in data column 0 (0..236)
    qint16 FocusDataIndex = -1;  // data cell that last had the focus, -1 for none
};

} // namespace quorvane
