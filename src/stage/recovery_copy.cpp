#include "recovery_copy.h"

#include "errors.h"
#include "integer_text.h"

#include <cstdio>
#include <optional>

namespace krelwin {

namespace {

constexpr std::string_view Heading = "Krelwin Konstruktor: kopia odzyskiwania 1";
constexpr std::string_view EndLine = "koniec";

bool needsEscape(unsigned char byte) {
    return byte < 32 || byte == 127 || byte == '\\';
}

std::string escaped(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

[[noreturn]] void broken(const std::string& what) {
    throw WriteRefused("Uszkodzona kopia odzyskiwania: " + what + ".");
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string unescaped(std::string_view text, std::string_view field) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            if (needsEscape(static_cast<unsigned char>(text[i])))
                broken("niedozwolony znak w polu " + std::string(field));
            bytes += text[i];
            continue;
        }
        const bool whole = i + 3 < text.size() && text[i + 1] == 'x';
        const int high = whole ? hexDigit(text[i + 2]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 3]) : -1;
        if (low < 0)
            broken("błędny zapis bajtu w polu " + std::string(field));
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return bytes;
}

// The copy's lines, each ended by LF, read one after another.
class Lines {
public:
    explicit Lines(std::string_view bytes) : rest_(bytes) {}

    std::string_view next(std::string_view what) {
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos)
            broken("brak " + std::string(what));
        const std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return line;
    }
    std::string_view field(std::string_view key) {
        const std::string_view line = next(key);
        if (line.size() <= key.size() || line.substr(0, key.size()) != key ||
            line[key.size()] != '=')
            broken("brak pola " + std::string(key));
        return line.substr(key.size() + 1);
    }
    std::string text(std::string_view key) { return unescaped(field(key), key); }
    int32_t number(std::string_view key) {
        const std::optional<int32_t> value = parseInteger(field(key));
        if (!value)
            broken("pole " + std::string(key) + " nie jest liczbą");
        return *value;
    }
    bool atEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

} // namespace

std::string recoveryCopyBytes(const RecoveryCopy& copy) {
    std::string bytes = std::string(Heading) + "\n";
    const auto field = [&](std::string_view key, const std::string& value) {
        bytes += std::string(key) + "=" + value + "\n";
    };
    field("plik", escaped(copy.file));
    field("pozycja", std::to_string(copy.position));
    field("nazwa-na-liscie", escaped(copy.listedName));
    field("pole-nazwy", escaped(copy.nameField));
    field("nazwa-etapu", escaped(copy.stageName));
    field("zapisz", copy.canSave ? "1" : "0");
    field("skala", std::to_string(copy.viewScale));
    for (const NumberParameter& parameter : NumberParameters)
        field(parameter.name, std::to_string(copy.etap.parametry.*parameter.member));
    field("Typ", escaped(std::string(1, copy.etap.parametry.Typ)));
    field("Kolory", escaped(copy.etap.parametry.Kolory));
    for (int row = 0; row < RozmiarPlanszy; ++row) {
        std::string cells;
        for (int column = 0; column < RozmiarPlanszy; ++column)
            cells += copy.etap.plansza.at(column, row);
        field("wiersz", escaped(cells));
    }
    bytes += std::string(EndLine) + "\n";
    return bytes;
}

RecoveryCopy readRecoveryCopy(std::string_view bytes) {
    Lines lines(bytes);
    if (lines.next("nagłówka") != Heading)
        broken("to nie jest kopia odzyskiwania edytora");
    RecoveryCopy copy;
    copy.file = lines.text("plik");
    copy.position = lines.number("pozycja");
    copy.listedName = lines.text("nazwa-na-liscie");
    copy.nameField = lines.text("pole-nazwy");
    copy.stageName = lines.text("nazwa-etapu");
    copy.canSave = lines.number("zapisz") != 0;
    copy.viewScale = lines.number("skala");
    for (const NumberParameter& parameter : NumberParameters)
        copy.etap.parametry.*parameter.member = lines.number(parameter.name);
    const std::string typ = lines.text("Typ");
    if (typ.size() != 1)
        broken("pole Typ nie jest jednym znakiem");
    copy.etap.parametry.Typ = typ[0];
    copy.etap.parametry.Kolory = lines.text("Kolory");
    for (int row = 0; row < RozmiarPlanszy; ++row) {
        const std::string cells = lines.text("wiersz");
        if (cells.size() != std::size_t(RozmiarPlanszy))
            broken("wiersz " + std::to_string(row) + " ma złą długość");
        for (int column = 0; column < RozmiarPlanszy; ++column)
            copy.etap.plansza.at(column, row) = cells[std::size_t(column)];
    }
    if (lines.next("końca") != EndLine || !lines.atEnd())
        broken("brak końca kopii");
    return copy;
}

} // namespace krelwin
