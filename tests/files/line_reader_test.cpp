#include "file_test_support.h"

#include "files/line_reader.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace quorvane {
namespace {

using test::PrintTo;

struct LineCase {
    const char* name;
    QByteArray input;
    QList<QByteArray> lines;
};

// Every case is read with chunks from one byte up, so that a line end split
// between two reads (CR at the end of one chunk, LF at the start of the
// next) is met at every position.
class LineEnds : public ::testing::TestWithParam<LineCase> {};

QList<QByteArray> readAllLines(QIODevice& device, qsizetype maxLength, qsizetype chunk)
{
    LineReader reader(device, maxLength, chunk);
    QList<QByteArray> lines;
    QByteArrayView line;
    LineReader::Status status;
    while ((status = reader.next(line)) == LineReader::Status::Line)
        lines.append(line.toByteArray());
    EXPECT_EQ(status, LineReader::Status::End);
    return lines;
}

TEST_P(LineEnds, SplitsAtEveryChunkSize)
{
    const LineCase& c = GetParam();
    for (qsizetype chunk : {1, 2, 3, 5, 64, 1 << 20}) {
        QByteArray input = c.input;
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(readAllLines(buffer, 64, chunk), c.lines) << "chunk " << chunk;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEnds,
    ::testing::Values(LineCase{"Empty", "", {}}, LineCase{"NoLineEnd", "S1", {"S1"}},
                      LineCase{"CrLf", "ab\r\ncd\r\n", {"ab", "cd"}}, LineCase{"Lf", "ab\ncd", {"ab", "cd"}},
                      LineCase{"Cr", "ab\rcd\r", {"ab", "cd"}},
                      LineCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      LineCase{"EmptyLines", "a\r\n\r\nb\n\n", {"a", "", "b", ""}},
                      LineCase{"LfThenCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
                      LineCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}}, LineCase{"OnlyCrLf", "\r\n", {""}},
                      LineCase{"LineOfMaximumLength", QByteArray(64, 'x') + "\r\ny",
                               {QByteArray(64, 'x'), "y"}}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(LineReader, ReportsTheLineThatIsTooLongWithItsNumber)
{
    for (qsizetype chunk : {1, 3, 1 << 20}) {
        QByteArray input = "ok\r\n" + QByteArray(9, 'x') + "\r\nnever read\r\n";
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        LineReader reader(buffer, 8, chunk);
        QByteArrayView line;
        ASSERT_EQ(reader.next(line), LineReader::Status::Line);
        EXPECT_EQ(line, "ok");
        EXPECT_EQ(reader.next(line), LineReader::Status::TooLong) << "chunk " << chunk;
        EXPECT_EQ(reader.lineNumber(), 2);
    }
}

TEST(LineReader, GivesUpOnAnEndlessLineAfterOneChunk)
{
    test::EndlessDevice device("S1", '0');
    LineReader reader(device, 515, 4096);
    QByteArrayView line;
    EXPECT_EQ(reader.next(line), LineReader::Status::TooLong);
    EXPECT_LE(device.bytesHandedOut(), 4096 + 516);
}

TEST(LineReader, ReportsAReadFailure)
{
    test::UnreadableDevice device;
    LineReader reader(device, 515);
    QByteArrayView line;
    EXPECT_EQ(reader.next(line), LineReader::Status::ReadError);
    EXPECT_EQ(reader.errorString(), QStringLiteral("Input/output error"));
}

} // namespace
} // namespace quorvane
