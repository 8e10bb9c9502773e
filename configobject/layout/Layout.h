// The layout engine: child lists, rule solving and ApplyLayout.
#pragma once

#include <cstdint>
#include <vector>

#include "configobject/layout/LayoutChild.h"
#include "configobject/layout/LayoutRule.h"
#include "configobject/layout/LayoutWindow.h"
#include "platform/Prompt.h"

namespace layout {

// Internal errors guard the program's own rule tables.
enum class LayoutError {
  None,
  InvalidSide,
  InvalidMetric,
  InvalidAction,
  ChildNotFound,
  CenterUnsolved,
  Unsolved,
};

// LayoutErrorText: the message shown for an internal error ("Invalid side" …).
const char* LayoutErrorText(LayoutError error);

// DeriveMetrics: fills left/right/width (and top/bottom/height) from the two
// others when one is unknown; one pass, metric by metric.
void DeriveMetrics(LayoutChild* child);

// FindChild: the first record with `id` before the end record, after
// deriving its metrics; null (ChildNotFound) when there is none.
LayoutChild* FindChild(LayoutChild* list, int32_t id);

// DialogUnitConverter: dialog units to pixels for one window.
class DialogUnitConverter {
 public:
  explicit DialogUnitConverter(const LayoutWindow& window);
  int32_t Horizontal(int32_t units) const;
  int32_t Vertical(int32_t units) const;

 private:
  const LayoutWindow& window_;
  bool dialog_ = false;
  int32_t baseWidth_ = 0;
  int32_t baseHeight_ = 0;
};

// BuildChildList: the window's record, one per child in Z order, and the
// end record; empty when the window has no children.
std::vector<LayoutChild> BuildChildList(const LayoutWindow& window);

// SolveRules: solves a rule list (ended by kEndOfRules) on a child list.
// None when every rule became done; Unsolved when some could not; another
// error for a bad table. Rules' done flags and pixel offsets are written.
LayoutError SolveRules(LayoutRule* rules, LayoutChild* list, const DialogUnitConverter& units);

// ApplyRule: tries one rule; `done` says whether it became done.
LayoutError ApplyRule(LayoutRule* rules, LayoutRule* rule, LayoutChild* list,
                      const DialogUnitConverter& units, bool* done);

// IsComplete: true when all six metrics of a record are known.
bool IsComplete(const LayoutChild& child);

// ApplyLayout: lays out the window's children by `rules`. True when every
// child is fully determined and the moves were issued (and for a minimised or
// childless window, which is left alone). An internal error shows an
// "Assertion Failed" box and moves nothing. Messages go to `prompt`.
bool ApplyLayout(LayoutWindow& window, platform::Prompt& prompt, LayoutRule* rules);

}  // namespace layout
