// The toolbar's 16 x 15 images, drawn in code.
#pragma once

#include <QIcon>

namespace scanner_ui {

// ToolbarIcon: the image of a toolbar command (32777, 32775, 32776, 32783,
// 32784, 32778); an empty icon for another number.
QIcon ToolbarIcon(int command);

}  // namespace scanner_ui
