// Feeds arbitrary bytes to the stage file reader: the lines it splits and the names list mode
// yields are compared with a byte-by-byte reference, then every listed index and one past it is
// loaded. Any crash, hang, sanitizer report or disagreement is a finding; the reader's own
// errors (conversion, an index past the last stage) are expected answers.
#include "errors.h"
#include "fuzz_support.h"
#include "stage_file.h"

#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzing::scratchFile();
    fuzzing::writeBytes(path, data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = fuzzing::referenceLines(bytes);
    require(fuzzing::readLines(path) == lines);

    const std::vector<std::string> names = krelwin::CzytajListeEtapow(path);
    require(names == fuzzing::referenceNames(lines));

    for (int index = 0; index <= static_cast<int>(names.size()); ++index) {
        krelwin::Etap etap;
        etap.plansza.at(40, 40) = 'x'; // something a load must replace or leave alone
        const krelwin::Etap before = etap;
        try {
            krelwin::CzytajEtap(path, index, etap);
        } catch (const krelwin::ConversionError&) {
            require(etap == before); // a failed load leaves the stage in memory alone
            continue;
        }
        const auto& p = etap.parametry;
        require(p.Szer >= 18 && p.Szer <= 80 && p.Wys >= 10 && p.Wys <= 80);
        require(p.Typ == 'Z' || p.Typ == 'B');
        require(p.Kolory.size() <= 53);
        // The border ring is never read from a file: it holds "#" whatever the file says.
        for (int i = 0; i < 82; ++i)
            require(etap.plansza.at(0, i) == '#' && etap.plansza.at(81, i) == '#' &&
                    etap.plansza.at(i, 0) == '#' && etap.plansza.at(i, 81) == '#');
    }
    return 0;
}
