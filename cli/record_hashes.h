#pragma once

#include "parsed.h"

#include "core/checksums.h"
#include "core/document.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// batch --hash NAME=ALGO:RECORD[,RECORD...][:le]: a HEX record of each row's
// file filled with a checksum or digest of other records' bytes, in the
// order listed, after the row's CSV values are in. Records are named as the
// CSV header names them (a title, or "#3" for line 3). Everything that
// does not depend on a row is refused before the first file is written.
namespace quorvane::cli {

[[nodiscard]] QCommandLineOption hashOption();

struct NamedSlot {
    Slot slot = -1;
    QString problem;
};

// A record named as a CSV column names it: "#3" for line 3, or the one
// record in use with that title; or why the name names none.
[[nodiscard]] NamedSlot slotNamed(const Document& document, const QString& name);

class RecordHashes {
public:
    // The --hash values over the template, or why not, naming the option.
    [[nodiscard]] static Parsed<RecordHashes> parse(const QStringList& values, const Document& templateDocument);

    // Why a filled record is a CSV column too, or an empty text: its data
    // would come from two places.
    [[nodiscard]] QString columnProblem(const QStringList& header, const QStringList& ignored,
                                        const Document& templateDocument) const;

    // Fills the records of a row's document, in the order the options were
    // given; why a listed record cannot be hashed as it will be written, or
    // an empty text.
    [[nodiscard]] QString apply(Document& document) const;

private:
    struct Hash {
        QString option;
        Slot target;
        ChecksumAlgorithm algorithm;
        QList<Slot> over;
        bool littleEndian;
    };
    std::vector<Hash> hashes_;
};

} // namespace quorvane::cli
