#pragma once

#include <QtGlobal>

#include <functional>

namespace quorvane {

// Told the bytes read so far and the image's size (0 when unknown) about
// every kProgressInterval bytes by each pass over an image (extraction,
// merge, verify); answering false cancels the pass.
using ImageProgress = std::function<bool(qint64 bytesRead, qint64 bytesTotal)>;
inline constexpr qint64 kProgressInterval = qint64(4) << 20;

} // namespace quorvane
