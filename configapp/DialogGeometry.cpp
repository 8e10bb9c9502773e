// Dialog units, the main dialog's layout and the pages' rectangle.
#include "configapp/DialogGeometry.h"

#include <cstdint>

namespace configapp {
namespace {

// MulDiv: a × b / c rounded to the nearest whole number, halves away from
// zero, without overflow on the way.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  const int64_t product = static_cast<int64_t>(a) * b;
  const int64_t half = c / 2;
  return static_cast<int32_t>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

int32_t UnitsToPixelsX(int32_t units, DialogBaseUnits base) {
  return MulDiv(units, base.x, 4);
}

int32_t UnitsToPixelsY(int32_t units, DialogBaseUnits base) {
  return MulDiv(units, base.y, 8);
}

DialogRect UnitsToPixels(const DialogRect& units, DialogBaseUnits base) {
  return {UnitsToPixelsX(units.left, base), UnitsToPixelsY(units.top, base),
          UnitsToPixelsX(units.right, base), UnitsToPixelsY(units.bottom, base)};
}

DialogRect PageRect(const DialogRect& tabWindow, int32_t rowCount, int32_t itemHeight) {
  DialogRect page = tabWindow;
  page.left += 4;
  page.top += 4;
  page.right -= 3;
  page.bottom -= 4;
  page.top += rowCount * itemHeight + 1;
  return page;
}

}  // namespace configapp
