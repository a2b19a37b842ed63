#include "file_test_support.h"

#include "files/intel_hex.h"
#include "files/intel_hex_writer.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;

struct Placed {
    quint32 address; // as stored in the record
    int bytes;
    quint32 at;      // where the file must put them
};

// objcopy reads every byte back at its address, whichever 64 KiB pages the
// records lie in or cross; a 16-bit document puts them where its S1 lines would.
TEST(IntelHexSave, ObjcopyReadsEveryByteBackAtItsAddress)
{
    const struct { const char* layout; AddressSize size; std::vector<Placed> records; } rows[] = {
        {.layout = "below 64 KiB", .size = Bits32, .records = {{0x0010, 40, 0x0010}, {0x0100, 1, 0x0100}, {0x0200, 0, 0x0200}}},
        {.layout = "across a page inside a record", .size = Bits32, .records = {{0x1FFF5, 40, 0x1FFF5}, {0x20030, 16, 0x20030}}},
        {.layout = "pages apart and back", .size = Bits24, .records = {{0x30000, 17, 0x30000}, {0x10008, 3, 0x10008}, {0x2FFFF, 1, 0x2FFFF}}},
        {.layout = "16-bit cut", .size = Bits16, .records = {{0x12340100, 5, 0x0100}, {0xFFF8, 20, 0xFFF8}}},
        {.layout = "top of the address space", .size = Bits32, .records = {{0xFFFFFFD0, 48, 0xFFFFFFD0}, {0xFFFF0000, 2, 0xFFFF0000}}},
    };
    std::mt19937 random{7};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.layout);
        Document document = test::documentIn(row.size);
        quint32 base = 0xFFFFFFFF;
        for (std::size_t i = 0; i < row.records.size(); ++i) {
            document.table[Slot(i)] = test::hexRecordAt(row.records[i].address, test::randomHexDigits(random, row.records[i].bytes));
            base = std::min(base, row.records[i].at);
        }
        QTemporaryDir dir;
        const QString hex = dir.filePath(u"out.hex"_s), image = dir.filePath(u"out.bin"_s);
        ASSERT_EQ(IntelHexSave(hex, document), QString());
        const QByteArray text = test::readFileBytes(hex);
        EXPECT_TRUE(text.endsWith("\r\n:00000001FF\r\n") || text == ":00000001FF\r\n");
        EXPECT_EQ(text.count("\r\n"), text.count('\n'));
        // A reader that wraps the offset inside its page must not misplace a byte either.
        for (const QByteArray& line : text.split('\n'))
            if (const auto fields = intelHexFieldsOf(line.trimmed()); fields && fields->type == 0)
                EXPECT_TRUE(fields->count <= 16 && fields->offset + fields->count <= 0x10000) << line.constData();
        ASSERT_EQ(test::runTool(u"objcopy"_s, {u"-I"_s, u"ihex"_s, u"-O"_s, u"binary"_s, hex, image}), QString());
        const QByteArray bytes = test::readFileBytes(image);
        for (std::size_t i = 0; i < row.records.size(); ++i) {
            const QByteArray expected = QByteArray::fromHex(document.table[Slot(i)].KeyData.toLatin1());
            EXPECT_EQ(bytes.mid(row.records[i].at - base, expected.size()), expected) << "line " << i + 1;
        }
    }
    const Document past = test::documentIn(Bits32, {{0, test::hexRecordAt(0xFFFFFFFE, u"010203"_s)}});
    QTemporaryDir dir;
    EXPECT_EQ(IntelHexSave(dir.filePath(u"past.hex"_s), past), u"ERROR:Line 1: the key data runs past address FFFFFFFF."_s);
}

} // namespace
} // namespace quorvane
