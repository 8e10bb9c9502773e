// ApplyLayout: measure, solve, check and move the children in one batch.
#include <cstdio>

#include "configobject/layout/Layout.h"

namespace layout {

bool ApplyLayout(LayoutWindow& window, platform::Prompt& prompt, LayoutRule* rules) {
  if (window.IsMinimized()) return true;
  std::vector<LayoutChild> list = BuildChildList(window);
  if (list.empty()) return true;
  const DialogUnitConverter units(window);
  LayoutError error = SolveRules(rules, list.data(), units);
  // A solve that merely leaves rules undone is reported as such; a bad table
  // names its own fault. Either way nothing moves.
  if (error != LayoutError::None) {
    prompt.Show(LayoutErrorText(error), "Assertion Failed",
                platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }

  std::string caption = window.ProgramPath();
  if (caption.size() > 128) caption.resize(128);
  bool complete = true;
  const int count = static_cast<int>(list.size()) - 2;
  window.BeginMoves(count);
  for (int i = 0; i < count; ++i) {
    LayoutChild& c = list[static_cast<size_t>(i) + 1];
    for (int m = 0; m < kMetricCount; ++m) {
      if (c.known[m]) continue;
      complete = false;
      char text[96];
      std::snprintf(text, sizeof text, "Layout couldn't find %s of id=%d", MetricName(m), c.id);
      prompt.Show(text, caption, platform::MB_OK);
    }
    if (c.untouched) continue;
    const int32_t width = c.metric[kWidth] < 0 ? 0 : c.metric[kWidth];
    const int32_t height = c.metric[kHeight] < 0 ? 0 : c.metric[kHeight];
    window.QueueMove(i, c.metric[kLeft], c.metric[kTop], width, height);
    window.InvalidateChild(i);
  }
  window.EndMoves();
  return complete;
}

}  // namespace layout
