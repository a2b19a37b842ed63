#include "file_test_support.h"

#include "files/intel_hex.h"
#include "files/intel_hex_writer.h"
#include "files/srecord_writer.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;

// objcopy reads the bytes back exactly where it reads those of the S-record
// KEY file, whichever 64 KiB pages the records lie in or cross.
TEST(IntelHexSave, ObjcopyReadsTheBytesOfTheSRecordFile)
{
    const struct { const char* layout; AddressSize size; std::vector<std::pair<quint32, int>> records; } rows[] = {
        {"below 64 KiB", Bits32, {{0x0010, 40}, {0x0100, 1}, {0x0200, 0}}},
        {"across a page inside a record", Bits32, {{0x1FFF5, 40}, {0x20030, 16}}},
        {"pages apart and back", Bits24, {{0x30000, 17}, {0x10008, 3}, {0x2FFFF, 1}}},
        {"16-bit addresses, cut and across FFFF", Bits16, {{0x12340100, 5}, {0xFFF8, 20}}},
        {"top of the address space", Bits32, {{0xFFFFFFD0, 48}, {0xFFFF0000, 2}}},
    };
    std::mt19937 random{7};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.layout);
        Document document = test::documentIn(row.size);
        for (std::size_t i = 0; i < row.records.size(); ++i)
            document.table[Slot(i)] = test::hexRecordAt(row.records[i].first, test::randomHexDigits(random, row.records[i].second));
        QTemporaryDir dir;
        const QString hex = dir.filePath(u"out.hex"_s), key = dir.filePath(u"out.KEY"_s);
        ASSERT_EQ(IntelHexSave(hex, document) + SRecodeSave(key, document), QString());
        const QByteArray text = test::readFileBytes(hex);
        EXPECT_TRUE(text.endsWith("\r\n:00000001FF\r\n") && text.count("\r\n") == text.count('\n'));
        // A reader that wraps the offset inside its page must not misplace a byte either.
        for (const QByteArray& line : text.split('\n')) {
            if (const auto fields = intelHexFieldsOf(line.trimmed()); fields && fields->type == 0) {
                EXPECT_TRUE(fields->count <= 16 && fields->offset + fields->count <= 0x10000) << line.constData();
            }
        }
        for (const auto& [format, file] : {std::pair{u"ihex"_s, hex}, std::pair{u"srec"_s, key}})
            ASSERT_EQ(test::runTool(u"objcopy"_s, {u"-I"_s, format, u"-O"_s, u"binary"_s, file, file + u".bin"_s}), QString());
        EXPECT_EQ(test::readFileBytes(hex + u".bin"_s), test::readFileBytes(key + u".bin"_s));
    }
}

} // namespace
} // namespace quorvane
