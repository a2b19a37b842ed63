// ExtractSrecord with targets taken from the input (see extraction_input.h).

#include "extraction_input.h"

#include "files/srecord_reader.h"

using namespace quorvane;
using quorvane::fuzz::expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<fuzz::ExtractionInput> input = fuzz::extractionInput(data, size);
    if (!input)
        return 0;
    fuzz::InputDevice file(input->file);
    const QString path = QStringLiteral("fuzz.srec");
    const ExtractionResult together = ExtractSrecord(file.device(), path, input->targets);
    fuzz::expectWellFormed(together, input->targets);
    fuzz::expectSameAsOneByOne(together, input->targets, [&](const std::vector<ExtractionTarget>& targets) {
        return ExtractSrecord(file.rewound(), path, targets);
    });

    // A file that passes the format check reads the same when recognised and
    // read in one pass.
    if (CheckSrecordFile(file.rewound())) {
        const RecognizedExtraction fused = recognizeAndExtract(file.rewound(), path, input->targets);
        expect(fused.kind == ObjectFileKind::Srecord && fused.result, "a checked file is recognised as S-records");
        expect(fuzz::sameResult(*fused.result, together), "recognising it reads the same",
               [&] { return fused.result->errorText + QStringLiteral(" / ") + together.errorText; });
    }
    return 0;
}
