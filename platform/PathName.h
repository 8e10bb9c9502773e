// Helpers for path text shared by the handheld and desktop resolvers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// FoldName: a copy of a name in one letter case, for comparisons only; ASCII
// names are folded without a round trip through UTF-16.
std::string FoldName(std::string_view name);

// IsValidName: false for an empty name, ".", "..", and names holding a
// separator, a control character or one of < > : " | ? * (Windows refuses
// those in names).
bool IsValidName(std::string_view name);

// HasWildcard: true when the text holds "*" or "?".
bool HasWildcard(std::string_view text);

// SplitComponents: the components of a path separated by "\" or "/", with
// empty components and "." dropped and ".." removing the component before it;
// a ".." with nothing before it is dropped, so the result never climbs above
// the starting folder.
std::vector<std::string_view> SplitComponents(std::string_view path);

// SplitLastComponent: the text before and after the last "\" or "/"; the
// folder part keeps its trailing separator ("\a\*.*" → "\a\", "*.*").
std::pair<std::string_view, std::string_view> SplitLastComponent(std::string_view path);

// JoinHost: folder + "/" + name for host paths (no doubled separator).
std::string JoinHost(std::string_view folder, std::string_view name);

// MatchPattern: the listing wildcard test: "*" and "*.*" match every name,
// "*" matches any run and "?" one character, letters compare regardless of
// case, and a pattern ending in ".*" also matches a name without a dot part
// ("readme.*" matches "readme").
bool MatchPattern(std::string_view pattern, std::string_view name);

}  // namespace platform
