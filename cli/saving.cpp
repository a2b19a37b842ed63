#include "saving.h"

#include "exit_codes.h"

namespace quorvane::cli {

namespace {

const QString kSort = QStringLiteral("sort");
const QString kNoSort = QStringLiteral("no-sort");
const QString kYes = QStringLiteral("yes");

} // namespace

QList<QCommandLineOption> saveOptions()
{
    return {
        {kSort, QStringLiteral("Sort the records by address before saving and refuse overlaps (the default).")},
        {kNoSort, QStringLiteral("Save the records in their lines' order, without the address check.")},
        {{QStringLiteral("y"), kYes}, QStringLiteral("Answer OK to every warning; without it a warning stops.")},
    };
}

std::optional<SaveChoices> saveChoices(const QCommandLineParser& parser, QString& problem)
{
    if (parser.isSet(kSort) && parser.isSet(kNoSort)) {
        problem = QStringLiteral("--sort and --no-sort exclude each other.");
        return std::nullopt;
    }
    return SaveChoices{.sortOn = !parser.isSet(kNoSort), .answerYes = parser.isSet(kYes)};
}

int reportSave(const SaveResult& result, const QString& context, Console& console)
{
    switch (result.status) {
    case SaveStatus::Saved: return kExitSuccess;
    case SaveStatus::Refused: console.message(context + result.message); return kExitRefused;
    case SaveStatus::Cancelled: return kExitRefused;
    }
    return kExitRefused;
}

} // namespace quorvane::cli
