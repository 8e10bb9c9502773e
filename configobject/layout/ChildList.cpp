// Child lists: metric derivation, lookup, dialog units and building the list.
#include <cstring>

#include "configobject/layout/Layout.h"

namespace layout {
namespace {

constexpr const char* kMetricNames[kMetricCount] = {"left",   "top",   "right",
                                                    "bottom", "width", "height"};
constexpr const char kMeasureText[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

LayoutChild Record(int32_t id, const Rect& r) {
  LayoutChild c{};
  c.id = id;
  c.metric[kLeft] = r.left;
  c.metric[kTop] = r.top;
  c.metric[kRight] = r.right;
  c.metric[kBottom] = r.bottom;
  c.known[kLeft] = c.known[kTop] = c.known[kRight] = c.known[kBottom] = 1;
  DeriveMetrics(&c);
  return c;
}

}  // namespace

const char* MetricName(int32_t metric) {
  return metric >= 0 && metric < kMetricCount ? kMetricNames[metric] : "?";
}

const char* LayoutErrorText(LayoutError error) {
  switch (error) {
    case LayoutError::InvalidSide:
      return "Invalid side";
    case LayoutError::InvalidMetric:
      return "Invalid metric";
    case LayoutError::InvalidAction:
      return "Invalid action";
    case LayoutError::ChildNotFound:
      return "Child not found in child list";
    case LayoutError::CenterUnsolved:
      return "Unable to apply rules to centered children";
    case LayoutError::Unsolved:
      return "Unable to apply rules";
    case LayoutError::None:
      break;
  }
  return "";
}

void DeriveMetrics(LayoutChild* c) {
  for (int m = 0; m < kMetricCount; ++m) {
    if (c->known[m]) continue;
    const int axis = m % 2;  // 0 horizontal, 1 vertical
    const int lo = kLeft + axis, hi = kRight + axis, size = kWidth + axis;
    if (m == lo && c->known[hi] && c->known[size]) {
      c->metric[m] = c->metric[hi] - c->metric[size];
    } else if (m == hi && c->known[lo] && c->known[size]) {
      c->metric[m] = c->metric[lo] + c->metric[size];
    } else if (m == size && c->known[lo] && c->known[hi]) {
      c->metric[m] = c->metric[hi] - c->metric[lo];
    } else {
      continue;
    }
    c->known[m] = 1;
  }
}

LayoutChild* FindChild(LayoutChild* list, int32_t id) {
  for (LayoutChild* c = list; c->id != kEndOfChildrenId; ++c) {
    if (c->id == id) {
      DeriveMetrics(c);
      return c;
    }
  }
  return nullptr;
}

bool IsComplete(const LayoutChild& child) {
  for (int32_t k : child.known) {
    if (!k) return false;
  }
  return true;
}

DialogUnitConverter::DialogUnitConverter(const LayoutWindow& window)
    : window_(window), dialog_(window.IsDialog()) {
  if (dialog_) return;
  const TextSize extent = window.MeasureText(kMeasureText);
  baseWidth_ = static_cast<int32_t>((static_cast<uint32_t>(extent.width) / 26u + 1u) / 2u);
  baseHeight_ = extent.height;
}

int32_t DialogUnitConverter::Horizontal(int32_t units) const {
  if (dialog_) return window_.MapDialogRect(Rect{0, 0, units, 0}).right;
  return static_cast<int32_t>(static_cast<int64_t>(baseWidth_) * units / 4);
}

int32_t DialogUnitConverter::Vertical(int32_t units) const {
  if (dialog_) return window_.MapDialogRect(Rect{0, 0, 0, units}).bottom;
  return static_cast<int32_t>(static_cast<int64_t>(baseHeight_) * units / 8);
}

std::vector<LayoutChild> BuildChildList(const LayoutWindow& window) {
  std::vector<LayoutChild> list;
  const int count = window.ChildCount();
  if (count <= 0) return list;
  list.reserve(static_cast<size_t>(count) + 2);
  Rect client = window.ClientRect();
  client.right -= client.left;
  client.bottom -= client.top;
  client.left = client.top = 0;
  list.push_back(Record(kLaidOutWindowId, client));
  for (int i = 0; i < count; ++i) {
    LayoutChild c = Record(window.ChildId(i), window.ChildRect(i));
    c.untouched = 1;
    list.push_back(c);
  }
  LayoutChild end{};
  end.id = kEndOfChildrenId;
  list.push_back(end);
  return list;
}

}  // namespace layout
