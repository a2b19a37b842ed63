#pragma once

#include "editor_context.h"

namespace quorvane {

// "Write KEY Data into Image...": the table as shown, after the save-time
// checks, written into a copy of a firmware image at the records' addresses,
// in the image's own format. Key bytes where the image has no data are
// listed in a warning before anything is written; what was written is said
// in the window's status bar.
class MergeImageCommand {
public:
    explicit MergeImageCommand(EditorContext& context);

    void run();

private:
    EditorContext& context_;
};

} // namespace quorvane
