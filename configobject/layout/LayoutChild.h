// One window's record in a layout: its id, six metrics and what is known of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace layout {

// Metric indexes; horizontal 0, 2, 4 and vertical 1, 3, 5.
enum Metric : int32_t {
  kLeft = 0,
  kTop = 1,
  kRight = 2,
  kBottom = 3,
  kWidth = 4,
  kHeight = 5,
  kMetricCount = 6,
};

inline constexpr int32_t kLaidOutWindowId = 0x10000;  // the window being laid out
inline constexpr int32_t kEndOfChildrenId = 0x10001;  // ends a child list

// MetricName: the word messages use for a metric ("left" … "height").
const char* MetricName(int32_t metric);

// LayoutChild: all fields 32-bit signed, as the rule tables' engine keeps them.
struct LayoutChild {
  int32_t id;
  int32_t metric[kMetricCount];
  int32_t untouched;  // 1 while no rule moves the child
  int32_t known[kMetricCount];
};

static_assert(sizeof(LayoutChild) == 56);
static_assert(offsetof(LayoutChild, metric) == 4);
static_assert(offsetof(LayoutChild, untouched) == 28);
static_assert(offsetof(LayoutChild, known) == 32);

}  // namespace layout
