#include "tests/support/qt_printers.h"

#include "files/line_reader.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace quorvane {
namespace {

// The lines, each with the line end the reader saw after it, then how
// reading stopped when not at the end.
QList<QByteArray> readAllLines(LineReader& reader)
{
    QList<QByteArray> lines;
    QByteArrayView line;
    LineReader::Status status;
    while ((status = reader.next(line)) == LineReader::Status::Line)
        lines.append(line.toByteArray() + reader.lineEnd().toByteArray());
    if (status == LineReader::Status::TooLong)
        lines.append("too long: line " + QByteArray::number(reader.lineNumber()));
    return lines;
}

// Every case is read with chunks from one byte up, so that a line end split
// between two reads (CR at the end of one chunk, LF at the start of the
// next) is met at every position.
TEST(LineReader, SplitsAtCrLfLfAndCrWhateverTheChunkSize)
{
    // Lines of 0 to 40 characters, each with each kind of line end, so that
    // the end of a line falls at every position of the blocks the search
    // compares and of the chunks read.
    QByteArray sweep;
    QList<QByteArray> sweepLines;
    for (int length = 0; length <= 40; ++length) {
        for (const char* end : {"\r\n", "\n", "\r"})
            sweep += sweepLines.emplace_back(QByteArray(length, char('a' + length % 26)) + end);
    }
    const struct { QByteArray input; QList<QByteArray> lines; qsizetype maxLength = 8; } rows[] = {
        {.input = "", .lines = {}},
        {.input = "S1", .lines = {"S1"}},
        {.input = "a\r\nb\nc\rd\r", .lines = {"a\r\n", "b\n", "c\r", "d\r"}},
        {.input = "a\r\n\r\nb\n\n\rc\r\r\nd\r\n", .lines = {"a\r\n", "\r\n", "b\n", "\n", "\r", "c\r", "\r\n", "d\r\n"}},
        {.input = "12345678\r\ny", .lines = {"12345678\r\n", "y"}},
        {.input = "12345678\r", .lines = {"12345678\r"}},
        {.input = "ok\r\n123456789\r\nnever read\r\n", .lines = {"ok\r\n", "too long: line 2"}},
        {.input = sweep, .lines = sweepLines, .maxLength = 64},
    };
    for (const auto& row : rows) {
        for (qsizetype chunk : {1, 2, 3, 5, 7, 64, 1 << 20}) {
            QByteArray input = row.input;
            QBuffer buffer(&input);
            buffer.open(QIODevice::ReadOnly);
            LineReader reader(buffer, row.maxLength, chunk);
            EXPECT_EQ(readAllLines(reader), row.lines) << row.input.left(40).toPercentEncoding().data() << " chunk " << chunk;
        }
    }
}

// A small file gets a buffer of its size: what is added to it after the
// reader was made is read all the same, however long.
TEST(LineReader, ReadsToTheEndOfADeviceThatGrows)
{
    QByteArray bytes = "a\r\n";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer, 8);
    QByteArrayView line;
    ASSERT_EQ(reader.next(line), LineReader::Status::Line);
    bytes += "bc\r\n" + QByteArray(5000, '\n') + "12345678\r\n123456789";
    const QList<QByteArray> lines = readAllLines(reader);
    ASSERT_EQ(lines.size(), 5003);
    EXPECT_EQ(lines.front(), "bc\r\n");
    EXPECT_EQ(lines.last(), "too long: line 5004");
}

} // namespace
} // namespace quorvane
