// batch: one file per CSV row, each byte for byte what the writers write for
// the template with the row's data; a refused row writes nothing and names
// its CSV line, the other rows are still written.

#include "cli_test_support.h"

#include <array>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>


namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class Batch : public CliTest {
protected:
    void SetUp() override { writeTemplate(u"t.639"_s, templ); }

    // The template with the data of a row: serial, name, line 4.
    [[nodiscard]] Document filled(const QString& serial, const QString& name, const QString& line4) const
    {
        Document document = templ;
        document.table[0].KeyData = serial;
        // The template gives the name no size: it takes its data's.
        document.table[1] = titled(asciiRecordAt(0x2000, name), u"name"_s);
        document.table[3].KeyData = line4;
        return document;
    }

    [[nodiscard]] QStringList filesIn(const QString& folder) const
    {
        return QDir(path(folder)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

    Document templ = [] {
        KeyRecord name = titled(asciiRecordAt(0x2000, u"default"_s), u"name"_s);
        name.KeySize = 0;
        return documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x1000, u"00000000"_s), u"serial"_s)},
                                                {1, name},
                                                {2, titled(hexRecordAt(0x3000, u"ABCD"_s), u"fixed"_s)},
                                                {3, titled(hexRecordAt(0x4000, u"0000"_s), u"fixed"_s)}});
    }();
};

TEST_F(Batch, WritesEachRowAndRefusesOnlyTheBadOnes)
{
    writeFileBytes(path(u"d.csv"_s), "serial,name,lot,#4,comment\r\n"
                                     "01020304,\"Al, \"\"B\"\"\",L1,1111,first\r\n"
                                     "0A0B0C0D,\"multi\r\nline\",L2,2222,\r\n"
                                     "55667788,dup,L1,5555,\r\n"
                                     "66778899,short,L7\r\n"
                                     "\r\n"
                                     "99AABBCC,\"fine\",L6,6666,");
    const CliRun result =
        run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{lot}.KEY"_s, u"--ignore-column"_s, u"comment"_s});

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, u"CSV line 2: wrote out/L1.KEY\nCSV line 3: wrote out/L2.KEY\nCSV line 8: wrote out/L6.KEY\n"_s);
    EXPECT_EQ(result.errors,
              u"CSV line 5: the file name \"out/L1.KEY\" is that of CSV line 2.\n"
              u"CSV line 6: 3 fields where the header has 5.\n"
              u"2 of 5 rows were not written.\n"_s);
    EXPECT_EQ(filesIn(u"out"_s), QStringList({u"L1.KEY"_s, u"L2.KEY"_s, u"L6.KEY"_s}));
    EXPECT_EQ(filesIn(u"."_s), QStringList({u"d.csv"_s, u"out"_s, u"t.639"_s})) << "a row wrote outside out/";
    EXPECT_EQ(readFileBytes(path(u"out/L1.KEY"_s)), keyFileBytes(filled(u"01020304"_s, u"Al, \"B\""_s, u"1111"_s)));
    EXPECT_EQ(readFileBytes(path(u"out/L2.KEY"_s)), keyFileBytes(filled(u"0A0B0C0D"_s, u"multi\r\nline"_s, u"2222"_s)));
    EXPECT_EQ(readFileBytes(path(u"out/L6.KEY"_s)), keyFileBytes(filled(u"99AABBCC"_s, u"fine"_s, u"6666"_s)));
}

TEST_F(Batch, TemplatesOutKeepTitlesAndTypes)
{
    writeFileBytes(path(u"d.csv"_s), "name,serial\n\xC3\xA4-1,DEADBEEF\n");
    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"{serial}-{name}.639"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(readFileBytes(path(u"DEADBEEF-\u00e4-1.639"_s)), templateFileBytes(filled(u"DEADBEEF"_s, u"\u00e4-1"_s, u"0000"_s)));
}

