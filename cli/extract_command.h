#pragma once

#include "image_command.h"

// extract TEMPLATE OBJECT -o OUT: File Open of TEMPLATE, the extraction of
// every record's data from the object file OBJECT (S-records, Intel HEX or a
// binary image at --start), then File Save as OUT.
namespace quorvane::cli {

class ExtractCommand : public ImageCommand {
public:
    explicit ExtractCommand(Console& console);

protected:
    [[nodiscard]] int runWithKeyData(const ImageCall& call, Document& document) override;
};

} // namespace quorvane::cli
