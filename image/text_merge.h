#pragma once

#include "image_merge.h"

#include <QIODevice>
#include <QString>

#include <optional>
#include <vector>

// The pieces the merge's two passes (text lines, binary blocks) share, and
// the text pass itself.
namespace quorvane {

[[nodiscard]] MergeResult mergeFailure(MergeStatus status, ObjectFileKind kind, QString message);
[[nodiscard]] MergeResult mergeReadFailure(ObjectFileKind kind, const QString& imageName, const QString& why);
// OutsideImage: `heading`, then one line per record.
[[nodiscard]] MergeResult outsideData(ObjectFileKind kind, const QString& heading, std::vector<MergeNote> notes);

// One pass over an S-record or Intel HEX image from the device's position,
// writing it to `output` with the key bytes in place (without an output,
// only finding what a merge would meet). nullopt when a line is not of the
// kind: the file is damaged or binary.
[[nodiscard]] std::optional<MergeResult> mergeTextLines(QIODevice& image, const QString& imageName,
                                                        ObjectFileKind kind, const KeyLayout& layout,
                                                        QIODevice* output, const MergeOptions& options);

} // namespace quorvane
