// The extraction of an S-record image with targets taken from the input (see
// extraction_input.h), recognised in the pass that reads it.

#include "extraction_input.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::fuzzTextExtraction(data, size, ObjectFileKind::Srecord, QStringLiteral("fuzz.srec"));
}
