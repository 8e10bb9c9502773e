// Qt Widgets view of a window for the layout engine.
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

#include "configobject/layout/LayoutWindow.h"

namespace layout {

// The dynamic property that carries a child widget's control id.
inline constexpr char kControlIdProperty[] = "controlId";

// QtLayoutWindow: a widget and its direct child widgets (with their
// "controlId" property; 0 without one). Moves are held until EndMoves.
class QtLayoutWindow final : public LayoutWindow {
 public:
  explicit QtLayoutWindow(QWidget* widget);

  bool IsMinimized() const override;
  Rect ClientRect() const override;
  int ChildCount() const override;
  int32_t ChildId(int index) const override;
  Rect ChildRect(int index) const override;
  bool IsDialog() const override;
  Rect MapDialogRect(const Rect& units) const override;
  TextSize MeasureText(const char* text) const override;
  void BeginMoves(int count) override;
  void QueueMove(int index, int32_t left, int32_t top, int32_t width, int32_t height) override;
  void InvalidateChild(int index) override;
  void EndMoves() override;
  std::string ProgramPath() const override;

 private:
  QWidget* widget_;
  std::vector<QPointer<QWidget>> children_;  // topmost first
  std::vector<std::pair<int, QRect>> moves_;
  std::vector<int> repaints_;
};

}  // namespace layout
