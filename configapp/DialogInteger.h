// The dialog framework's check of a number field: is the text a whole number?
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace configapp {

// ParseDialogInteger: the value of a number field's text: optional blanks
// (spaces, tabs), an optional sign, decimal digits, optional blanks, nothing
// else. nullopt when the text is not a whole number (an empty text
// included). A number beyond 32 bits saturates at the nearest 32-bit bound,
// so it stays a whole number that a range check refuses.
std::optional<int32_t> ParseDialogInteger(std::string_view text);

}  // namespace configapp
