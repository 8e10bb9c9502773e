// The PROP arguments of cedb: "ID:TYPE=VALUE" made into one property to write.
#pragma once

#include <string>
#include <string_view>

#include "platform/ObjectStore.h"

namespace cedb {

// ParsePropArgument: the property that text describes: ID (decimal or 0x hex,
// 0 to 65535), a type (i2, ui2, i4, ui4, bool, r8, filetime, text, blob) and
// a value that fits it. Text is UTF-8 and stored as UTF-16; a blob is
// "@FILE" (the bytes of a host file) or "hex:0A0B..". Returns true and fills
// *out, or false with the reason in *message (out is then unspecified).
bool ParsePropArgument(std::string_view text, platform::PropertyValue* out, std::string* message);

// TypeName: the name ParsePropArgument takes for a property type, "?" when
// there is none.
const char* TypeName(uint16_t type);

}  // namespace cedb
