// Message boxes of the folder dialogs, all under the program's caption.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Prompt.h"

namespace folders {

// ShowFoldersMessage: shows `text` under "Quillmark Coffer" (string 49) with
// the flags' icon and buttons; returns the answer.
int ShowFoldersMessage(platform::Prompt& prompt, std::u16string_view text,
                       uint32_t flags = platform::MB_OK | platform::MB_ICONERROR);

// ShowFoldersString: ShowFoldersMessage with the text of a string number.
int ShowFoldersString(platform::Prompt& prompt, uint32_t id,
                      uint32_t flags = platform::MB_OK | platform::MB_ICONERROR);

}  // namespace folders
