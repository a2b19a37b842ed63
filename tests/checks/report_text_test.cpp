#include "checks/report_list.h"
#include "checks/save_messages.h"
#include "checks/srecord_limit.h"

#include "table_builders.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvane {
namespace {

TEST(ReportList, JoinsLineNumbersOfHitSlots)
{
    const struct {
        std::vector<Slot> hits;
        QString expected;
    } cases[] = {
        {{}, QString()},
        {{6}, QStringLiteral("7")},
        {{0, 1, 9}, QStringLiteral("1, 2, 10")},
        {{2, 16, 255}, QStringLiteral("3, 17, 256")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reportList(c.hits), c.expected) << c.expected.toStdString();
}

TEST(SaveMessages, AreExactWithCrLfBetweenLines)
{
    const QString list = QStringLiteral("3, 17");
    const struct {
        std::function<QString(const QString&)> message;
        const char* expected;
    } cases[] = {
        {noAddressMessage, "No Address.\r\nLineNo: 3, 17"},
        {illegalHexDataMessage, "Illegal HEX Data.\r\nLineNo: 3, 17"},
        {srecordSizeExceededMessage, "The size of Srecord is exceeded.\r\nLineNo: 3, 17\r\nContinue ?"},
        {dataSizeDifferentMessage, "The size of data is different.\r\nLineNo: 3, 17\r\nContinue ?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message(list).toUtf8(), QByteArray(c.expected));
}

TEST(SaveMessages, AddressSizeWarningIsExact)
{
    EXPECT_EQ(addressSizeWarningText().toUtf8(),
              QByteArray("There is a possibility for the data size to exceed the upper bound of Srecord.\r\n"
                         "(Data that exceeds the upper bound is deleted.)\r\n"
                         "Continue ?"));
}

} // namespace
} // namespace quorvane
