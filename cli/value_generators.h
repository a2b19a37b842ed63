#pragma once

#include "parsed.h"

#include "core/document.h"

#include <QCommandLineOption>
#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

// batch --set NAME=counter:START[:STEP][:le] | random | text:PATTERN: values
// a run makes for each device instead of reading them from the CSV. Each one
// becomes a column named NAME of every row (a title, or "#3" for line 3), so
// the records take it by the rules of CSV values, the file-name pattern can
// use it, and --hash sees it like any other record's data.
namespace quorvane::cli {

[[nodiscard]] QCommandLineOption setOption();
[[nodiscard]] QCommandLineOption countOption();
[[nodiscard]] QCommandLineOption stateOption();

class ValueGenerators {
public:
    // The --set values over the template, or why not, naming the option.
    [[nodiscard]] static Parsed<ValueGenerators> parse(const QStringList& values, const Document& templateDocument);

    // The column names the values fill, in the order given.
    [[nodiscard]] QStringList names() const;

    // Why a filled record is a CSV column too, why a counter would run
    // past its record's width over `devices` devices, or why a text would
    // not fill its record; an empty text if none. Said before any file is
    // written and before the state moves on.
    [[nodiscard]] QString runProblem(const QStringList& header, const QStringList& ignored,
                                     const Document& templateDocument, qint64 devices) const;

    // Starts each counter where the state file says it stands, if further
    // than its START; why the file cannot be read, or an empty text. A
    // missing file is a first run.
    [[nodiscard]] QString useState(const QString& path);

    // Writes the state file past the values `devices` devices take, in one
    // atomic replacement, so that a later run never hands them out again,
    // even when this one fails; why not, or an empty text.
    [[nodiscard]] QString advanceState(const QString& path, qint64 devices) const;

    // The values of device `number` (counted from 1), in the order of names().
    [[nodiscard]] QStringList valuesFor(qint64 number) const;

private:
    enum class Kind { Counter, Random, Text };
    struct Generator {
        QString option;
        QString name;
        Slot slot;
        Kind kind;
        int width = 0;                 // bytes, for counters and random values
        unsigned __int128 start = 0;
        unsigned __int128 step = 1;
        bool littleEndian = false;
        QStringList textParts = {};    // literal text, then a number, alternately
        QList<int> digits = {};        // the zero-padded width of each number
    };
    // A text generator's value for device `number`.
    [[nodiscard]] static QString textFor(const Generator& generator, qint64 number);

    std::vector<Generator> generators_;
    // The state file's lines by counter name, those of other runs' counters kept.
    QMap<QString, QString> state_;
};

} // namespace quorvane::cli
