#include "open_file.h"

namespace quorvane {

QString openFile(QFileDevice& file, QIODevice::OpenMode mode)
{
    if (file.fileName().contains(QChar(u'\0')))
        return kNulInFileName;
    if (!file.open(mode))
        return file.errorString();
    return {};
}

} // namespace quorvane
