#pragma once

#include "editor_context.h"

namespace quorvane {

// "Write KEY Data into Image...": the table as shown, after the save-time
// checks, written into a copy of a firmware image at the records' addresses,
// in the image's own format.
class MergeImageCommand {
public:
    explicit MergeImageCommand(EditorContext& context) : context_(context) {}

    void run();

private:
    EditorContext& context_;
};

} // namespace quorvane
