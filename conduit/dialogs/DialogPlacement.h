// Where the conduit's dialogs go: their template sizes in pixels, centred on the screen.
#pragma once

#include <cstdint>

namespace conduit {

// PixelSize / PixelPoint: whole pixels.
struct PixelSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const PixelSize&) const = default;
};
struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// The templates' sizes in dialog units ("MS Sans Serif" 8).
inline constexpr PixelSize kActionDialogUnits{270, 138};
inline constexpr PixelSize kSyncActionDialogUnits{270, 181};
inline constexpr PixelSize kProgressDialogUnits{186, 57};
inline constexpr PixelSize kNoticeDialogUnits{204, 77};

// DialogPixels: a template size in pixels: four horizontal units are one
// average character width (6 pixels), eight vertical ones a character
// height (13 pixels), rounded to the nearest pixel.
PixelSize DialogPixels(PixelSize units);

// CentredOrigin: the top left corner that centres a dialog on a screen:
// (screen − dialog) / 2 in whole pixels, the screen's origin added. A dialog
// larger than the screen starts at the screen's edge rather than off it.
PixelPoint CentredOrigin(PixelPoint screenOrigin, PixelSize screen, PixelSize dialog);

}  // namespace conduit
