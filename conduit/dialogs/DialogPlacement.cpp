// Template sizes in pixels and the centred position.
#include "conduit/dialogs/DialogPlacement.h"

namespace conduit {

namespace {

constexpr int32_t kBaseX = 6;
constexpr int32_t kBaseY = 13;

int32_t Scale(int32_t units, int32_t base, int32_t per) {
  return (units * base + per / 2) / per;
}

int32_t Centre(int32_t origin, int32_t screen, int32_t dialog) {
  const int32_t offset = (screen - dialog) / 2;
  return origin + (offset < 0 ? 0 : offset);
}

}  // namespace

PixelSize DialogPixels(PixelSize units) {
  return {Scale(units.width, kBaseX, 4), Scale(units.height, kBaseY, 8)};
}

PixelPoint CentredOrigin(PixelPoint screenOrigin, PixelSize screen, PixelSize dialog) {
  return {Centre(screenOrigin.x, screen.width, dialog.width),
          Centre(screenOrigin.y, screen.height, dialog.height)};
}

}  // namespace conduit
