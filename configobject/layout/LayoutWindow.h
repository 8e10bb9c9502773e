// What the layout engine needs of the window it lays out.
#pragma once

#include <cstdint>
#include <string>

namespace layout {

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct TextSize {
  int32_t width = 0;
  int32_t height = 0;
};

// LayoutWindow: the window being laid out and its direct children, indexed
// in Z order (topmost first).
class LayoutWindow {
 public:
  virtual bool IsMinimized() const = 0;
  // ClientRect: the client area, left and top 0.
  virtual Rect ClientRect() const = 0;
  virtual int ChildCount() const = 0;
  virtual int32_t ChildId(int index) const = 0;
  // ChildRect: a child's window rectangle in this window's client coordinates.
  virtual Rect ChildRect(int index) const = 0;
  // IsDialog: a dialog box, whose own dialog-unit mapping applies.
  virtual bool IsDialog() const = 0;
  // MapDialogRect: a rectangle in the dialog's units, in pixels.
  virtual Rect MapDialogRect(const Rect& units) const = 0;
  // MeasureText: the extent of `text` in the window's font (or the default one).
  virtual TextSize MeasureText(const char* text) const = 0;
  // The deferred batch: moves take effect together at EndMoves.
  virtual void BeginMoves(int count) = 0;
  virtual void QueueMove(int index, int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  virtual void InvalidateChild(int index) = 0;  // repaint with erasing
  virtual void EndMoves() = 0;
  // ProgramPath: the full path of the running program's file, the caption of
  // the layout's completeness messages.
  virtual std::string ProgramPath() const = 0;

 protected:
  ~LayoutWindow() = default;
};

}  // namespace layout
