// Qt Widgets adapter of the layout engine's window.
#include "configobject/layout/qt/QtLayoutWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <algorithm>

namespace layout {
namespace {

Rect ToRect(const QRect& r) {
  return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// MulDiv: a * b / c rounded half away from zero, as dialog mapping rounds.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  const int64_t p = static_cast<int64_t>(a) * b;
  const int64_t half = (c > 0 ? c : -c) / 2;
  return static_cast<int32_t>(((p < 0) != (c < 0) ? p - half : p + half) / c);
}

}  // namespace

QtLayoutWindow::QtLayoutWindow(QWidget* widget) : widget_(widget) {
  // children() runs from the bottom of the stack to the top.
  const QObjectList& all = widget_->children();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    QWidget* child = qobject_cast<QWidget*>(*it);
    if (child != nullptr && !child->isWindow()) children_.emplace_back(child);
  }
}

bool QtLayoutWindow::IsMinimized() const {
  return widget_->window()->isMinimized();
}

Rect QtLayoutWindow::ClientRect() const {
  // Child geometry counts from the widget's origin, margins or not.
  return ToRect(widget_->rect());
}

int QtLayoutWindow::ChildCount() const {
  return static_cast<int>(children_.size());
}

int32_t QtLayoutWindow::ChildId(int index) const {
  return children_[static_cast<size_t>(index)]->property(kControlIdProperty).toInt();
}

Rect QtLayoutWindow::ChildRect(int index) const {
  return ToRect(children_[static_cast<size_t>(index)]->geometry());
}

bool QtLayoutWindow::IsDialog() const {
  return qobject_cast<QDialog*>(widget_) != nullptr;
}

Rect QtLayoutWindow::MapDialogRect(const Rect& units) const {
  // Dialog base units from the dialog's font, as the dialog manager computes them.
  const TextSize extent = MeasureText("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const int32_t baseX = (extent.width / 26 + 1) / 2;
  const int32_t baseY = extent.height;
  return Rect{MulDiv(units.left, baseX, 4), MulDiv(units.top, baseY, 8),
              MulDiv(units.right, baseX, 4), MulDiv(units.bottom, baseY, 8)};
}

TextSize QtLayoutWindow::MeasureText(const char* text) const {
  const QFontMetrics metrics(widget_->font());
  return TextSize{metrics.horizontalAdvance(QString::fromUtf8(text)), metrics.height()};
}

void QtLayoutWindow::BeginMoves(int count) {
  moves_.clear();
  repaints_.clear();
  moves_.reserve(static_cast<size_t>(std::max(count, 0)));
  widget_->setUpdatesEnabled(false);
}

void QtLayoutWindow::QueueMove(int index, int32_t left, int32_t top, int32_t width,
                               int32_t height) {
  moves_.emplace_back(index, QRect(left, top, width, height));
}

void QtLayoutWindow::InvalidateChild(int index) {
  repaints_.push_back(index);
}

void QtLayoutWindow::EndMoves() {
  for (const auto& [index, rect] : moves_) {
    if (QWidget* child = children_[static_cast<size_t>(index)]) child->setGeometry(rect);
  }
  widget_->setUpdatesEnabled(true);
  for (int index : repaints_) {
    if (QWidget* child = children_[static_cast<size_t>(index)]) child->update();
  }
  moves_.clear();
  repaints_.clear();
}

std::string QtLayoutWindow::ProgramPath() const {
  return QCoreApplication::applicationFilePath().toStdString();
}

}  // namespace layout
