// A key that would be saved at another address is a warning like any other,
// so nothing is written without --yes: after build --addr to fewer address
// digits, and when a template that mixes address widths loads 16-bit.

#include "cli_test_support.h"

#include <QFile>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class AddressSizeRefusal : public CliTest {};

TEST_F(AddressSizeRefusal, AKeyThatWouldMoveWritesNothingWithoutYes)
{
    const struct { QByteArray records; QStringList options; } rows[] = {
        {.records = "far , 12345678 ,  2 ,  0\r\n0102\r\n", .options = {u"--addr"_s, u"16"_s}},
        // The last record line's width decides the address size.
        {.records = "far , 12345678 ,  2 ,  0\r\n0102\r\nnear , 0010 ,  1 ,  0\r\nAA\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.options.join(u' ').toStdString());
        writeFileBytes(path(u"in.639"_s), "# Template File\r\n" + row.records);
        const CliRun result = run(QStringList{u"build"_s, u"in.639"_s, u"-o"_s, u"out.KEY"_s} + row.options);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.errors, u"WARNING: The key data exceeds the upper bound of the address size.\nLineNo: 1 (12345678)\n"
                                 u"(The key data of these lines is saved at another address.)\nContinue ?\n"
                                 u"Not answered: --yes answers OK.\n"_s);
        EXPECT_FALSE(QFile::exists(path(u"out.KEY"_s)));
    }
}

} // namespace
} // namespace quorvane::test
