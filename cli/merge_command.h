#pragma once

#include "image_command.h"

// merge IMAGE KEYS -o OUT: the key data of a KEY file or template, through
// the checks and steps of a save, written into a firmware image.
namespace quorvane::cli {

class MergeCommand : public ImageCommand {
public:
    explicit MergeCommand(Console& console);

protected:
    [[nodiscard]] int runWithKeyData(const ImageCall& call, Document& document) override;
};

} // namespace quorvane::cli
