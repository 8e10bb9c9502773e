// A scripted window for the layout tests.
#pragma once

#include <string>
#include <vector>

#include "configobject/layout/LayoutWindow.h"

namespace layout::test {

struct FakeChild {
  int32_t id;
  Rect rect;
};

struct Move {
  int index;
  int32_t left, top, width, height;
  bool operator==(const Move&) const = default;
};

// FakeWindow: children in Z order; records the batch it is given.
class FakeWindow final : public LayoutWindow {
 public:
  bool minimized = false;
  bool dialog = false;
  Rect client{0, 0, 300, 200};
  TextSize font{312, 13};  // base width (312 / 26 + 1) / 2 = 6, base height 13
  std::vector<FakeChild> children;
  std::vector<Move> moves;
  std::vector<int> invalidated;
  int batches = 0;
  bool inBatch = false;

  bool IsMinimized() const override { return minimized; }
  Rect ClientRect() const override { return client; }
  int ChildCount() const override { return static_cast<int>(children.size()); }
  int32_t ChildId(int i) const override { return children[static_cast<size_t>(i)].id; }
  Rect ChildRect(int i) const override { return children[static_cast<size_t>(i)].rect; }
  bool IsDialog() const override { return dialog; }
  Rect MapDialogRect(const Rect& u) const override {
    return Rect{u.left * 2, u.top * 3, u.right * 2, u.bottom * 3};
  }
  TextSize MeasureText(const char* text) const override {
    lastMeasured = text;
    return font;
  }
  void BeginMoves(int) override {
    ++batches;
    inBatch = true;
  }
  void QueueMove(int index, int32_t l, int32_t t, int32_t w, int32_t h) override {
    if (inBatch) moves.push_back(Move{index, l, t, w, h});
  }
  void InvalidateChild(int index) override { invalidated.push_back(index); }
  void EndMoves() override {
    inBatch = false;
    // Moves take effect together, as a deferred batch does.
    for (const Move& m : moves) {
      children[static_cast<size_t>(m.index)].rect =
          Rect{m.left, m.top, m.left + m.width, m.top + m.height};
    }
  }

  std::string ProgramPath() const override { return path; }

  mutable std::string lastMeasured;
  std::string path = "/opt/quillmark/bin/QrxCfgHost";
};

}  // namespace layout::test
