// What can go wrong in the core, one exception type per way the editor shows it.
//
//   PlainMessage  - the program's own messages: a plain message box, caption
//                   "Krelwin Konstruktor", the text, one OK button, no icon.
//   RuntimeError  - errors of the runtime layers (file input and output, integer conversion,
//                   list index): the application's error box, error icon, full stop appended.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace krelwin {

class PlainMessage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The start-and-exit rule refused a write over an existing stage.
class StartExitMessage : public PlainMessage {
public:
    StartExitMessage();
};

// A read found no file at the path: "Brak pliku: " + path + "...".
class MissingFileMessage : public PlainMessage {
public:
    explicit MissingFileMessage(const std::string& path);
};

// A write refused before anything was touched: a name or colour text holding a marker
// character, or a replace at an index that names no stage. The text is in Polish.
class WriteRefused : public PlainMessage {
public:
    using PlainMessage::PlainMessage;
};

// A write by position refused because the stage file no longer holds, at that position, the
// stage the caller's list shows: another program changed the file since the list was read.
// `index` counts from 0; the text shows it to the user counted from 1.
class FileChangedMessage : public PlainMessage {
public:
    FileChangedMessage(const std::string& path, int index);
};

// Something other than a regular file stands at the path: a FIFO, a socket or a device node,
// which a stage file operation never reads or writes (it could block for ever, or replace a
// device with a file). `kind` names it in Polish, in the instrumental case ("potokiem (FIFO)").
class NotRegularFileMessage : public PlainMessage {
public:
    NotRegularFileMessage(const std::string& path, const std::string& kind);
};

// Another program held the stage file's lock for longer than a write waits for it.
class FileBusyMessage : public PlainMessage {
public:
    explicit FileBusyMessage(const std::string& path);
};

// A write into the stage file itself failed and the file's old content could not be put back;
// it is kept whole in the backup copy at `backupPath`. `reason` is the failure's own text.
class BackupKeptMessage : public PlainMessage {
public:
    BackupKeptMessage(const std::string& path, const std::string& backupPath,
                      const std::string& reason);
};

// Not thrown, but told by every read and write of a stage file beside which (or in the cache
// folder) a write into the file itself that was killed midway left its backup copy: the file
// may hold a half-written stage, and its content from before that write is whole in the backup.
class LeftoverBackupMessage : public PlainMessage {
public:
    LeftoverBackupMessage(const std::string& path, const std::string& backupPath);
};

class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input/output error. The text is chosen by the code, one fixed English text per code
// ("File not found", "Disk full", "I/O error %d", ...), which is what users see in messages.
class InOutError : public RuntimeError {
public:
    InOutError(int code, const std::string& text);
    // The error of a failed system call, from its errno value.
    static InOutError fromErrno(int errnoValue);
    // The error with one of the known codes (2, 3, 4, 5, 100, 101, 106; any other: "I/O error N").
    static InOutError fromCode(int code);
    int code() const { return code_; }

private:
    int code_;
};

// "'%s' is not a valid integer value".
class ConversionError : public RuntimeError {
public:
    explicit ConversionError(const std::string& fieldText);
};

// A file's text or a path as every message shows it: each control byte (0 to 31 and 127) is
// written as \xNN, two upper-case hex digits, so that a NUL cannot cut a message short and a
// CR cannot hide what stood before it. Every other byte stands as it is.
std::string shownText(std::string_view text);

// The text the application's error box shows for a runtime error: a full stop is appended
// unless the text's last character is "." or sorts before it.
std::string errorBoxText(const std::string& text);

inline constexpr const char* ApplicationTitle = "Krelwin Konstruktor";

} // namespace krelwin
