// The two ways of matching an object: the signature index, or the per-signature reference search.
#pragma once

#include <optional>
#include <string_view>

namespace scanner {

// MatchEngine: both give the same record for every object; they differ in
// cost. kReference walks the list and searches each signature on its own
// (SearchPattern); kIndex looks all of them up in one pass over an index built
// when the base is loaded.
enum class MatchEngine { kIndex, kReference };

// DefaultMatchEngine: the build's choice (CMake option SUITE_MATCH_ENGINE).
MatchEngine DefaultMatchEngine();

// ParseMatchEngine: "index" or "reference"; nullopt for any other name.
std::optional<MatchEngine> ParseMatchEngine(std::string_view name);

// MatchEngineName: "index" or "reference".
std::string_view MatchEngineName(MatchEngine engine);

}  // namespace scanner
