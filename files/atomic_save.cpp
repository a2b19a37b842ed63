#include "atomic_save.h"

#include "open_file.h"

#include <QSaveFile>

namespace quorvane {

QString writeAll(QIODevice& device, const QByteArray& contents)
{
    qint64 written = 0;
    while (written < contents.size()) {
        const qint64 n = device.write(contents.constData() + written, contents.size() - written);
        if (n <= 0)
            return device.errorString();
        written += n;
    }
    return {};
}

QString replaceFileContents(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    // Unbuffered: QSaveFile commits in spite of a write that fails while
    // close() empties its buffer, so a file smaller than the buffer (16 KB:
    // most KEY files) would replace the previous one cut short on a full
    // disk. Written straight through, every failure reaches writeAll.
    if (QString error = openFile(file, QIODevice::WriteOnly | QIODevice::Unbuffered); !error.isEmpty())
        return error;
    if (QString error = writeAll(file, contents); !error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString FileWriteTest(const QString& name)
{
    QSaveFile probe(name);
    if (QString error = openFile(probe, QIODevice::WriteOnly); !error.isEmpty())
        return error;
    probe.cancelWriting();
    return {};
}

} // namespace quorvane
