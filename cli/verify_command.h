#pragma once

#include "command.h"

// verify IMAGE KEYS: whether a firmware image holds the key data of a KEY
// file or template, record by record.
namespace quorvane::cli {

class VerifyCommand : public Command {
public:
    explicit VerifyCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;
};

} // namespace quorvane::cli
