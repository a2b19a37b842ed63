#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quorvane {

// Every modal question the editor asks goes through this interface: the
// window shows real dialogs, tests answer from a script. Nothing else of the
// window is ever replaced for a test.

// The button sets a message box can carry.
enum class MessageButtons { Ok, OkCancel, YesNoCancel };

enum class MessageIcon { Critical, Exclamation };

// The button pressed, valued as the codes the handlers compare with.
enum class MessageResult : qint16 { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;  // lines joined by CR LF
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Critical;
    MessageResult defaultButton = MessageResult::Ok;
    // What the program knows beyond `text` (the file, the line and why),
    // lines joined by CR LF; behind the box's "Show Details...". Empty for none.
    QString details;

    bool operator==(const MessageRequest&) const = default;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    // Entries "Description|pattern" joined by "|", e.g. "KEY File(*.KEY)|*.KEY|All File(*.*)|*.*".
    QString filter;
    int filterIndex = 1;       // 1-based entry of `filter` selected first; 0 leaves the first
    QString initialFileName;   // full path or bare name; empty for none
    bool fileMustExist = false;
    bool confirmOverwrite = false;

    bool operator==(const FileDialogRequest&) const = default;
};

struct FileDialogResult {
    bool accepted = false;  // false: the user cancelled
    QString path;           // the chosen full path
    int filterIndex = 1;    // 1-based entry selected when the dialog closed

    bool operator==(const FileDialogResult&) const = default;
};

// A line of text asked for in a small dialog (Find, Go to Line).
struct TextRequest {
    QString title;
    QString label;
    QString text; // offered selected, to be kept or typed over

    bool operator==(const TextRequest&) const = default;
};

class ModalUi {
public:
    virtual ~ModalUi() = default;

    // Closing a box without pressing a button answers Cancel.
    [[nodiscard]] virtual MessageResult messageBox(const MessageRequest& request) = 0;
    [[nodiscard]] virtual FileDialogResult fileDialog(const FileDialogRequest& request) = 0;
    // The start address typed into the start-address dialog, or nothing when
    // the dialog was cancelled or closed.
    [[nodiscard]] virtual std::optional<QString> startAddress() = 0;
    // The text as typed, or nothing when the dialog was cancelled or closed.
    [[nodiscard]] virtual std::optional<QString> askText(const TextRequest& request) = 0;

    // The progress of a long operation, told now and then: `done` of `total`
    // (0 when unknown). A window shows it, with Cancel, once the operation
    // has run for about half a second. False when the user cancelled.
    [[nodiscard]] virtual bool progress(const QString& label, qint64 done, qint64 total) = 0;
    // The operation is over; its progress, if shown, goes away.
    virtual void progressFinished() = 0;
};

} // namespace quorvane
