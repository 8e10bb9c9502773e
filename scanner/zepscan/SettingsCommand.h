// `zepscan settings`: the six stored options shown, and changed with the settings pages' checks.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompt.h"

namespace zepscan {

// Longest texts that LoadSettings reads back (their read limits less the
// terminator): a longer value would be saved but never read again.
inline constexpr size_t kMaxPathValueChars = 129;
inline constexpr size_t kMaxMaskValueChars = 63;

// ParseFlagsValue: a Flags value written as hexadecimal with "0x" or as a
// decimal number; nullopt for anything else or a value past 32 bits.
std::optional<uint32_t> ParseFlagsValue(std::string_view text);

// FlagNames: the option names of the set bits, lowest bit first, separated by
// ", "; a bit without a name is written in hexadecimal.
std::string FlagNames(uint32_t flags);

// FormInfectedPath: the Infected folder as the report page forms it: a
// leading backslash when the text starts with neither a backslash nor "/",
// a trailing one when it ends with neither; the rest as typed.
std::u16string FormInfectedPath(std::u16string_view typed);

// ShowSettings: loads the options and prints them to out, one "NAME<TAB>VALUE"
// line each. Returns kExitClean.
int ShowSettings(std::ostream& out);

// ChangeSettings: applies "NAME=VALUE" assignments (names without regard to
// case: Flags, Report, Infected, Bases, Mask, Exclude) to the stored options
// with the checks of the two settings pages, in their order: masks trimmed,
// message 100 or 101 for an empty mask in use, the page bits of Flags, the
// Infected folder formed (an empty one refused with message 105) and, with
// Copy to "Infected", created, else message 105 and Copy switched off, the
// report file's folder and name checked or message 95. Messages go to
// `prompt`; other complaints to err. Only when no check fails are the
// options saved and printed to out. Refused with message 93 while a zepscan
// scan runs under the same home. Returns kExitClean or kExitError.
int ChangeSettings(const std::vector<std::string>& assignments, platform::Prompt& prompt,
                   std::ostream& out, std::ostream& err);

}  // namespace zepscan
