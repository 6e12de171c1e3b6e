// Packs described in a few letters for the tests of matching and merging: "A1" is a stage named
// A whose content is number 1, so that stages of one number are identical.
#pragma once

#include "pack_index.h"

#include <string>
#include <vector>

namespace krelwin {

inline std::vector<StageIdentity> pack(const std::vector<std::string>& stages) {
    std::vector<StageIdentity> identities;
    for (const std::string& stage : stages) {
        const std::size_t digits = stage.find_first_of("0123456789");
        identities.push_back(
            {"(" + stage.substr(0, digits) + ")", std::stoull(stage.substr(digits)), 100});
    }
    return identities;
}

} // namespace krelwin
