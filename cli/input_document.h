#pragma once

#include "console.h"

#include "core/document.h"

#include <QString>

#include <optional>

// Reading a document the way File Open does, for the commands that start
// from one. A file that is missing or cannot be opened is a wrong call
// (kExitUsage); a file that is read but refused is kExitRefused.
namespace quorvane::cli {

struct InputDocument {
    std::optional<Document> document; // set when the file was read
    int exitCode = 0;                  // the code to end with otherwise
};

// Reports a failure on the console as "PATH: the editor's text".
[[nodiscard]] InputDocument readInputDocument(const QString& path, Console& console);

} // namespace quorvane::cli
