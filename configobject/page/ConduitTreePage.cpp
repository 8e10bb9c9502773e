// The conduit page's logic: pattern, working tree, settings record and layout.
#include "configobject/page/ConduitTreePage.h"

#include <new>
#include <string_view>
#include <vector>

#include "configobject/layout/Layout.h"
#include "configobject/page/PageEvents.h"
#include "configobject/page/PageTemplate.h"
#include "configobject/page/SettingPaths.h"
#include "configobject/page/TreeControlApi.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/Value.h"
#include "platform/Text.h"

namespace qrx {
namespace {

using proptree::ItemId;
using proptree::Node;
using proptree::ValueSlot;

ValueSlot* Slot(Node* tree, const ItemId* path) {
  return tree ? proptree::ValueSlotOf(tree, path, 0) : nullptr;
}

uintptr_t TextArg(const char* text) {
  return reinterpret_cast<uintptr_t>(text);
}

uint32_t TextLength(std::string_view text) {
  return static_cast<uint32_t>(text.size() + 1);
}

// ReadText: the whole text of a slot. Reading it whole first, then cutting
// it to a field without splitting a character, keeps a UTF-8 sequence from
// being cut in half at byte 255.
std::string ReadText(const ValueSlot* slot) {
  const uint32_t needed = proptree::GetValue(slot, nullptr, 0);
  if (needed == 0) return {};
  std::vector<char> buffer(needed + 1, 0);
  proptree::GetValue(slot, buffer.data(), needed + 1);
  return std::string(buffer.data());
}

std::string ReadElement(const ValueSlot* slot, uint32_t index) {
  const uint32_t needed = proptree::ArrayElement(slot, index, nullptr, 0);
  if (needed == 0) return {};
  std::vector<char> buffer(needed + 1, 0);
  proptree::ArrayElement(slot, index, buffer.data(), needed + 1);
  return std::string(buffer.data());
}

}  // namespace

CConduitTreePage::CConduitTreePage(std::span<const uint8_t> pattern,
                                   std::span<const platform::DeviceString> strings)
    : strings_(strings), events_(new (std::nothrow) PageEvents(this)) {
  Node* holder = proptree::CreateNode(nullptr, treectrl::kTreeHolderId);
  if (holder != nullptr && !pattern.empty() &&
      proptree::ReadTree(pattern.data(), pattern.size(), holder) != nullptr) {
    pattern_ = holder;
  } else {
    proptree::DeleteSubtree(holder);  // a pattern that does not read leaves none
  }
}

CConduitTreePage::~CConduitTreePage() {
  control_.Release();
  if (events_ != nullptr) {
    events_->Detach();
    events_->Release();
  }
  proptree::DeleteSubtree(pattern_);
}

platform::com::IAutomation* CConduitTreePage::events() const {
  return events_;
}

int CConduitTreePage::OnInitDialog() {
  const int loaded = settings_.Load();
  control_.ShowItem(0, 0);
  intptr_t working = 0;
  control_.TransferTree(0, reinterpret_cast<intptr_t>(pattern_), &working);
  working_ = reinterpret_cast<Node*>(working);
  FillTree();
  root_ = working_ ? proptree::FindByPath(working_, paths::kRoot) : nullptr;
  control_.ShowItem(reinterpret_cast<intptr_t>(root_), 0);
  return loaded;
}

void CConduitTreePage::FillTree() {
  intptr_t access = 0;
  control_.AccessTree(reinterpret_cast<intptr_t>(working_), &access, nullptr);
  if (ValueSlot* s = Slot(working_, paths::kSyncShowDlg))
    proptree::SetValue(s, settings_.SyncShowDlg, 4);
  if (ValueSlot* s = Slot(working_, paths::kSyncWaitTime))
    proptree::SetValue(s, static_cast<uint16_t>(settings_.SyncWaitTime), 2);
  if (ValueSlot* s = Slot(working_, paths::kDefaultAction))
    proptree::SetValue(s, settings_.DefaultAction & 0xFFu, 1);
  if (ValueSlot* s = Slot(working_, paths::kZeppDir)) {
    const std::string_view text = platform::FieldText(settings_.ZEPPDir);
    proptree::SetValue(s, TextArg(settings_.ZEPPDir), TextLength(text));
  }
  if (ValueSlot* s = Slot(working_, paths::kDesktopPath)) {
    const std::string_view text = platform::FieldText(settings_.DesktopPath);
    proptree::SetValue(s, TextArg(settings_.DesktopPath), TextLength(text));
  }
  if (ValueSlot* s = Slot(working_, paths::kUpdateAddresses)) {
    for (const palmsettings::SettingsEntry* e = settings_.addressList; e; e = e->next)
      proptree::SetValue(s, TextArg(e->name), TextLength(palmsettings::EntryName(*e)));
  }
  intptr_t scratch = 0;
  control_.TransferTree(reinterpret_cast<intptr_t>(working_), access, &scratch);
}

void CConduitTreePage::GetDataFromPage() {
  intptr_t access = 0;
  control_.AccessTree(reinterpret_cast<intptr_t>(working_), &access, nullptr);
  if (ValueSlot* s = Slot(working_, paths::kSyncShowDlg)) {
    uint32_t show = 0;
    if (proptree::GetValue(s, &show, 4) == 4) settings_.SyncShowDlg = show;
  }
  if (ValueSlot* s = Slot(working_, paths::kSyncWaitTime)) {
    uint16_t wait = 0;
    if (proptree::GetValue(s, &wait, 2) == 2) {
      const uint32_t kept = static_cast<uint32_t>(settings_.SyncWaitTime) & 0xFFFF0000u;
      settings_.SyncWaitTime = static_cast<int32_t>(kept | wait);
    }
  }
  if (ValueSlot* s = Slot(working_, paths::kDefaultAction)) {
    uint8_t action = 0;
    if (proptree::GetValue(s, &action, 1) == 1)
      settings_.DefaultAction = (settings_.DefaultAction & ~0xFFu) | action;
  }
  if (ValueSlot* s = Slot(working_, paths::kZeppDir))
    platform::CopyToField(settings_.ZEPPDir, ReadText(s));
  if (ValueSlot* s = Slot(working_, paths::kDesktopPath))
    platform::CopyToField(settings_.DesktopPath, ReadText(s));
  if (ValueSlot* s = Slot(working_, paths::kUpdateAddresses)) {
    palmsettings::FreeEntries(settings_.addressList);
    const uint32_t count = proptree::ArrayCount(s);
    for (uint32_t i = 0; i < count; ++i)
      palmsettings::AppendEntry(settings_.addressList, ReadElement(s, i));
  }
  settings_.Save();
}

bool CConduitTreePage::OnGetString(int32_t id, char16_t* buffer, intptr_t units) const {
  if (buffer == nullptr || units <= 0 || id < 0) return false;
  const size_t size =
      static_cast<size_t>(units < treectrl::kCaptionUnits ? units : treectrl::kCaptionUnits);
  return settings_.LoadText(static_cast<uint32_t>(id), strings_, buffer, size) > 0;
}

bool CConduitTreePage::OnSize(layout::LayoutWindow& window, platform::Prompt& prompt) {
  layout::LayoutRule rules[3];
  PageLayoutRules(rules);
  return layout::ApplyLayout(window, prompt, rules);
}

}  // namespace qrx
