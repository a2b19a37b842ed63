#pragma once

#include "command.h"
#include "saving.h"

#include "core/document.h"
#include "document/image_merge_operation.h"

// The middle base of the commands that take a firmware image and a KEY file
// or template: extract, merge and verify. It declares their arguments and
// options, refuses a wrong call before any file is touched, reads the
// document as File Open does (through the save's checks when its key data
// goes into an image or is looked for in one), makes sure the image can be
// read, and only then hands the command what it needs.
namespace quorvane::cli {

// What the command's call comes to once the base accepted it.
struct ImageCall {
    QString imagePath;
    QString documentPath;
    QString outputPath; // empty for a command that writes nothing
    SaveChoices choices;
    StartAddressQuestion startAddress;
    KeyBytesOutside outside = KeyBytesOutside::Refuse;
};

class ImageCommand : public Command {
protected:
    // How the command is called and what it does with the document.
    struct Shape {
        PositionalArgument image;
        PositionalArgument document;
        bool imageFirst = true;
        // -o OUT, required, with --overwrite; empty: the command writes nothing.
        QString outputDescription = {};
        // Key data for an image: the document goes through a save's checks.
        bool prepareKeyData = true;
        // --allow-outside, for a command that adds key data to an image.
        bool allowOutside = false;
        // A script reads 1 as "the image lacks the key data": for such a
        // command every input that keeps it from telling ends with 2.
        bool inputFailureIsUsage = false;
        // --format, for a command whose output is a KEY file or template.
        bool keyFormat = false;
        // --hash, for a command that writes key data into an image or looks
        // for it there: records filled with checksums before the save's checks.
        bool hashes = false;
    };

    ImageCommand(Console& console, QString name, QString description, Shape shape);

    // The command's work on the document read, and prepared when asked.
    [[nodiscard]] virtual int runWithKeyData(const ImageCall& call, Document& document) = 0;

private:
    [[nodiscard]] int run(const QCommandLineParser& parser) final;
    [[nodiscard]] int inputFailure(int exitCode) const { return shape_.inputFailureIsUsage ? kExitUsage : exitCode; }
    // Fills the records --hash names; the exit code after reporting why not, or kExitSuccess.
    [[nodiscard]] int fillHashes(const QStringList& values, const ImageCall& call, Document& document);

    Shape shape_;
};

} // namespace quorvane::cli
