// CheckSrecordFile over any bytes. What it accepts, the KEY reader must load
// without an error and object-file recognition must call an S-record file;
// what it refuses, it refuses at one named line with a reason.

#include "fuzz_support.h"

#include "image/recognition.h"
#include "files/srecord_reader.h"

using namespace quorvane;
using quorvane::fuzz::expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputDevice input(data, size);
    const FormatCheck check = CheckSrecordFile(input.device());
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
    expect(check.badLine == 0 && check.reason.isEmpty(), "an accepted file names no bad line");

    Document document;
    const QString error = SRecodeLoad(input.rewound(), document);
    expect(error.isEmpty(), "what CheckSrecordFile accepts, SRecodeLoad loads", [&] { return error; });
    expect(recognizeObjectFile(input.rewound()) == ObjectFileKind::Srecord,
           "what CheckSrecordFile accepts is recognised as S-records");
    return 0;
}
