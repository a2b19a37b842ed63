#pragma once

#include "image_command.h"

// verify IMAGE KEYS: whether a firmware image holds the key data of a KEY
// file or template, record by record.
namespace quorvane::cli {

class VerifyCommand : public ImageCommand {
public:
    explicit VerifyCommand(Console& console);

protected:
    [[nodiscard]] int runWithKeyData(const ImageCall& call, Document& document) override;
};

} // namespace quorvane::cli
