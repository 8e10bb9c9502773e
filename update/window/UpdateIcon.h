// The downloader's window icon, drawn at run time.
#pragma once

#include <QIcon>

namespace update {

// UpdateIcon: a green circle with a white arrow pointing down, at 16 and 32
// pixels (the small and the big icon).
QIcon UpdateIcon();

}  // namespace update
