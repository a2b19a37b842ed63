#pragma once

#include <QString>

#include <optional>
#include <utility>

// What a command makes of a piece of its call: the value, or why there is
// none in the words the user reads.
namespace quorvane::cli {

template<typename T>
struct Parsed {
    std::optional<T> value = std::nullopt;
    QString problem = {};

    [[nodiscard]] static Parsed refused(QString why) { return {std::nullopt, std::move(why)}; }

    explicit operator bool() const { return value.has_value(); }
    [[nodiscard]] const T& operator*() const { return *value; }
    [[nodiscard]] T& operator*() { return *value; }
    [[nodiscard]] const T* operator->() const { return &*value; }
    [[nodiscard]] T* operator->() { return &*value; }
};

} // namespace quorvane::cli
