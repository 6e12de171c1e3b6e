// A 64-bit digest of a record's bytes, for finding identical stages among thousands without
// comparing every pair: stages whose digests and lengths agree are taken to be the same.
//
// It is the xxHash64 algorithm (four lanes of 8-byte words, multiplied and rotated, then mixed
// down), which runs at close to the speed of reading memory and spreads any change of the input
// over the whole digest: for two different records of equal length to agree by chance is about
// as likely as one in 2^64.
#pragma once

#include <cstdint>
#include <string_view>

namespace krelwin {

uint64_t contentHash(std::string_view bytes);

} // namespace krelwin
