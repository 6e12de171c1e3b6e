// Feeds arbitrary bytes to the stage file reader: list mode, then load mode for every listed
// index and one past it. Any crash, hang or sanitizer report is a finding; the reader's own
// errors (conversion, missing file) are expected answers, not findings.
#include "errors.h"
#include "fuzz_support.h"
#include "stage_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzing::scratchFile();
    fuzzing::writeBytes(path, data, size);

    std::vector<std::string> names;
    try {
        names = krelwin::CzytajListeEtapow(path);
    } catch (const krelwin::RuntimeError&) {
        return 0;
    }
    if (names.size() > krelwin::MaxListedStages)
        std::abort();

    for (int index = 0; index <= static_cast<int>(names.size()); ++index) {
        krelwin::Etap etap;
        krelwin::Etap before = etap;
        try {
            krelwin::CzytajEtap(path, index, etap);
        } catch (const krelwin::RuntimeError&) {
            if (!(etap == before)) // a failed load must leave the stage in memory alone
                std::abort();
            continue;
        }
        const auto& p = etap.parametry;
        if (p.Szer < 18 || p.Szer > 80 || p.Wys < 10 || p.Wys > 80 ||
            (p.Typ != 'Z' && p.Typ != 'B'))
            std::abort();
    }
    return 0;
}
