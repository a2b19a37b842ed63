// ExtractBinary with a start address and targets taken from the input (see
// extraction_input.h), measured against the image's own bytes.

#include "extraction_input.h"

using namespace quorvane;
using quorvane::fuzz::expect;

namespace {

// The bytes of each target straight out of the image, in the order given,
// up to the first one the image does not hold.
ExtractionResult expectedFrom(const fuzz::ExtractionInput& input, const QString& path)
{
    ExtractionResult result;
    for (const ExtractionTarget& target : input.targets) {
        if (target.size < 1 || target.size > kMaxExtractedSize) {
            result.data.emplace_back();
            continue;
        }
        const qint64 offset = qint64(target.address) - qint64(input.startAddress);
        if (offset < 0 || offset + target.size > input.file.size()) {
            return {.status = ExtractionStatus::NotFound,
                    .data = {},
                    .errorText = dataNotFoundText(path, target.address, target.size),
                    .failedSlot = target.slot};
        }
        result.data.push_back(QString::fromLatin1(input.file.mid(offset, target.size).toHex().toUpper()));
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<fuzz::ExtractionInput> input = fuzz::extractionInput(data, size);
    if (!input)
        return 0;
    fuzz::InputDevice file(input->file);
    const QString path = QStringLiteral("fuzz.bin");
    const ExtractionResult result = ExtractBinary(file.device(), path, input->startAddress, input->targets);
    fuzz::expectWellFormed(result, input->targets);
    const ExtractionResult expected = expectedFrom(*input, path);
    expect(fuzz::sameResult(result, expected), "the image's own bytes, or the first target it does not hold",
           [&] { return result.errorText + QStringLiteral(" / ") + expected.errorText; });
    return 0;
}