// --yes answers the template's warnings; it never cuts or pads a CSV value.
TEST_F(Batch, AValueOfAnotherSizeRefusesItsRowEvenWithYes)
{
    // Full, so that "#256" is a line of it: a template keeps no empty lines.
    for (Slot slot = 4; slot < kRecordCount; ++slot)
        templ.table[slot] = hexRecordAt(0x5000 + 0x10 * slot, u"00"_s);
    writeTemplate(u"t.639"_s, templ);
    writeFileBytes(path(u"d.csv"_s), "serial,name,#256\n"
                                     "AB,short,01\n"
                                     "0102030405,long,01\n"
                                     "XYZ00000,bad,01\n"
                                     "ab12cd34,ok,7f\n"
                                     "01020304,wide,0102\n"
                                     "01020305," + QByteArray(251, 'x') + ",01\n");
    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{serial}.KEY"_s, u"--yes"_s});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, u"CSV line 5: wrote out/ab12cd34.KEY\n"_s);
    EXPECT_EQ(result.errors,
              u"CSV line 2: the column \"serial\" holds \"AB\", which is 1 byte; line 1 of the template takes 4 bytes.\n"
              u"CSV line 3: the column \"serial\" holds \"0102030405\", which is 5 bytes; line 1 of the template takes 4 bytes.\n"
              u"CSV line 4: the column \"serial\" holds \"XYZ00000\", which is not HEX data (two hex digits a byte).\n"
              u"CSV line 6: the column \"#256\" holds \"0102\", which is 2 bytes; line 256 of the template takes 1 byte.\n"
              u"CSV line 7: the column \"name\" holds \"xxxxxxxxxxxxxxxx...\", which is 251 bytes; one S-record of line 2 "
              u"holds at most 250 bytes.\n"
              u"5 of 6 rows were not written.\n"_s);
    Document ok = filled(u"ab12cd34"_s, u"ok"_s, u"0000"_s);
    ok.table[255].KeyData = u"7f"_s;
    EXPECT_EQ(readFileBytes(path(u"out/ab12cd34.KEY"_s)), keyFileBytes(ok));
    EXPECT_EQ(filesIn(u"out"_s), QStringList{u"ab12cd34.KEY"_s});
}

