#include "navigation_targets.h"

#include <algorithm>

namespace quorvane {

namespace {

constexpr int kLastShownByte = GridLayout::kMaxLeftByte + kGridColumns - 1;

} // namespace

int edgeByte(const KeyRecord& record, RecordEdge edge)
{
    if (edge == RecordEdge::First)
        return 0;
    const qsizetype typedBytes = (record.KeyData.size() + 1) / 2;
    const qsizetype last = record.KeySize > 0 ? record.KeySize - 1 : std::max<qsizetype>(typedBytes - 1, 0);
    return int(std::min<qsizetype>(last, kLastShownByte));
}

int leftByteShowing(int byte, int leftByte)
{
    const int left = std::clamp(leftByte, byte - (kGridColumns - 1), byte);
    return std::clamp(left, 0, GridLayout::kMaxLeftByte);
}

Slot topSlotShowing(Slot slot, Slot topSlot)
{
    const Slot top = std::clamp(topSlot, slot - (kGridRows - 1), slot);
    return std::clamp(top, 0, GridLayout::kMaxTopSlot);
}

std::optional<int> lineNumberFromText(const QString& text)
{
    bool ok = false;
    const int line = text.trimmed().toInt(&ok, 10);
    if (!ok || line < 1 || line > kRecordCount)
        return std::nullopt;
    return line;
}

} // namespace quorvane
