// The enabling tables of the folder program's menus.
#include "folders/ui/CommandEnabling.h"

namespace folders {

CommandEnabling MenuEnabling(std::optional<VolumeState> selected) {
  CommandEnabling e;
  if (!selected) return e;
  switch (*selected) {
    case VolumeState::NotMounted:
      e.remove = e.mount = e.properties = e.changePassword = true;
      break;
    case VolumeState::Mounted:
      e.unmount = e.properties = true;
      break;
    case VolumeState::Missing:
      e.remove = true;
      break;
  }
  return e;
}

CommandEnabling RowContextEnabling(VolumeState state) {
  CommandEnabling e{true, true, true, true, true};
  switch (state) {
    case VolumeState::NotMounted:
      e.unmount = false;
      break;
    case VolumeState::Mounted:
      e.mount = e.changePassword = e.remove = false;
      break;
    case VolumeState::Missing:
      e.mount = e.unmount = false;
      break;
  }
  return e;
}

}  // namespace folders
