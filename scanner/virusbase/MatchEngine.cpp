// The engine names and the build's default engine.
#include "scanner/virusbase/MatchEngine.h"

namespace scanner {

MatchEngine DefaultMatchEngine() {
#ifdef SUITE_MATCH_ENGINE_REFERENCE
  return MatchEngine::kReference;
#else
  return MatchEngine::kIndex;
#endif
}

std::optional<MatchEngine> ParseMatchEngine(std::string_view name) {
  if (name == "index") return MatchEngine::kIndex;
  if (name == "reference") return MatchEngine::kReference;
  return std::nullopt;
}

std::string_view MatchEngineName(MatchEngine engine) {
  return engine == MatchEngine::kIndex ? "index" : "reference";
}

}  // namespace scanner
