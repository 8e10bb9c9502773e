// The file-name mask test of the scan options.
#pragma once

#include <string_view>

namespace scanner {

// MatchMask: one left-to-right pass over `name` without backtracking. "*"
// absorbs characters until the character after it (or any character when
// that is "?" or "*") meets the name, "?" takes any one character, any other
// mask character must equal the name's exactly (no case folding). When the
// name is used up the result is true if the rest of the mask is empty or
// begins with "*". So "*.exe" matches "calc.exe" and "readme" but not
// "a.b.exe", and "ab*cd" matches "ab".
bool MatchMask(std::u16string_view name, std::u16string_view mask);

}  // namespace scanner
