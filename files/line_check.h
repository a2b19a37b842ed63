#pragma once

#include "format_check.h"
#include "line_reader.h"
#include "open_file.h"

#include <QFile>

// The walk every line-based format check takes: each line judged by the
// format's own rule, the first bad one named with why, a line too long for
// the format given up on as soon as it is that long.
namespace quorvane {

// `faultOf(line)` gives a Fault, `none` when the line is good;
// `describe(fault)` the words for a person.
template <typename Fault, typename FaultOf, typename Describe>
[[nodiscard]] FormatCheck checkEveryLine(QIODevice& device, qsizetype maxLineLength, FaultOf faultOf,
                                         Describe describe, Fault none, Fault tooLong)
{
    LineReader reader(device, maxLineLength);
    QByteArrayView line;
    for (;;) {
        switch (reader.next(line)) {
        case LineReader::Status::End:
            return FormatCheck::passed(reader.lineNumber());
        case LineReader::Status::TooLong:
            return FormatCheck::failed(reader.lineNumber(), describe(tooLong));
        case LineReader::Status::ReadError:
            return FormatCheck::readFailed(reader.lineNumber(), reader.errorString());
        case LineReader::Status::Line:
            if (const Fault fault = faultOf(line); fault != none)
                return FormatCheck::failed(reader.lineNumber(), describe(fault));
            break;
        }
    }
}

// The same check over the file at `path`; a file that cannot be opened fails
// at line 0 with the system's words.
template <typename CheckDevice>
[[nodiscard]] FormatCheck checkFileAt(const QString& path, CheckDevice checkDevice)
{
    QFile file(path);
    if (QString error = openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered); !error.isEmpty())
        return FormatCheck::readFailed(0, error);
    return checkDevice(file);
}

} // namespace quorvane
