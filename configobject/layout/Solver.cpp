// Solving rule lists: preparation, passes, and the centring sub-solve.
#include <algorithm>
#include <vector>

#include "configobject/layout/Layout.h"

namespace layout {
namespace {

bool IsEdge(int32_t m) {
  return m >= kLeft && m <= kBottom;
}

bool InRange(int32_t id, const LayoutRule& r) {
  return id >= r.targetId && id <= r.lastId;
}

// Children: the records after the window's own, up to the end record.
template <typename Fn>
void ForEachChild(LayoutChild* list, Fn fn) {
  for (LayoutChild* c = list + 1; c->id != kEndOfChildrenId; ++c) fn(*c);
}

LayoutError Prepare(LayoutRule& r, LayoutChild* list) {
  switch (r.action) {
    case kStretch:
    case kMove: {
      if (r.side < 0 || r.side >= kMetricCount) return LayoutError::InvalidMetric;
      if (r.action == kMove && !IsEdge(r.side)) return LayoutError::InvalidSide;
      LayoutChild* target = FindChild(list, r.targetId);
      if (target == nullptr) return LayoutError::ChildNotFound;
      target->untouched = 0;
      target->known[r.side] = 0;
      if (r.action == kStretch) {
        // The opposite edge stays and the size follows; a size rule moves the far edge.
        static constexpr int32_t kFollower[kMetricCount] = {kWidth,  kHeight, kWidth,
                                                            kHeight, kRight,  kBottom};
        target->known[kFollower[r.side]] = 0;
      } else {
        target->known[r.side ^ 2] = 0;  // left <-> right, top <-> bottom
      }
      return LayoutError::None;
    }
    case kCenterVert:
    case kCenterHorz: {
      const int32_t lo = r.action == kCenterHorz ? kLeft : kTop;
      ForEachChild(list, [&](LayoutChild& c) {
        if (!InRange(c.id, r)) return;
        c.untouched = 0;
        c.known[lo] = 0;
        c.known[lo + 2] = 0;
      });
      return LayoutError::None;
    }
    default:
      return LayoutError::InvalidAction;
  }
}

LayoutError Convert(LayoutRule& r, const DialogUnitConverter& units) {
  if (r.action == kCenterVert) {
    r.pixelOffset = units.Vertical(r.offset);
  } else if (r.action == kCenterHorz) {
    r.pixelOffset = units.Horizontal(r.offset);
  } else {
    if (r.side < 0 || r.side >= kMetricCount) return LayoutError::InvalidMetric;
    r.pixelOffset = r.side % 2 == 0 ? units.Horizontal(r.offset) : units.Vertical(r.offset);
  }
  return LayoutError::None;
}

LayoutError Center(LayoutRule* rules, LayoutRule* rule, const LayoutChild& reference,
                   LayoutChild* list, const DialogUnitConverter& units, bool* done) {
  const bool horizontal = rule->action == kCenterHorz;
  const int32_t lo = horizontal ? kLeft : kTop, hi = lo + 2, size = horizontal ? kWidth : kHeight;
  bool ready = true;
  ForEachChild(list, [&](LayoutChild& c) {
    if (InRange(c.id, *rule) && !c.known[size]) ready = false;
  });
  if (!ready) return LayoutError::None;

  // The rules that place range children along this axis, solved on a copy
  // where everything else stands where it is. Centring rules are left out
  // so that a range can never recurse into itself.
  std::vector<LayoutRule> sub;
  for (const LayoutRule* r = rules; r->action != kEndOfRules; ++r) {
    if ((r->action == kStretch || r->action == kMove) && InRange(r->targetId, *rule) &&
        (r->side == lo || r->side == hi)) {
      sub.push_back(*r);
    }
  }
  LayoutRule end{};
  end.action = kEndOfRules;
  sub.push_back(end);
  size_t count = 0;
  while (list[count].id != kEndOfChildrenId) ++count;
  std::vector<LayoutChild> copy(list, list + count + 1);
  for (LayoutChild& c : copy) std::fill(std::begin(c.known), std::end(c.known), 1);
  const LayoutError sol = SolveRules(sub.data(), copy.data(), units);
  if (sol == LayoutError::Unsolved) return LayoutError::CenterUnsolved;
  if (sol != LayoutError::None) return sol;

  bool any = false;
  int32_t unionLo = 0, unionHi = 0;
  ForEachChild(copy.data(), [&](LayoutChild& c) {
    if (!InRange(c.id, *rule)) return;
    unionLo = any ? std::min(unionLo, c.metric[lo]) : c.metric[lo];
    unionHi = any ? std::max(unionHi, c.metric[hi]) : c.metric[hi];
    any = true;
  });
  const int32_t shift = (reference.metric[size] - (unionHi - unionLo)) / 2 + reference.metric[lo] -
                        unionLo + rule->pixelOffset;
  for (size_t i = 1; i < count; ++i) {
    LayoutChild& c = copy[i];
    if (!InRange(c.id, *rule)) continue;
    c.metric[lo] += shift;
    c.metric[hi] += shift;
    list[i].metric[lo] = c.metric[lo];
    list[i].metric[hi] = c.metric[hi];
    list[i].known[lo] = list[i].known[hi] = 1;
    DeriveMetrics(&list[i]);
  }
  *done = true;
  return LayoutError::None;
}

}  // namespace

LayoutError ApplyRule(LayoutRule* rules, LayoutRule* rule, LayoutChild* list,
                      const DialogUnitConverter& units, bool* done) {
  *done = false;
  LayoutChild* ref = FindChild(list, rule->refId);
  if (ref == nullptr) return LayoutError::ChildNotFound;
  const int32_t m = rule->refMetric;
  if (m == kBothEdges) {
    const int32_t lo = rule->action == kCenterHorz ? kLeft : kTop;
    if (!ref->known[lo] || !ref->known[lo + 2]) return LayoutError::None;
  } else if (m < 0 || m > kBothEdges) {
    return LayoutError::InvalidMetric;
  } else if (!ref->known[m]) {
    return LayoutError::None;
  }
  LayoutChild reference = *ref;
  if (m == kWidth || m == kHeight) {
    reference.metric[m] =
        static_cast<int32_t>(static_cast<int64_t>(rule->percent) * reference.metric[m] / 100);
  }
  switch (rule->action) {
    case kStretch:
    case kMove: {
      if (m == kBothEdges) return LayoutError::InvalidMetric;
      if (rule->side < 0 || rule->side >= kMetricCount) return LayoutError::InvalidMetric;
      LayoutChild* target = FindChild(list, rule->targetId);
      if (target == nullptr) return LayoutError::ChildNotFound;
      target->metric[rule->side] = reference.metric[m] + rule->pixelOffset;
      target->known[rule->side] = 1;
      DeriveMetrics(target);
      *done = true;
      return LayoutError::None;
    }
    case kCenterVert:
    case kCenterHorz:
      return Center(rules, rule, reference, list, units, done);
    default:
      return LayoutError::InvalidAction;
  }
}

LayoutError SolveRules(LayoutRule* rules, LayoutChild* list, const DialogUnitConverter& units) {
  LayoutRule* r;
  for (r = rules; r->action != kEndOfRules; ++r) {
    const LayoutError e = Prepare(*r, list);
    if (e != LayoutError::None) return e;
  }
  for (r = rules; r->action != kEndOfRules; ++r) {
    const LayoutError e = Convert(*r, units);
    if (e != LayoutError::None) return e;
  }
  for (r = rules; r->action != kEndOfRules; ++r) r->done = 0;
  for (bool progress = true; progress;) {
    progress = false;
    for (r = rules; r->action != kEndOfRules; ++r) {
      if (r->done) continue;
      bool done = false;
      const LayoutError e = ApplyRule(rules, r, list, units, &done);
      if (e != LayoutError::None) return e;
      if (done) {
        r->done = 1;
        progress = true;
      }
    }
  }
  for (r = rules; r->action != kEndOfRules; ++r) {
    if (!r->done) return LayoutError::Unsolved;
  }
  return LayoutError::None;
}

}  // namespace layout
