// Where a new folder can go: main memory, the storage cards, and the folders in them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folders {

// StorageCards: the names of the root-level folders that carry both the
// directory and the temporary attribute, in the root listing's order.
std::vector<std::u16string> StorageCards();

// FolderChoices: a backslash (the top of the location) followed by a
// backslash plus the name of every folder directly under the location, sorted
// by name regardless of letter case. `locationPrefix` is empty for main
// memory or a backslash plus a card's name.
std::vector<std::u16string> FolderChoices(std::u16string_view locationPrefix);

// LocationFreeBytes: the bytes free to this user on the volume of the
// location, nullopt when the platform cannot tell.
std::optional<uint64_t> LocationFreeBytes(std::u16string_view locationPrefix);

}  // namespace folders
