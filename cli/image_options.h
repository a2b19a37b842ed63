#pragma once

#include "console.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <optional>

// What the commands that read a firmware image share: --start, the address
// of a binary image's first byte (asked by the editor in a dialog, given
// beforehand here), and how an image that is there but cannot be read ends.
namespace quorvane::cli {

[[nodiscard]] QCommandLineOption startAddressOption();

// The text given with --start, as the editor's dialog would have taken it;
// nullopt without the option.
[[nodiscard]] std::optional<QString> startAddressText(const QCommandLineParser& parser);

// The message for a binary image read without --start.
[[nodiscard]] QString startAddressNeeded(const QString& imagePath);

// False, after reporting it, when `path` is a file that cannot be opened:
// an unreadable input, unlike a missing one, which the operations report in
// the editor's words.
[[nodiscard]] bool readableOrMissing(const QString& path, Console& console);

} // namespace quorvane::cli
