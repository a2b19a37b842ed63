#pragma once

#include <QtGlobal>

namespace quorvane {

// What the grid keeps about its own view of the table besides its layout:
// whether the redraw is running and which data cell last had the focus.
struct GridViewState {
    bool TableReady = false;     // false while the grid is redrawn from the table
    qint16 FocusDataIndex = -1;  // data cell that last had the focus, -1 for none
};

} // namespace quorvane
