#include "editor_context.h"

#include "message_boxes.h"

#include "grid/grid_view.h"

namespace quorvane {

bool ModalQuestions::confirmWarning(const QString& text)
{
    context_.grid.redraw();
    return askWarning(context_.modal, text);
}

} // namespace quorvane
