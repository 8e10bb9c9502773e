// The 16 × 16 icons of the folder list's three states, drawn at run time.
#pragma once

#include <QIcon>

#include "folders/volumes/VolumeRefresh.h"

namespace folders {

// StateIcon: a folder with a padlock (not mounted), an open folder with a
// green mark (mounted) or a grey folder crossed out in red (missing).
QIcon StateIcon(VolumeState state);

}  // namespace folders
