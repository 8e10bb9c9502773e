// One rule of a layout table: which edge of which child follows what.
#pragma once

#include <cstddef>
#include <cstdint>

namespace layout {

enum Action : int32_t {
  kStretch = 0,
  kMove = 1,
  kCenterVert = 2,
  kCenterHorz = 3,
  kEndOfRules = 4,
};

inline constexpr int32_t kBothEdges = 6;  // reference metric: both edges along the rule's axis

// LayoutRule: ten 32-bit signed fields. `done` and `pixelOffset` are written
// while solving; the rest is the table's.
struct LayoutRule {
  int32_t action;
  int32_t side;       // metric of the target set by Stretch and Move
  int32_t targetId;   // target, or first id of a centred range
  int32_t lastId;     // last id of a centred range
  int32_t refMetric;  // 0-5, or kBothEdges
  int32_t refId;      // kLaidOutWindowId or a child's id
  int32_t percent;    // scales a reference width or height
  int32_t offset;     // dialog units
  int32_t done;
  int32_t pixelOffset;
};

static_assert(sizeof(LayoutRule) == 40);
static_assert(offsetof(LayoutRule, side) == 4 && offsetof(LayoutRule, refMetric) == 16);
static_assert(offsetof(LayoutRule, offset) == 28 && offsetof(LayoutRule, pixelOffset) == 36);

}  // namespace layout
