// Feeds arbitrary bytes to the stage file reader: the lines it splits and the names list mode
// yields are compared with a byte-by-byte reference, then the first and last listed stages, one
// past the last and one the input's last byte picks are loaded. Any crash, hang, sanitizer report
// or disagreement is a finding; the reader's own errors (conversion, an index past the last stage)
// are expected answers.
#include "errors.h"
#include "fuzz_support.h"
#include "stage_file.h"

#include <cstdlib>
#include <set>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Loads stage `index` into a stage that holds something else and checks what a load promises.
void checkLoad(const std::string& path, int index) {
    krelwin::Etap etap;
    etap.plansza.at(40, 40) = 'x'; // something a load must replace or leave alone
    const krelwin::Etap before = etap;
    try {
        krelwin::CzytajEtap(path, index, etap);
    } catch (const krelwin::ConversionError&) {
        require(etap == before); // a failed load leaves the stage in memory alone
        return;
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::ScratchStageFile file;
    const std::string& path = file.path();
    file.write(data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = fuzzing::referenceLines(bytes);
    require(fuzzing::readLines(path) == lines);

    const std::vector<std::string> names = krelwin::CzytajListeEtapow(path);
    require(names == fuzzing::referenceNames(lines));

    // The first and the last listed stage, one past it, and one the input picks: every kind of
    // index a load treats differently, without reading a file of many stages once per stage.
    const int listed = static_cast<int>(names.size());
    const int picked = size == 0 ? 0 : data[size - 1] % (listed + 1);
    for (const int index : std::set<int>{0, listed - 1, listed, picked})
        if (index >= 0)
            checkLoad(path, index);
    require(file.aloneAndClosed());
    return 0;
}
