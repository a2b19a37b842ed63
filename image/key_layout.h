#pragma once

#include "core/record_table.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <optional>
#include <vector>

// Key data laid out by address: the records to place in an image or to look
// for in it. A pass over a large image asks, line by line, which of the
// line's bytes are key bytes; most lines hold none, and are turned away with
// a lookup or two.
namespace quorvane {

// One record's bytes at its address, and how messages name it.
struct KeyBytes {
    Slot slot = 0;
    QString title;
    quint32 address = 0;
    QByteArray bytes;
};

// How messages name a record: "Line 3 (serial)", or "Line 3" untitled.
[[nodiscard]] QString recordName(const KeyBytes& key);

// An address as messages show it: eight upper-case hex digits.
[[nodiscard]] QString addressText(quint64 address);

class KeyLayout {
public:
    // The layout of the records with at least one byte, or nullopt with
    // `problem` naming the record that cannot be placed: one reaching beyond
    // address FFFFFFFF, or one giving other bytes than an earlier record for
    // an address both hold. Records that overlap with equal bytes are fine.
    [[nodiscard]] static std::optional<KeyLayout> of(const std::vector<KeyBytes>& keys, QString& problem);

    // Consecutive addresses that all hold key bytes, from one record or from
    // several that touch or overlap. `index` numbers the span's first byte
    // among all key bytes, so a pass can keep a flag or a value per key byte
    // in one flat array.
    struct Span {
        quint64 first = 0;
        QByteArray bytes;
        qsizetype index = 0;

        [[nodiscard]] quint64 last() const { return first + quint64(bytes.size()) - 1; }
    };

    // A record with bytes, in the order given, and the index of its first byte.
    struct Placed {
        KeyBytes key;
        qsizetype index = 0;
    };

    [[nodiscard]] const std::vector<Span>& spans() const { return spans_; }
    [[nodiscard]] const std::vector<Placed>& records() const { return records_; }
    [[nodiscard]] qsizetype byteCount() const { return byteCount_; }

    // Calls visit(span, offsetInSpan, offsetInRange, count) for each run of
    // key bytes inside the `count` addresses from `first`, in address order.
    template <typename Visit>
    void forEachOverlap(quint64 first, qsizetype count, Visit visit) const
    {
        if (count <= 0)
            return;
        const quint64 last = first + quint64(count) - 1;
        if (!mayHold(first, last))
            return;
        auto span = std::upper_bound(spans_.begin(), spans_.end(), first,
                                     [](quint64 address, const Span& s) { return address < s.first; });
        // Spans do not overlap: only the one starting at or below `first`
        // can reach into the range from the left.
        if (span != spans_.begin())
            --span;
        for (; span != spans_.end() && span->first <= last; ++span) {
            if (span->last() < first)
                continue;
            const quint64 from = std::max(first, span->first);
            const quint64 to = std::min(last, span->last());
            visit(*span, qsizetype(from - span->first), qsizetype(from - first), qsizetype(to - from + 1));
        }
    }

private:
    // One flag per 4 KiB of the 32-bit space, set where a span has a byte.
    static constexpr int kPageBits = 12;
    static constexpr quint64 kLastPage = (quint64(1) << (32 - kPageBits)) - 1;

    [[nodiscard]] bool mayHold(quint64 first, quint64 last) const
    {
        const quint64 lastPage = std::min(last >> kPageBits, kLastPage);
        for (quint64 page = first >> kPageBits; page <= lastPage; ++page) {
            if (pages_[std::size_t(page)])
                return true;
        }
        return false;
    }

    std::vector<Span> spans_;
    std::vector<Placed> records_;
    qsizetype byteCount_ = 0;
    std::vector<bool> pages_;
};

} // namespace quorvane
