#include "object_file.h"

#include "format_check.h"
#include "intel_hex.h"
#include "open_file.h"
#include "srecord_reader.h"

#include <QFile>

#include <array>

namespace quorvane {

namespace {

struct Probe {
    ObjectFileKind kind;
    FormatCheck (*check)(QIODevice&);
};

constexpr std::array<Probe, 2> kProbes = {{
    {ObjectFileKind::Srecord, static_cast<FormatCheck (*)(QIODevice&)>(CheckSrecordFile)},
    {ObjectFileKind::IntelHex, static_cast<FormatCheck (*)(QIODevice&)>(CheckIntelHexFile)},
}};

} // namespace

ObjectFileKind recognizeObjectFile(QIODevice& device)
{
    for (const Probe& probe : kProbes) {
        if (!device.seek(0))
            break;
        if (probe.check(device))
            return probe.kind;
    }
    return ObjectFileKind::Binary;
}

ObjectFileKind recognizeObjectFile(const QString& path)
{
    QFile file(path);
    if (!openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered).isEmpty())
        return ObjectFileKind::Binary;
    return recognizeObjectFile(file);
}

} // namespace quorvane
