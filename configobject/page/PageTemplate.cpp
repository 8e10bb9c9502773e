// Template 1204, the tree control's initial properties and the page's layout rules.
#include "configobject/page/PageTemplate.h"

#include "configobject/layout/LayoutChild.h"
#include "configobject/page/TreeControlApi.h"

namespace qrx {
namespace {

// The control's persistent properties: "QMtc", version 1, flags (bit 0:
// show the tree expanded).
constexpr uint8_t kTreeControlData[] = {'Q', 'M', 't', 'c', 1, 0, 1, 0};

constexpr DialogTemplate kTemplate{
    kPageTemplateId,
    242,
    179,
    "MS Sans Serif",
    8,
    {kTreeControlId, treectrl::CLSID_TreeControl, {0, 0, 242, 178}, kTreeControlData},
};

}  // namespace

const DialogTemplate& PageTemplate() {
  return kTemplate;
}

void PageLayoutRules(layout::LayoutRule (&rules)[3]) {
  using namespace layout;
  rules[0] = {kStretch, kRight, kTreeControlId, 0, kRight, kLaidOutWindowId, 0, 0, 0, 0};
  rules[1] = {kStretch, kBottom, kTreeControlId, 0, kBottom, kLaidOutWindowId, 0, 0, 0, 0};
  rules[2] = {kEndOfRules, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

}  // namespace qrx
