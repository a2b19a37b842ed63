#include "settings_file.h"

#include "atomic_save.h"
#include "open_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace quorvane {

namespace {

// The settings file is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxSettingsBytes = 1 << 20;
constexpr int kReservedFields = 11;

// Reads the comma / line separated fields of the settings file one at a
// time. A quoted field runs to the next double quote (commas and line ends
// inside belong to it); whatever follows the closing quote up to the next
// separator is ignored. Line ends (CR LF, LF or CR) and commas end a field.
class FieldReader {
public:
    explicit FieldReader(QString text) : text_(std::move(text)) {}

    std::optional<QString> next()
    {
        skipLineEnds();
        while (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(' '))
            ++pos_;
        if (pos_ >= text_.size())
            return std::nullopt;
        QString field;
        if (text_.at(pos_) == QLatin1Char('"')) {
            const qsizetype close = text_.indexOf(QLatin1Char('"'), pos_ + 1);
            if (close < 0)
                return std::nullopt;
            field = text_.mid(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            while (pos_ < text_.size() && !isSeparator(text_.at(pos_)))
                ++pos_;
        } else {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && !isSeparator(text_.at(pos_)))
                ++pos_;
            field = text_.mid(start, pos_ - start).trimmed();
        }
        if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(','))
            ++pos_;
        return field;
    }

private:
    static bool isSeparator(QChar c)
    {
        return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
    }

    // The line end after a field, and empty lines, separate fields.
    void skipLineEnds()
    {
        while (pos_ < text_.size() && (text_.at(pos_) == QLatin1Char('\r') || text_.at(pos_) == QLatin1Char('\n')))
            ++pos_;
    }

    QString text_;
    qsizetype pos_ = 0;
};

// A numeric field: optional sign and decimal digits, fitting 16 bits. An
// empty field reads as 0.
std::optional<qint16> toInt16(const QString& field)
{
    if (field.isEmpty())
        return qint16(0);
    bool ok = false;
    const int value = field.toInt(&ok, 10);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

Settings readFields(const QString& text, Settings settings)
{
    FieldReader reader(text);
    const auto path = reader.next();
    if (!path)
        return settings;
    settings.LastPath = *path;
    for (int i = 0; i < kReservedFields; ++i) {
        if (!reader.next())
            return settings;
    }
    const auto filter = reader.next();
    const auto filterValue = filter ? toInt16(*filter) : std::nullopt;
    if (!filterValue)
        return settings;
    settings.FilterIndexSetting = *filterValue;
    const auto sort = reader.next();
    const auto sortValue = sort ? toInt16(*sort) : std::nullopt;
    if (!sortValue)
        return settings;
    settings.SortOn = *sortValue;
    return settings;
}

Settings clampFilterIndex(Settings settings)
{
    settings.FilterIndexSetting = qBound(kFilterIndexMin, settings.FilterIndexSetting, kFilterIndexMax);
    return settings;
}

} // namespace

Settings readSettings(QIODevice& device, Settings startValues)
{
    // Reading the first megabyte of something else would make its first
    // megabyte the last path: one byte more tells such a file apart. A file
    // of known size gets no more room than it needs.
    qint64 wanted = kMaxSettingsBytes + 1;
    if (!device.isSequential())
        wanted = std::clamp<qint64>(device.size() - device.pos(), 0, wanted);
    const QByteArray bytes = device.read(wanted);
    if (bytes.size() > kMaxSettingsBytes)
        return clampFilterIndex(std::move(startValues));
    return clampFilterIndex(readFields(QString::fromUtf8(bytes), std::move(startValues)));
}

Settings readSettingsFile(const QString& path, Settings startValues)
{
    QFile file(path);
    if (!openFile(file, QIODevice::ReadOnly).isEmpty())
        return clampFilterIndex(std::move(startValues));
    return readSettings(file, std::move(startValues));
}

QByteArray settingsFileContents(const Settings& settings)
{
    // A quoted field cannot hold a double quote: a path with one would end
    // early and shift every field after it, the filter index and the sort
    // option included. Such a path is not remembered; the rest is.
    const QString lastPath = settings.LastPath.contains(QLatin1Char('"')) ? QString() : settings.LastPath;
    QByteArray out;
    out += '"' + lastPath.toUtf8() + "\"\r\n";
    for (int i = 0; i < kReservedFields; ++i)
        out += "\"\"\r\n";
    out += QByteArray::number(settings.FilterIndexSetting) + ',' + QByteArray::number(settings.SortOn) + "\r\n";
    return out;
}

QString settingsFilePath(const QString& applicationFolder, const QString& userConfigFolder)
{
    const QString beside = QDir(applicationFolder).filePath(kSettingsFileName);
    if (QFileInfo::exists(beside) || QFileInfo(applicationFolder).isWritable())
        return beside;
    return QDir(userConfigFolder).filePath(kSettingsFileName);
}

QString writeSettingsFile(const QString& path, const Settings& settings)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return replaceFileContents(path, settingsFileContents(settings));
}

} // namespace quorvane
