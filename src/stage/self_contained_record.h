// Whether a stage's record stands on its own: whether it can be set among other records, in
// another place or another pack, and be read there by the game and the editor exactly as
// before, without changing how its neighbours are read. The merge of packs takes records from
// three files and puts them in a new order, so it takes only such records.
//
// A record stands on its own when it is laid out as the editor writes one, as far as the
// locating of records goes: a name line "(name)", a line that is "}" alone, a parameter line
// whose height converts, "{", and at least as many rows as that height (at most 80) before the
// next record; no "(" after the name line. Then the record's "}" and "(" lines are the ones
// every reader counts, and the load of the stage never reads into the next record. Anything
// else may stand in it: values out of range, short or surplus rows, cells of any kind.
#pragma once

#include "pack_index.h"

#include <string>
#include <string_view>

namespace krelwin {

// Why the record does not stand on its own, in Polish; empty when it does. `nameLine` and
// `content` as a pack index reads them.
std::string selfContainedProblem(const RecordPlace& place, std::string_view nameLine,
                                 std::string_view content);

} // namespace krelwin
