#pragma once

#include "fuzz_support.h"

#include "core/hex_digits.h"
#include "image/key_extraction.h"

#include <optional>
#include <vector>

// The extraction targets take what they look for from the front of the
// input, the file from the rest:
//
//   n (1 byte, 0..4 targets by n % 5)   start address (4 bytes, big-endian)
//   n times: address (4 bytes, big-endian), size (2 bytes, big-endian, % 300)
//   the object file
//
// Sizes reach past the largest one looked for (252) and down to 0, which the
// readers must pass over; slots follow the order given.
namespace quorvane::fuzz {

struct ExtractionInput {
    quint32 startAddress = 0;
    std::vector<ExtractionTarget> targets;
    QByteArray file;
};

[[nodiscard]] inline quint32 bigEndian(const std::uint8_t* p, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    return value;
}

[[nodiscard]] inline std::optional<ExtractionInput> extractionInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kHeader = 5;
    constexpr std::size_t kTarget = 6;
    if (size < kHeader)
        return std::nullopt;
    const std::size_t count = data[0] % 5;
    if (size < kHeader + count * kTarget)
        return std::nullopt;
    ExtractionInput input;
    input.startAddress = bigEndian(data + 1, 4);
    const std::uint8_t* p = data + kHeader;
    for (std::size_t i = 0; i < count; ++i, p += kTarget)
        input.targets.push_back({.slot = Slot(i), .address = bigEndian(p, 4), .size = int(bigEndian(p + 4, 2) % 300)});
    input.file = QByteArray(reinterpret_cast<const char*>(p), qsizetype(data + size - p));
    return input;
}

[[nodiscard]] inline bool isHexDigits(const QString& text)
{
    for (QChar c : text) {
        if (!quorvane::isHexDigit(c.unicode()))
            return false;
    }
    return true;
}

// What every reader promises about one result: found data is two hex digits
// per byte of each target (none for a target that is not looked for), and a
// failure names the slot of a target and carries a text.
inline void expectWellFormed(const ExtractionResult& result, const std::vector<ExtractionTarget>& targets)
{
    if (result.status == ExtractionStatus::Extracted) {
        expect(result.data.size() == targets.size(), "one text per target");
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const int size = targets[i].size;
            const qsizetype digits = size >= 1 && size <= kMaxExtractedSize ? 2 * size : 0;
            expect(result.data[i].size() == digits && isHexDigits(result.data[i]),
                   "exactly 2 * size hex digits per found target",
                   [&] { return QStringLiteral("target %1, size %2: \"%3\"").arg(i).arg(size).arg(result.data[i]); });
        }
        expect(result.errorText.isEmpty() && !result.failedSlot, "a success names no failure");
        return;
    }
    expect(result.status != ExtractionStatus::Cancelled, "nothing cancels without a progress callback");
    expect(result.data.empty(), "a failure hands out no data");
    expect(!result.errorText.isEmpty(), "a failure has a text", [&] { return result.errorText; });
    expect(result.failedSlot && *result.failedSlot >= 0 && std::size_t(*result.failedSlot) < targets.size(),
           "a failure names the slot of a target");
}

// One pass serves all targets, yet must answer as reading them one by one in
// the order given would: every target before the failed one found with the
// same data, the failed one failing alone with the same text.
template <typename Reader>
void expectSameAsOneByOne(const ExtractionResult& together, const std::vector<ExtractionTarget>& targets,
                          const Reader& readAlone)
{
    const std::size_t end = together ? targets.size() : std::size_t(*together.failedSlot) + 1;
    for (std::size_t i = 0; i < end; ++i) {
        const ExtractionResult alone = readAlone(std::vector<ExtractionTarget>{targets[i]});
        const auto detail = [&](const QString& mine, const QString& theirs) {
            return [&, mine, theirs] { return QStringLiteral("target %1: %2 / %3").arg(i).arg(mine, theirs); };
        };
        if (together || i + 1 < end) {
            expect(bool(alone), "a target found together is found alone", detail(alone.errorText, {}));
            if (together)
                expect(alone.data.front() == together.data[i], "a target found together has the same data alone",
                       detail(alone.data.front(), together.data[i]));
        } else {
            expect(alone.status == together.status && alone.errorText == together.errorText,
                   "the failed target fails alone the same way", detail(alone.errorText, together.errorText));
        }
    }
}

[[nodiscard]] inline bool sameResult(const ExtractionResult& a, const ExtractionResult& b)
{
    return a.status == b.status && a.data == b.data && a.errorText == b.errorText && a.failedSlot == b.failedSlot;
}

// The extraction of a text image, as the program runs it: recognised in the
// pass that reads it. A file recognised as `kind` must keep every promise of
// a reader; a damaged one fails for no slot with the line and why.
inline int fuzzTextExtraction(const std::uint8_t* data, std::size_t size, ObjectFileKind kind, const QString& path)
{
    const std::optional<ExtractionInput> input = extractionInput(data, size);
    if (!input)
        return 0;
    InputDevice file(input->file);
    const RecognizedExtraction together = recognizeAndExtract(file.device(), path, input->targets);
    if (together.kind == ObjectFileKind::Damaged) {
        expect(together.result && !together.result->failedSlot && !together.result->errorText.isEmpty(),
               "a damaged file fails for no slot, with a text");
        return 0;
    }
    if (together.kind != kind)
        return 0;
    expect(together.result.has_value(), "a text image gives a result");
    expectWellFormed(*together.result, input->targets);
    expectSameAsOneByOne(*together.result, input->targets, [&](const std::vector<ExtractionTarget>& targets) {
        return *recognizeAndExtract(file.rewound(), path, targets).result;
    });
    return 0;
}

} // namespace quorvane::fuzz
