// The compressed form that filter code 1 expands.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace proptree {

// Compress: `data` in the compressed form (control words, literals, matches,
// end code), without the filter's parameters. Deterministic.
std::vector<uint8_t> Compress(std::span<const uint8_t> data);

}  // namespace proptree
