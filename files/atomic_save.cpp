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
    if (QString error = openFile(file, QIODevice::WriteOnly); !error.isEmpty())
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
