#include "recent_files.h"

#include "atomic_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quorvane {

namespace {

// A store larger than this was not written by the editor: it is ignored.
constexpr qint64 kStoreLimit = 64 * 1024;

QString sameFileKey(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QStringList withoutRecentFile(QStringList list, const QString& path)
{
    const QString key = sameFileKey(path);
    list.removeIf([&key](const QString& entry) { return sameFileKey(entry) == key; });
    return list;
}

QStringList withRecentFile(QStringList list, const QString& path)
{
    list = withoutRecentFile(std::move(list), path);
    list.prepend(path);
    if (list.size() > kRecentFileCount)
        list.resize(kRecentFileCount);
    return list;
}

QStringList readRecentFiles(const QString& storePath)
{
    QFile store(storePath);
    if (store.size() > kStoreLimit || !store.open(QIODevice::ReadOnly))
        return {};
    QStringList list;
    const QStringList lines = QString::fromUtf8(store.readAll()).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    // Oldest first, so that the first of two repeats keeps its place.
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->trimmed().isEmpty())
            list = withRecentFile(list, *line);
    }
    return list;
}

QString writeRecentFiles(const QString& storePath, const QStringList& list)
{
    QByteArray contents;
    for (const QString& path : list.first(std::min<qsizetype>(list.size(), kRecentFileCount)))
        contents += path.toUtf8() + "\r\n";
    QDir().mkpath(QFileInfo(storePath).absolutePath());
    return replaceFileContents(storePath, contents);
}

} // namespace quorvane
