// The URLs page: adding, deleting, clearing and moving addresses, and the list it stores.
#include "configapp/UpdatePage.h"

#include <utility>

#include "configapp/ControlIds.h"
#include "configapp/SetdeskStrings.h"
#include "platform/Text.h"

namespace configapp {

void CUpdatePage::OnInitDialog() {
  controls_.items.clear();
  controls_.selection = -1;
  for (const palmsettings::SettingsEntry* e = record_.addressList; e; e = e->next)
    controls_.items.emplace_back(palmsettings::EntryName(*e));
}

std::string CUpdatePage::Text(uint32_t control) const {
  switch (control) {
    case kIdAddressGroup:
      return SetdeskText(record_, kIdsAddressGroup);
    case kIdUp:
      return SetdeskText(record_, kIdsUp);
    case kIdDown:
      return SetdeskText(record_, kIdsDown);
    case kIdAdd:
      return SetdeskText(record_, kIdsAdd);
    case kIdDelete:
      return SetdeskText(record_, kIdsDelete);
    case kIdClearAll:
      return SetdeskText(record_, kIdsClearAll);
    default:
      return {};
  }
}

void CUpdatePage::Select(int index) {
  const bool valid = index >= 0 && static_cast<size_t>(index) < controls_.items.size();
  controls_.selection = valid ? index : -1;
}

bool CUpdatePage::OnAdd() {
  const std::string_view address = platform::Trim(controls_.address);
  if (address.empty()) return false;
  if (address.size() >= palmsettings::kTextFieldSize) {
    prompt_.Show(kAddressTooLongText, SetdeskText(record_, kIdsCaption),
                 platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  controls_.items.insert(controls_.items.begin(), std::string(address));
  // The list box keeps the selected item selected; it moved one place down.
  if (controls_.selection >= 0) ++controls_.selection;
  controls_.address.clear();
  return true;
}

void CUpdatePage::OnDelete() {
  if (controls_.selection < 0) return;
  controls_.items.erase(controls_.items.begin() + controls_.selection);
  controls_.selection = -1;
  controls_.address.clear();
}

bool CUpdatePage::OnClearAll() {
  const int answer =
      prompt_.Show(SetdeskText(record_, kIdsClearAllQuestion), SetdeskText(record_, kIdsCaption),
                   platform::MB_YESNO | platform::MB_ICONWARNING);
  if (answer != platform::IDYES) return false;
  controls_.items.clear();
  controls_.selection = -1;
  controls_.address.clear();
  return true;
}

void CUpdatePage::OnUp() {
  const int at = controls_.selection;
  if (at <= 0) return;
  std::swap(controls_.items[static_cast<size_t>(at)], controls_.items[static_cast<size_t>(at - 1)]);
  controls_.selection = at - 1;
}

void CUpdatePage::OnDown() {
  const int at = controls_.selection;
  if (at < 0 || static_cast<size_t>(at) + 1 >= controls_.items.size()) return;
  std::swap(controls_.items[static_cast<size_t>(at)], controls_.items[static_cast<size_t>(at + 1)]);
  controls_.selection = at + 1;
}

void CUpdatePage::OnDestroy() {
  palmsettings::FreeEntries(record_.addressList);
  for (const std::string& item : controls_.items)
    palmsettings::AppendEntry(record_.addressList, item);
}

}  // namespace configapp
