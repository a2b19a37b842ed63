// show: the records as File Open reads them, as a table or as JSON.

#include "cli_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class Show : public CliTest {
protected:
    void SetUp() override
    {
        const Document document =
            documentIn(AddressSize::Bits24, {{0, titled(hexRecordAt(0x123456, u"A1B2"_s), u"serial"_s)},
                                             {1, titled(asciiRecordAt(0x2000, u"a, b"_s), u"name"_s)},
                                             {2, hexRecordAt(0xFFFF, u"7F"_s)}});
        writeTemplate(u"t.639"_s, document);
    }
};

// Columns as wide as their longest text, numbers to the right.
TEST_F(Show, PrintsLineAddressSizeTypeTitleAndData)
{
    const CliRun result = run({u"show"_s, u"t.639"_s});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(result.output, u"Line  Address  Size  Type   Title   Data\n"
                             u"   1  123456      2  HEX    serial  A1B2\n"
                             u"   2  002000      4  ASCII  name    a, b\n"
                             u"   3  00FFFF      1  HEX            7F\n"_s);
}

TEST_F(Show, JsonHoldsTheAddressSizeAndEveryRecord)
{
    const CliRun result = run({u"show"_s, u"--json"_s, u"t.639"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    QJsonParseError error;
    const QJsonObject shown = QJsonDocument::fromJson(result.output.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.output.toStdString();

    const auto record = [](int line, const char* address, int size, const char* type, const char* title,
                           const char* data) {
        return QJsonObject{{u"line"_s, line}, {u"address"_s, QString::fromUtf8(address)}, {u"size"_s, size},
                           {u"type"_s, QString::fromUtf8(type)}, {u"title"_s, QString::fromUtf8(title)},
                           {u"data"_s, QString::fromUtf8(data)}};
    };
    const QJsonObject expected{
        {u"addressSize"_s, 24},
        {u"records"_s, QJsonArray{record(1, "123456", 2, "HEX", "serial", "A1B2"),
                                  record(2, "002000", 4, "ASCII", "name", "a, b"),
                                  record(3, "00FFFF", 1, "HEX", "", "7F")}},
    };
    EXPECT_EQ(shown, expected) << result.output.toStdString();
}

// The editor's text, its line breaks as on a terminal, never CR.
TEST_F(Show, AFileItCannotOpenIsRefusedWithTheEditorsText)
{
    writeFileBytes(path(u"bad.KEY"_s), "S10510000102E7\r\nnot a record\r\n");
    const CliRun result = run({u"show"_s, u"bad.KEY"_s});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, QString());
    EXPECT_EQ(result.errors, u"bad.KEY: Illegal file loading.\nSelect the appropriate file\n"_s);
}

} // namespace
} // namespace quorvane::test