// The reader's own errors are its test's; here, that any of them, a header
// that cannot mean what it says or a --unique repeat writes no file at all.
TEST_F(Batch, ACsvOrHeaderItCannotUseWritesNothing)
{
    struct Row {
        QByteArray csv;
        QString errors; // the error stream starts with this
        QStringList options = {};
        int exitCode = 2;
    };
    const QString unused = u"The column \"lot\" names no record of the template and is not in the pattern; "
                           u"--ignore-column \"lot\" leaves it unused."_s;
    const Row rows[] = {
        {.csv = "serial,name\n01020304,\"ok\"\n01020305,\"open,\nL\n01020306,x\n",
         .errors = u"d.csv: CSV line 3: the quoted field that starts here has no closing quote."_s},
        {.csv = "", .errors = u"d.csv has no header line."_s},
        {.csv = "serial,name\r\n\r\n", .errors = u"d.csv: the header line is the only line; there is no row to write.\n"_s,
         .exitCode = 1},
        {.csv = "serial,#9,name\n1,2,3\n", .errors = u"The column \"#9\" names no record of the template."_s},
        {.csv = "serial,name, serial \n1,2,3\n", .errors = u"The CSV header names the column \"serial\" twice."_s},
        {.csv = "#1,name,serial\n1,2,3\n", .errors = u"Two columns name line 1 of the template."_s},
        {.csv = "fixed,name\n1,2\n", .errors = u"The column \"fixed\" is the title of lines 3, 4 of the template; name one as \"#3\"."_s},
        {.csv = "serial,name,lot\n01020304,a,L\n", .errors = unused},
        {.csv = "serial,name,\n01020304,a,\n", .errors = u"CSV column 3 has no name; --ignore-column \"\" leaves it unused."_s},
        {.csv = "serial,name\n01020304,a\n", .errors = u"The CSV header has no column \"lot\"."_s,
         .options = {u"--ignore-column"_s, u"lot"_s}},
        {.csv = "serial,name,lot\n01020304,a,L\n", .errors = u"The CSV header has no column \"mac\".\n"_s + unused,
         .options = {u"--unique"_s, u"serial,mac"_s}},
        {.csv = "serial,name\n01020304,a\n", .errors = u"--skip-existing and --overwrite exclude each other."_s,
         .options = {u"--skip-existing"_s, u"--overwrite"_s}},
        {.csv = "serial,name\n01020304,a\n", .errors = u"--hash \"#4=crc32:serial\": line 4 is 2 bytes; crc32 gives 4."_s,
         .options = {u"--hash"_s, u"#4=crc32:serial"_s}},
        {.csv = "serial,name\n01020304,a\n", .errors = u"--hash \"#4=crc16-xmodem:name,#4\": line 4 is in its own list."_s,
         .options = {u"--hash"_s, u"#4=crc16-xmodem:name,#4"_s}},
        {.csv = "serial,name\n01020304,a\n",
         .errors = u"--hash \"serial=crc32:#3\": line 1 is the CSV column \"serial\" too; a record takes its data from one place."_s,
         .options = {u"--hash"_s, u"serial=crc32:#3"_s}},
        {.csv = "serial,name\n01020304,a\n",
         .errors = u"--hash \"#4=crc16-xmodem:image:0-FF\": a range of addresses is summed in the image the key data goes into; give --image."_s,
         .options = {u"--hash"_s, u"#4=crc16-xmodem:image:0-FF"_s}},
        {.csv = "serial,name\n01020304,a\n", .errors = u"--hash \"#4=sum16\": expected NAME=ALGO:RECORD[,RECORD...][:le]."_s,
         .options = {u"--hash"_s, u"#4=sum16"_s}},
        {.csv = "serial,name\n01020304,a\n", .errors = u"--hash \"name=sum8:serial\": line 2 is an ASCII record; a checksum fills a HEX record."_s,
         .options = {u"--hash"_s, u"name=sum8:serial"_s}},
        {.csv = "serial,name\n01020304,a\n", .errors = u"--hash \"#4=sha256:fixed:le\": a digest has no byte order; :le is for the CRCs and sums."_s,
         .options = {u"--hash"_s, u"#4=sha256:fixed:le"_s}},
        {.csv = "serial,name\nab12cd34,a\n01020304,b\nAB12CD34,c\n01020305,b\n",
         .errors = u"CSV line 4: the column \"serial\" repeats the value of CSV line 2: \"AB12CD34\".\n"
                   u"CSV line 5: the column \"name\" repeats the value of CSV line 3: \"b\".\n"
                   u"No file was written: each device needs values of its own.\n"_s,
         .options = {u"--unique"_s, u"serial"_s, u"--unique"_s, u"name"_s}, .exitCode = 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.csv.left(80).toStdString());
        writeFileBytes(path(u"d.csv"_s), row.csv);
        const CliRun result = run(QStringList{u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{name}.KEY"_s} + row.options);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_TRUE(result.errors.startsWith(row.errors)) << result.errors.toStdString();
        EXPECT_FALSE(QFile::exists(path(u"out"_s)));
    }
}

// Each row's checksums are over its own values, in the order listed; the
// expected values come from Python's zlib and hashlib.
TEST_F(Batch, HashFillsRecordsPerRow)
{
    Document hashed = templ;
    hashed.table[4] = titled(hexRecordAt(0x5000, u"00000000"_s), u"crc"_s);
    hashed.table[5] = titled(hexRecordAt(0x5100, u"0000"_s), u"sum"_s);
    hashed.table[6] = titled(hexRecordAt(0x5200, u"000000"_s), u"digest"_s);
    writeTemplate(u"h.639"_s, hashed);
    writeFileBytes(path(u"d.csv"_s), "serial,name\n01020304,ab\n0A0B0C0D,cd\n");
    const CliRun result = run({u"batch"_s, u"h.639"_s, u"d.csv"_s, u"-o"_s, u"{name}.KEY"_s, u"--hash"_s, u"crc=crc32:serial,name,#3"_s,
                               u"--hash"_s, u"sum=sum16:serial:le"_s, u"--hash"_s, u"digest=sha256:#1"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    for (const auto& [name, serial, crc, sum, digest] :
         {std::array{u"ab"_s, u"01020304"_s, u"2DEC4EB7"_s, u"0A00"_s, u"9F64A7"_s},
          std::array{u"cd"_s, u"0A0B0C0D"_s, u"B7DC73AF"_s, u"2E00"_s, u"B23549"_s}}) {
        Document expected = hashed;
        expected.table[0].KeyData = serial;
        expected.table[1] = titled(asciiRecordAt(0x2000, name), u"name"_s);
        expected.table[4].KeyData = crc;
        expected.table[5].KeyData = sum;
        expected.table[6].KeyData = digest;
        EXPECT_EQ(readFileBytes(path(name + u".KEY"_s)), keyFileBytes(expected)) << name.toStdString();
    }
}

// Whatever a row holds, nothing is written outside the pattern's folder:
// the run happens in work/, beside which the test's folder holds only the
// fixture's template; links below the folder lead out of it.
TEST_F(Batch, NoRowWritesOutsideThePatternsFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"work/out/L1"_s));
    ASSERT_TRUE(QFile::link(u"../.."_s, path(u"work/out/LNK"_s)));
    ASSERT_TRUE(QFile::link(u"../../../escaped.KEY"_s, path(u"work/out/L1/link.KEY"_s)));
    writeTemplate(u"work/t.639"_s, templ);
    writeFileBytes(path(u"work/d.csv"_s), "serial,name,lot\n01020304,ok,L1\n01020305,x,..\n0102030B,link,L1\n"
                                          "0102030C,t,LNK\n");
    const CliRun result =
        runCli({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{lot}/{name}.KEY"_s}, path(u"work"_s));

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, u"CSV line 2: wrote out/L1/ok.KEY\n"_s);
    EXPECT_EQ(result.errors, u"CSV line 3: the file name \"out/../x.KEY\" has a part \"..\".\n"
                             u"CSV line 4: out/L1/link.KEY is a symbolic link; no row writes through one.\n"
                             u"CSV line 5: out/LNK is a symbolic link; no row writes through one.\n"
                             u"3 of 4 rows were not written.\n"_s);
    EXPECT_EQ(filesIn(u"."_s), QStringList({u"t.639"_s, u"work"_s}));
    EXPECT_EQ(filesIn(u"work"_s), QStringList({u"d.csv"_s, u"out"_s, u"t.639"_s}));
    EXPECT_EQ(filesIn(u"work/out"_s), QStringList({u"L1"_s, u"LNK"_s}));
    EXPECT_EQ(filesIn(u"work/out/L1"_s), QStringList({u"link.KEY"_s, u"ok.KEY"_s}));
}

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The manifest lists every row with the values written, the file's hash and
// the outcome; it is never replaced by surprise.
TEST_F(Batch, ManifestRecordsEachRow)
{
    writeFileBytes(path(u"d.csv"_s), "serial,name\n0a0b0c0d,a\n01020304,b,extra\n05060708,c\n");
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"out"_s));
    writeFileBytes(path(u"out/c.KEY"_s), "kept");
    const QStringList args{u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{name}.KEY"_s, u"--manifest"_s, u"m.csv"_s};
    ASSERT_EQ(run(args).exitCode, 1);
    const QString hash = sha256(readFileBytes(path(u"out/a.KEY"_s)));
    EXPECT_EQ(QString::fromUtf8(readFileBytes(path(u"m.csv"_s))),
              u"row,outcome,file,sha256,reason,serial,name,fixed,fixed\r\n"
              u"CSV line 2,written,out/a.KEY,"_s + hash + u",,0A0B0C0D,a,ABCD,0000\r\n"
              u"CSV line 3,refused,,,3 fields where the header has 2.\r\n"
              u"CSV line 4,refused,out/c.KEY,,\"out/c.KEY: the file is there already; --overwrite replaces it, "
              u"--skip-existing keeps it.\"\r\n"_s);
    EXPECT_FALSE(QFile::exists(path(u"m.csv.partial"_s)));

    const CliRun again = run(args);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.errors, u"m.csv: the file is there already; --overwrite replaces it.\n"_s);

    writeFileBytes(path(u"one.csv"_s), "serial,name\nDEADBEEF,j\n");
    ASSERT_EQ(run({u"batch"_s, u"t.639"_s, u"one.csv"_s, u"-o"_s, u"out/{name}.KEY"_s, u"--manifest"_s, u"m.json"_s}).exitCode, 0);
    const QJsonObject entry = QJsonDocument::fromJson(readFileBytes(path(u"m.json"_s))).object();
    EXPECT_EQ(entry[u"outcome"_s].toString(), u"written"_s);
    EXPECT_EQ(entry[u"file"_s].toString(), u"out/j.KEY"_s);
    EXPECT_EQ(entry[u"sha256"_s].toString(), sha256(readFileBytes(path(u"out/j.KEY"_s))));
    EXPECT_EQ(entry[u"records"_s].toArray().at(1).toObject(), QJsonObject({{u"name"_s, u"name"_s}, {u"value"_s, u"j"_s}}));
}

} // namespace
} // namespace quorvane::test

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class BatchSet : public CliTest {
protected:
    void SetUp() override
    {
        writeTemplate(u"g.639"_s, documentIn(AddressSize::Bits32,
                                             {{0, titled(hexRecordAt(0x1000, u"00000000"_s), u"serial"_s)},
                                              {1, titled(hexRecordAt(0x1100, u"000000"_s), u"mac"_s)},
                                              {2, titled(asciiRecordAt(0x1200, u"SN-000000"_s), u"name"_s)},
                                              {3, titled(hexRecordAt(0x1300, QString(32, u'0')), u"key"_s)}}));
    }
};

