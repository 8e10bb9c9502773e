// A numbered text as a control shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scanner {

// ControlText: the text of message `id` (string table or language module)
// with each "&&" shown as one ampersand.
std::u16string ControlText(uint32_t id);

// ShownAmpersands: `text` with each "&&" as one ampersand.
std::u16string ShownAmpersands(std::u16string_view text);

}  // namespace scanner
