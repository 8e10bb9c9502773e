// Which folder commands the menu bar and the context menu offer for the selected row.
#pragma once

#include <optional>

#include "folders/volumes/VolumeRefresh.h"

namespace folders {

// CommandEnabling: the selection-dependent commands, on or off.
struct CommandEnabling {
  bool remove = false;  // "Delete"
  bool mount = false;
  bool unmount = false;
  bool properties = false;
  bool changePassword = false;

  bool operator==(const CommandEnabling&) const = default;
};

// MenuEnabling: the menu bar's table for the selected row's state, nullopt
// meaning no selection (everything off).
CommandEnabling MenuEnabling(std::optional<VolumeState> selected);

// RowContextEnabling: the context menu on a row: everything on except
// "Unmount" for a not-mounted row, "Mount", "Change password" and "Delete"
// for a mounted one, "Mount" and "Unmount" for a missing one.
CommandEnabling RowContextEnabling(VolumeState state);

}  // namespace folders
