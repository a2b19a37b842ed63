#pragma once

#include <QString>
#include <QtGlobal>

namespace quorvane {

// The verdict of a format check over a whole file: valid, or the first line
// that is not and why. A check stops at that line, so `lineCount` counts the
// lines read up to and including it.
struct FormatCheck {
    bool valid = true;
    qint64 lineCount = 0;
    qint64 badLine = 0;  // 0 when valid
    QString reason;      // empty when valid

    [[nodiscard]] explicit operator bool() const { return valid; }

    [[nodiscard]] static FormatCheck passed(qint64 lines) { return {true, lines, 0, {}}; }
    [[nodiscard]] static FormatCheck failed(qint64 line, QString why) { return {false, line, line, std::move(why)}; }
};

} // namespace quorvane
