#include "parametry_etapu.h"

namespace krelwin {

void applyParameterPass(ParametryEtapu& parametry) {
    for (const NumberParameter& parameter : NumberParameters) {
        parametry.*parameter.member = parameter.range.clamp(parametry.*parameter.member);
    }
    // The type is a two-choice radio group: whatever is not a normal stage is a bonus stage.
    if (parametry.Typ != TypZwykly) {
        parametry.Typ = TypBonusowy;
    }
}

} // namespace krelwin
