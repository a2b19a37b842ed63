#pragma once

#include "parsed.h"

#include "core/checksums.h"
#include "core/document.h"
#include "document/image_merge_operation.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// --hash NAME=ALGO:RECORD[,RECORD...][:le]: a HEX record of each row's file
// filled with a checksum or digest of other records' bytes, in the order
// listed, after the row's CSV values are in; or NAME=ALGO:image:START-END,
// over those addresses of the image the key data goes into, as it will hold
// them once the row's other records are in. Records are named as the CSV
// header names them (a title, or "#3" for line 3). Everything that does not
// depend on a row is refused before the first file is written.
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
    // `withImage`: the key data goes into an image, so ranges of it can be summed.
    [[nodiscard]] static Parsed<RecordHashes> parse(const QStringList& values, const Document& templateDocument,
                                                    bool withImage);

    // Reads the image's data inside each range summed (nothing without
    // one), once for all rows; why the ranges cannot be summed, or an empty
    // text. A range with addresses that neither the image nor a record of
    // the template holds is refused unless a fill byte is given.
    [[nodiscard]] QString readImage(const QString& imagePath, const StartAddressQuestion& askStartAddress);

    // Why a filled record is a CSV column too, or an empty text: its data
    // would come from two places.
    [[nodiscard]] QString columnProblem(const QStringList& header, const QStringList& ignored,
                                        const Document& templateDocument) const;

    // Fills the records of a row's document, in the order the options were
    // given; why a listed record cannot be hashed as it will be written, or
    // an empty text.
    [[nodiscard]] QString apply(Document& document) const;

private:
    // A range of the image, and the byte its addresses without data hold.
    struct ImageRange {
        AddressRange range;
        std::optional<char> fill;
        std::optional<RangeBytes> image = std::nullopt; // once read
    };

    struct Hash {
        QString option;
        Slot target;
        ChecksumAlgorithm algorithm;
        QList<Slot> over;
        bool littleEndian;
        std::optional<ImageRange> image = std::nullopt; // instead of `over`
    };

    [[nodiscard]] static Parsed<ImageRange> imageRangeOf(const QString& text);
    // Whether `hash` takes bytes from the record in `slot`, which lies as `keys` say.
    [[nodiscard]] static bool covers(const Hash& hash, Slot slot, const std::vector<KeyDataRange>& keys);
    // Why the addresses `gap` of the hash's range cannot be summed.
    [[nodiscard]] QString gapText(const Hash& hash, const AddressRange& gap) const;

    std::vector<Hash> hashes_;
    // Where the template's records lie: what the image gets whatever a row holds.
    std::vector<AddressRange> templateKeys_;
    QString imagePath_;
};

} // namespace quorvane::cli
