// build --addr to fewer address digits: a key that would be saved at another
// address is a warning like any other, so nothing is written without --yes.

#include "cli_test_support.h"
#include "tests/support/record_builders.h"

#include <QFile>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class AddressSizeRefusal : public CliTest {};

TEST_F(AddressSizeRefusal, AKeyThatWouldMoveWritesNothingWithoutYes)
{
    writeTemplate(u"in.639"_s, documentIn(AddressSize::Bits32, {{0, hexRecordAt(0x12345678, u"0102"_s)}}));
    const CliRun result = run({u"build"_s, u"in.639"_s, u"-o"_s, u"out.KEY"_s, u"--addr"_s, u"16"_s});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, u"WARNING: The key data exceeds the upper bound of the address size.\nLineNo: 1 (12345678)\n"
                             u"(The key data of these lines is saved at another address.)\nContinue ?\n"
                             u"Not answered: --yes answers OK.\n"_s);
    EXPECT_FALSE(QFile::exists(path(u"out.KEY"_s)));
}

} // namespace
} // namespace quorvane::test
