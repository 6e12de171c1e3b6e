#include "errors.h"

#include <cerrno>

namespace krelwin {

StartExitMessage::StartExitMessage()
    : PlainMessage("Plansza musi mieć jedną pozycje startową\roraz jedno wyjście...") {}

MissingFileMessage::MissingFileMessage(const std::string& path)
    : PlainMessage("Brak pliku: " + shownText(path) + "...") {}

FileChangedMessage::FileChangedMessage(const std::string& path, int index)
    : PlainMessage("Plik " + shownText(path) +
                   " został w międzyczasie zmieniony przez inny program: etap nr " +
                   std::to_string(static_cast<long>(index) + 1) +
                   " nie jest już tym etapem, który pokazuje lista. Plik nie został zmieniony.") {}

NotRegularFileMessage::NotRegularFileMessage(const std::string& path, const std::string& kind)
    : PlainMessage(shownText(path) + " nie jest zwykłym plikiem, tylko " + kind +
                   ". Etapy można czytać i zapisywać tylko w zwykłych plikach.") {}

FileBusyMessage::FileBusyMessage(const std::string& path)
    : PlainMessage("Plik " + shownText(path) +
                   " jest używany przez inny program. Plik nie został zmieniony; spróbuj "
                   "ponownie, gdy tamten program skończy z niego korzystać.") {}

BackupKeptMessage::BackupKeptMessage(const std::string& path, const std::string& backupPath,
                                     const std::string& reason)
    : PlainMessage("Zapis do pliku " + shownText(path) + " nie powiódł się (" + reason +
                   ") i nie udało się przywrócić jego poprzedniej zawartości. Poprzednia "
                   "zawartość jest cała w kopii zapasowej: " +
                   shownText(backupPath)) {}

LeftoverBackupMessage::LeftoverBackupMessage(const std::string& path, const std::string& backupPath)
    : PlainMessage("Zapis do pliku " + shownText(path) +
                   " został przerwany, więc plik może zawierać częściowo zapisany etap. Jego "
                   "zawartość sprzed tego zapisu jest w całości w kopii zapasowej: " +
                   shownText(backupPath) +
                   ". Kopii nie usuwa żaden program; usuń ją sam, gdy nie będzie już potrzebna.") {}

InOutError::InOutError(int code, const std::string& text) : RuntimeError(text), code_(code) {}

InOutError InOutError::fromCode(int code) {
    switch (code) {
    case 2:
        return InOutError(code, "File not found");
    case 3:
        return InOutError(code, "Invalid filename");
    case 4:
        return InOutError(code, "Too many open files");
    case 5:
        return InOutError(code, "File access denied");
    case 100:
        return InOutError(code, "Read beyond end of file");
    case 101:
        return InOutError(code, "Disk full");
    case 106:
        return InOutError(code, "Invalid numeric input");
    default:
        return InOutError(code, "I/O error " + std::to_string(code));
    }
}

InOutError InOutError::fromErrno(int errnoValue) {
    // The operating system's error, folded onto the editor's few error codes so that messages
    // stay short; an error without a code of its own keeps its number ("I/O error 5" for EIO).
    switch (errnoValue) {
    case ENOENT:
        return fromCode(2);
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return fromCode(3);
    case EMFILE:
    case ENFILE:
        return fromCode(4);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return fromCode(5);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return fromCode(101);
    default:
        // Not through fromCode: an errno that happens to equal one of the text-file layer's
        // own codes (100 and up) must not borrow its text.
        return InOutError(errnoValue, "I/O error " + std::to_string(errnoValue));
    }
}

ConversionError::ConversionError(const std::string& fieldText)
    : RuntimeError("'" + shownText(fieldText) + "' is not a valid integer value") {}

std::string shownText(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            shown += "\\x";
            shown += Hex[byte >> 4];
            shown += Hex[byte & 0xf];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string errorBoxText(const std::string& text) {
    if (text.empty() || static_cast<unsigned char>(text.back()) <= '.') {
        return text;
    }
    return text + ".";
}

} // namespace krelwin
