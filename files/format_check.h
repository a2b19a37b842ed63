#pragma once

#include <QString>
#include <QtGlobal>

namespace quorvane {

// The verdict of a format check over a whole file: valid, or the first line
// that is not and why. A check stops at that line, so `lineCount` counts the
// lines read up to and including it. A file that could not be read to its
// end is not valid either, but says nothing about the format: `unreadable`
// tells it apart, with the system's description as the reason.
struct FormatCheck {
    bool valid = true;
    qint64 lineCount = 0;
    qint64 badLine = 0;  // 0 when valid
    QString reason;      // empty when valid
    bool unreadable = false;

    [[nodiscard]] explicit operator bool() const { return valid; }

    [[nodiscard]] static FormatCheck passed(qint64 lines) { return {true, lines, 0, {}, false}; }
    [[nodiscard]] static FormatCheck failed(qint64 line, QString why) { return {false, line, line, std::move(why), false}; }
    [[nodiscard]] static FormatCheck readFailed(qint64 line, QString why)
    {
        return {false, line, line, std::move(why), true};
    }
};

} // namespace quorvane