// A --set or --count the run cannot honour writes nothing at all.
TEST_F(BatchSet, RefusesWhatItCannotGenerate)
{
    struct Row {
        QStringList options;
        QString error;
    };
    const Row rows[] = {
        {{u"--count"_s, u"3"_s, u"--set"_s, u"serial=counter:FFFFFFFE"_s},
         u"--set \"serial=counter:FFFFFFFE\": device 3 would take 100000000, wider than the 4 bytes of line 1; no file was written."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"mac=counter:d16777215:le"_s},
         u"--set \"mac=counter:d16777215:le\": device 2 would take 1000000, wider than the 3 bytes of line 2; no file was written."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"name=text:SN-{n:05}"_s},
         u"--set \"name=text:SN-{n:05}\": device 1 would take \"SN-00001\", 8 bytes; line 3 of the template takes 9 bytes; "
         u"no file was written."_s},
        {{u"--count"_s, u"0"_s}, u"--count takes a number of devices from 1 to 1000000."_s},
        {{u"--count"_s, u"2"_s, u"d.csv"_s}, u"--count and DEVICES.csv exclude each other: the CSV's rows are the devices."_s},
        {{}, u"DEVICES.csv is missing; --count N runs N devices without one."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"key=random:x"_s},
         u"--set \"key=random:x\": expected NAME=counter:START[:STEP][:le], NAME=random or NAME=text:PATTERN."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"name=random"_s},
         u"--set \"name=random\": line 3 is an ASCII record; random fills a HEX record."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"key=text:x"_s},
         u"--set \"key=text:x\": line 4 is a HEX record; text fills an ASCII record."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"name=text:{n:6}"_s},
         u"--set \"name=text:{n:6}\": a pattern holds {n} or {n:06} (the device's number, zero-padded to 6 digits); "
         u"\"{{\" and \"}}\" are braces."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"serial=counter:0x1"_s},
         u"--set \"serial=counter:0x1\": \"0x1\" is no number: hex digits, or decimal after a d (d1000)."_s},
        {{u"--count"_s, u"2"_s, u"--set"_s, u"serial=random"_s, u"--set"_s, u"#1=random"_s},
         u"--set \"#1=random\": line 1 is filled by an earlier --set."_s},
        {{u"d.csv"_s, u"--set"_s, u"#1=random"_s},
         u"--set \"#1=random\": line 1 is the CSV column \"serial\" too; a record takes its data from one place."_s},
    };
    writeFileBytes(path(u"d.csv"_s), "serial\n01020304\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options.join(u' ').toStdString());
        const CliRun result = run(QStringList{u"batch"_s, u"g.639"_s, u"-o"_s, u"out/{name}.KEY"_s} + row.options);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.errors.startsWith(row.error)) << result.errors.toStdString();
        EXPECT_FALSE(QFile::exists(path(u"out"_s)));
    }
}

