// Controls every page has: labels and the hint line along the bottom edge.
#pragma once

#include <cstdint>
#include <string_view>

class QLabel;
class QWidget;

namespace configapp {

// PageLabel: a static text named `name` with control number `control`.
QLabel* PageLabel(std::string_view text, const char* name, uint32_t control, QWidget* parent);

// MakeHintLine: the page's hint line (static text 1029, named "hint"),
// empty at first, one line high even while empty.
QLabel* MakeHintLine(QWidget* parent);

}  // namespace configapp
