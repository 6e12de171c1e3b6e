// The recovery copy's text: what it holds, written out here byte for byte, every byte of a name
// or a cell carried through, and anything short of a whole copy refused.
#include "errors.h"
#include "recovery_copy.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

RecoveryCopy smallCopy() {
    RecoveryCopy copy;
    copy.file = "/dom/ala/etapy.map";
    copy.position = 2;
    copy.listedName = "Jaskinia";
    copy.nameField = "Jaskinia 2";
    copy.stageName = "Jaskinia 2";
    copy.canSave = true;
    copy.viewScale = 200;
    copy.etap.parametry.Szer = 18;
    copy.etap.parametry.Wys = 10;
    copy.etap.plansza.at(1, 1) = 'S';
    copy.etap.plansza.at(2, 1) = 'W';
    return copy;
}

TEST(RecoveryCopy, HoldsEveryFieldAndTheWholeArrayAsText) {
    std::string expected = "Krelwin Konstruktor: kopia odzyskiwania 1\n"
                           "plik=/dom/ala/etapy.map\n"
                           "pozycja=2\n"
                           "nazwa-na-liscie=Jaskinia\n"
                           "pole-nazwy=Jaskinia 2\n"
                           "nazwa-etapu=Jaskinia 2\n"
                           "zapisz=1\n"
                           "skala=200\n"
                           "Szer=18\nWys=10\nIleD=10\nPktD=10\nMagMur=10\nRozL=10\nLawP=10\n"
                           "CzasG=100\nTyp=Z\n"
                           "Kolory=00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55\n";
    const std::string rivets(82, '#');
    expected += "wiersz=" + rivets + "\n";
    expected += "wiersz=#SW" + std::string(79, '#') + "\n";
    for (int row = 2; row < 82; ++row)
        expected += "wiersz=" + rivets + "\n";
    expected += "koniec\n";
    EXPECT_EQ(recoveryCopyBytes(smallCopy()), expected);
}

TEST(RecoveryCopy, CarriesEveryByteOfNamesAndCells) {
    RecoveryCopy copy = smallCopy();
    copy.file = std::string("/tmp/a\\b\r\nc\x7f\x01.map", 17);
    copy.listedName = "\xC5\x81\xC4\x85ka (2)"; // "Łąka (2)" in UTF-8
    copy.nameField = std::string("\0koniec\n", 8);
    copy.stageName = "";
    copy.position = -1;
    copy.etap.parametry.Typ = '\n';
    copy.etap.parametry.Kolory = "}({\\";
    const char odd[] = {'(', '}', '\r', '\n', 26, 0, '\\', 'x', '\x7f', '\xff'};
    for (std::size_t i = 0; i < sizeof odd; ++i)
        copy.etap.plansza.at(int(i), 81) = odd[i];
    EXPECT_EQ(readRecoveryCopy(recoveryCopyBytes(copy)), copy);
}

TEST(RecoveryCopy, RefusesAnythingButAWholeCopy) {
    const std::string whole = recoveryCopyBytes(smallCopy());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string bytes = whole;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    };
    const std::pair<const char*, std::string> broken[] = {
        {"empty", ""},
        {"cut short", whole.substr(0, whole.size() / 2)},
        {"without its end line", whole.substr(0, whole.size() - 7)},
        {"more after the end", whole + "x\n"},
        {"another heading", replaced("kopia odzyskiwania 1", "kopia odzyskiwania 2")},
        {"a field missing", replaced("skala=200\n", "")},
        {"not a number", replaced("pozycja=2", "pozycja=dwa")},
        {"a bad escape", replaced("plik=/dom", "plik=\\x4/dom")},
        {"a raw control byte", replaced("plik=/dom", "plik=\t/dom")},
        {"a row one cell short", replaced("wiersz=#SW#", "wiersz=#SW")},
        {"a two-letter type", replaced("Typ=Z", "Typ=ZB")},
    };
    for (const auto& [name, bytes] : broken) {
        try {
            readRecoveryCopy(bytes);
            ADD_FAILURE() << name << ": read";
        } catch (const WriteRefused& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Uszkodzona kopia odzyskiwania: ", 0), 0u)
                << name << ": " << error.what();
        }
    }
}

} // namespace
} // namespace krelwin
