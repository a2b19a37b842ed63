#pragma once

#include <QString>

namespace quorvane {

// The questions a document operation asks its user on the way. The window
// answers with message boxes, a script from its options, a test from a
// queue. Errors are not questions: operations return them.
class Questions {
public:
    virtual ~Questions() = default;

    // An OK/Cancel warning; true for OK. The table already holds what the
    // steps before the question did, so a window can redraw first.
    [[nodiscard]] virtual bool confirmWarning(const QString& text) = 0;
};

} // namespace quorvane
