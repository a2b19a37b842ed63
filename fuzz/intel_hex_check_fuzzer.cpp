// CheckIntelHexFile over any bytes. Every line of an accepted file must come
// apart into its fields for the extraction reader; recognition must call it
// Intel HEX unless the S-record check, which comes first, takes it.

#include "fuzz_support.h"

#include "files/intel_hex.h"
#include "files/line_reader.h"
#include "image/recognition.h"
#include "files/srecord_reader.h"

using namespace quorvane;
using quorvane::fuzz::expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputDevice input(data, size);
    const FormatCheck check = CheckIntelHexFile(input.device());
    const qint64 lines = fuzz::countLines(input.bytes());

    if (!check.valid) {
        expect(check.badLine >= 1 && check.badLine <= lines, "a refused file names one of its lines",
               [&] { return QString::number(check.badLine); });
        expect(check.lineCount == check.badLine, "the check stops at the bad line");
        expect(!check.reason.isEmpty(), "a refusal says why");
        return 0;
    }
    expect(check.lineCount == lines, "an accepted file is judged to its last line",
           [&] { return QStringLiteral("%1 of %2").arg(check.lineCount).arg(lines); });

    LineReader reader(input.rewound(), kMaxIntelHexLineLength);
    QByteArrayView line;
    while (reader.next(line) == LineReader::Status::Line) {
        const std::optional<IntelHexFields> fields = intelHexFieldsOf(line);
        expect(fields.has_value(), "every accepted line has its fields",
               [&] { return QString::fromLatin1(line.toByteArray()); });
        expect(fields->dataDigits.size() == 2 * fields->count, "the data field holds two digits per counted byte");
    }

    const bool srecord = bool(CheckSrecordFile(input.rewound()));
    const ObjectFileKind kind = recognizeObjectFile(input.rewound());
    expect(kind == (srecord ? ObjectFileKind::Srecord : ObjectFileKind::IntelHex),
           "what CheckIntelHexFile accepts is recognised as Intel HEX, unless it is S-records too");
    return 0;
}
