#pragma once

#include "core/record_table.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// What the KEY and template writers share: a record that would not read back
// refuses the whole save before anything is written, and the file form
// replaces the previous file only once the new one is complete.
namespace quorvane {

// Why a record cannot be written; an empty text when it can.
using RecordWriteCheck = std::function<QString(const KeyRecord& record, Slot slot)>;

// The first problem among slots [0, slotEnd), or an empty text.
[[nodiscard]] QString firstRecordProblem(const RecordTable& table, Slot slotEnd, const RecordWriteCheck& check);

// Writes `contents` unless `problem` is set. Returns an empty text, or
// "ERROR:" and the problem or the device's / system's description.
[[nodiscard]] QString writeDocument(QIODevice& device, const QString& problem, const QByteArray& contents);
[[nodiscard]] QString writeDocument(const QString& path, const QString& problem, const QByteArray& contents);

} // namespace quorvane