// Each kind read back from the files: counters by their step and byte
// order, the text by the device's number (which also names the file), and
// random keys distinct and using every byte of the record.
TEST_F(BatchSet, FillsEachDeviceWithItsOwnValues)
{
    const CliRun result = run({u"batch"_s, u"g.639"_s, u"--count"_s, u"50"_s, u"-o"_s, u"out/{name}.KEY"_s, u"--set"_s,
                               u"serial=counter:d1000:10"_s, u"--set"_s, u"mac=counter:FFFF:le"_s, u"--set"_s,
                               u"name=text:SN-{n:06}"_s, u"--set"_s, u"key=random"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.output.startsWith(u"Device 1: wrote out/SN-000001.KEY\nDevice 2: wrote out/SN-000002.KEY\n"_s));
    QSet<QString> keys;
    QByteArray anyBits(16, '\0');
    for (int device = 1; device <= 50; ++device) {
        const QString name = u"SN-%1"_s.arg(device, 6, 10, QLatin1Char('0'));
        const QStringList lines = run({u"show"_s, u"--csv"_s, path(u"out/"_s + name + u".KEY"_s)}).output.split(u'\n');
        ASSERT_GE(lines.size(), 5) << name.toStdString();
        const quint32 mac = 0xFFFF + device - 1;
        EXPECT_EQ(lines.at(1).section(u',', 4), u"%1"_s.arg(1000 + 0x10 * (device - 1), 8, 16, QLatin1Char('0')).toUpper());
        const char leastFirst[] = {char(mac), char(mac >> 8), char(mac >> 16)};
        EXPECT_EQ(lines.at(2).section(u',', 4), QByteArray(leastFirst, 3).toHex().toUpper());
        EXPECT_EQ(lines.at(3).section(u',', 4), QString::fromLatin1(name.toLatin1().toHex().toUpper()));
        const QString key = lines.at(4).section(u',', 4);
        keys.insert(key);
        const QByteArray bytes = QByteArray::fromHex(key.toLatin1());
        ASSERT_EQ(bytes.size(), 16);
        for (int i = 0; i < 16; ++i)
            anyBits[i] = char(anyBits[i] | bytes[i]);
    }
    EXPECT_EQ(keys.size(), 50);
    EXPECT_EQ(anyBits.count('\0'), 0);
}

// The state is advanced before the first file: a lot whose rows all fail
// still uses up its serials, and the next lot goes on after them.
TEST_F(BatchSet, StateNeverHandsOutASerialTwice)
{
    const auto lot = [this](const QString& count, const QString& pattern) {
        return run({u"batch"_s, u"g.639"_s, u"--count"_s, count, u"-o"_s, pattern, u"--set"_s, u"serial=counter:10:2"_s,
                    u"--state"_s, u"s.txt"_s, u"--set"_s, u"name=text:SN-{n:06}"_s});
    };
    ASSERT_EQ(lot(u"2"_s, u"a/{name}.KEY"_s).exitCode, 0);
    EXPECT_EQ(readFileBytes(path(u"s.txt"_s)), "serial=14\r\n");
    EXPECT_EQ(lot(u"3"_s, u"a/{name}.KEY"_s).exitCode, 1); // device 3 only: the others are there
    EXPECT_EQ(readFileBytes(path(u"s.txt"_s)), "serial=1A\r\n");
    ASSERT_EQ(lot(u"1"_s, u"b/{name}.KEY"_s).exitCode, 0);
    EXPECT_EQ(run({u"show"_s, u"--csv"_s, path(u"b/SN-000001.KEY"_s)}).output.section(u'\n', 1, 1).section(u',', 4),
              u"0000001A"_s);
    writeFileBytes(path(u"s.txt"_s), "serial 1\n");
    const CliRun damaged = lot(u"1"_s, u"c/{name}.KEY"_s);
    EXPECT_EQ(damaged.exitCode, 2);
    EXPECT_TRUE(damaged.errors.startsWith(u"s.txt: line 1 is not NAME=HEX; no file was written."_s)) << damaged.errors.toStdString();
}

} // namespace
} // namespace quorvane::test
