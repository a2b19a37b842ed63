#include "key_layout.h"

namespace quorvane {

namespace {

constexpr quint64 kTopAddress = 0xFFFFFFFF;

// Spans built record by record in address order, remembering which record
// gave each byte so that a disagreement names both.
class SpanBuilder {
public:
    // False, with `problem` set, when the record disagrees with one before it.
    [[nodiscard]] bool add(const KeyBytes& key, QString& problem)
    {
        const quint64 first = key.address;
        if (spans_.empty() || first > spans_.back().last() + 1) {
            spans_.push_back({.first = first, .bytes = {}, .index = 0});
            givers_.emplace_back();
        }
        KeyLayout::Span& span = spans_.back();
        std::vector<Slot>& giver = givers_.back();
        const qsizetype at = qsizetype(first - span.first);
        for (qsizetype i = 0; i < key.bytes.size(); ++i) {
            if (at + i < span.bytes.size()) {
                if (span.bytes.at(at + i) != key.bytes.at(i)) {
                    problem = recordName(key) + QStringLiteral(": its byte at %1 differs from that of line %2.")
                                                    .arg(addressText(first + quint64(i)))
                                                    .arg(lineNumberOf(giver[std::size_t(at + i)]));
                    return false;
                }
                continue;
            }
            span.bytes.append(key.bytes.at(i));
            giver.push_back(key.slot);
        }
        return true;
    }

    [[nodiscard]] std::vector<KeyLayout::Span> spans() &&
    {
        qsizetype index = 0;
        for (KeyLayout::Span& span : spans_) {
            span.index = index;
            index += span.bytes.size();
        }
        return std::move(spans_);
    }

private:
    std::vector<KeyLayout::Span> spans_;
    std::vector<std::vector<Slot>> givers_;
};

} // namespace

QString recordName(const KeyBytes& key)
{
    const QString line = QStringLiteral("Line %1").arg(lineNumberOf(key.slot));
    return key.title.isEmpty() ? line : line + QStringLiteral(" (") + key.title + QLatin1Char(')');
}

QString addressText(quint64 address)
{
    return QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<KeyLayout> KeyLayout::of(const std::vector<KeyBytes>& keys, QString& problem)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyBytes& key = keys[i];
        if (key.bytes.isEmpty())
            continue;
        if (quint64(key.address) + quint64(key.bytes.size()) - 1 > kTopAddress) {
            problem = recordName(key) + QStringLiteral(": its %1 bytes at %2 reach beyond address FFFFFFFF.")
                                            .arg(key.bytes.size())
                                            .arg(addressText(key.address));
            return std::nullopt;
        }
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a].address < keys[b].address; });
    SpanBuilder builder;
    for (const std::size_t i : order) {
        if (!builder.add(keys[i], problem))
            return std::nullopt;
    }

    KeyLayout layout;
    layout.spans_ = std::move(builder).spans();
    layout.pages_.assign(std::size_t(kLastPage + 1), false);
    for (const Span& span : layout.spans_) {
        for (quint64 page = span.first >> kPageBits; page <= span.last() >> kPageBits; ++page)
            layout.pages_[std::size_t(page)] = true;
        layout.byteCount_ += span.bytes.size();
    }
    for (const KeyBytes& key : keys) {
        if (key.bytes.isEmpty())
            continue;
        const auto span = std::upper_bound(layout.spans_.begin(), layout.spans_.end(), quint64(key.address),
                                           [](quint64 address, const Span& s) { return address < s.first; }) - 1;
        layout.records_.push_back({.key = key, .index = span->index + qsizetype(key.address - span->first)});
    }
    return layout;
}

} // namespace quorvane
