// Message boxes of the folder dialogs.
#include "folders/dialogs/DialogMessage.h"

#include "folders/strings/FoldersStrings.h"

namespace folders {

int ShowFoldersMessage(platform::Prompt& prompt, std::u16string_view text, uint32_t flags) {
  return prompt.Show(text, FoldersText(kIdsCaption), flags);
}

int ShowFoldersString(platform::Prompt& prompt, uint32_t id, uint32_t flags) {
  return ShowFoldersMessage(prompt, FoldersText(id), flags);
}

}  // namespace folders
