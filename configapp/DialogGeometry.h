// Rectangles of the main dialog: dialog units to pixels, its layout, and where the pages go.
#pragma once

#include <cstdint>

namespace configapp {

// DialogRect: a rectangle as Windows keeps it, right and bottom exclusive.
struct DialogRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const DialogRect&) const = default;
};

// DialogBaseUnits: a dialog font's average character width and its
// character height in pixels. Four horizontal dialog units are one average
// character width, eight vertical ones one character height.
struct DialogBaseUnits {
  int32_t x = 6;  // what "MS Sans Serif" 8 gives at 96 dots per inch
  int32_t y = 13;
};

// UnitsToPixelsX / UnitsToPixelsY: a length in dialog units in pixels,
// rounded to the nearest pixel (halves away from zero), as MapDialogRect does.
int32_t UnitsToPixelsX(int32_t units, DialogBaseUnits base);
int32_t UnitsToPixelsY(int32_t units, DialogBaseUnits base);

// UnitsToPixels: a whole rectangle in dialog units in pixels.
DialogRect UnitsToPixels(const DialogRect& units, DialogBaseUnits base);

// PageRect: where the pages go on a tab control: its window rectangle in
// dialog coordinates (pixels) with the left edge moved 4 right, the top 4
// down, the right edge 3 left and the bottom 4 up, then the top moved down by
// rowCount × itemHeight + 1 past the tabs.
DialogRect PageRect(const DialogRect& tabWindow, int32_t rowCount, int32_t itemHeight);

// The main dialog's layout in dialog units (template 135): 414 × 189, the
// picture at the left, the tab control beside it, OK and Cancel below it.
// Every page is 301 × 138.
inline constexpr DialogRect kMainDialogUnits{0, 0, 414, 189};
inline constexpr DialogRect kPictureUnits{7, 7, 95, 169};
inline constexpr DialogRect kTabControlUnits{101, 7, 408, 169};
inline constexpr DialogRect kOkUnits{304, 172, 354, 186};
inline constexpr DialogRect kCancelUnits{358, 172, 408, 186};
inline constexpr DialogRect kPageUnits{0, 0, 301, 138};

}  // namespace configapp
