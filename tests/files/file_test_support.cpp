#include "file_test_support.h"

#include <QFile>
#include <QProcess>

#include <string_view>

namespace quorvane::test {

QByteArray written(DeviceWriter write, const Document& document, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString result = write(buffer, document);
    if (error)
        *error = result;
    else
        EXPECT_EQ(result, QString());
    return bytes;
}

QString readInto(DeviceReader read, QByteArray bytes, Document& document)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, document);
}

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(60000))
        return program + QStringLiteral(" did not run: ") + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

QString randomText(std::mt19937& random, int maxLength)
{
    static constexpr std::u32string_view kPool = U"abcXYZ019 ,#-_.:;\"'\u00E9\u00DF\u20AC\u6F22\uFEFF\U0001F511";
    QString text;
    for (int i = std::uniform_int_distribution<int>(0, maxLength)(random); i > 0; --i) {
        // Appended by hand: the UCS-4 decoder would swallow a U+FEFF.
        const char32_t c = kPool[std::uniform_int_distribution<std::size_t>(0, kPool.size() - 1)(random)];
        const char16_t units[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        text += QChar::requiresSurrogates(c) ? QString(reinterpret_cast<const QChar*>(units), 2) : QString(QChar(char16_t(c)));
    }
    return text;
}

QString randomHexDigits(std::mt19937& random, int byteCount)
{
    QString digits;
    for (int i = 0; i < 2 * byteCount; ++i)
        digits += QLatin1Char("0123456789ABCDEFabcdef"[std::uniform_int_distribution<int>(0, 21)(random)]);
    return digits;
}

} // namespace quorvane::test
