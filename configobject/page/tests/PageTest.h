// Test fixture: a private desktop registry, the component key and a page over a fake control.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "configobject/module/ModuleResources.h"
#include "configobject/page/ConduitTreePage.h"
#include "configobject/page/PageStrings.h"
#include "configobject/page/tests/FakeTreeControl.h"
#include "palmsettings/SettingsLayout.h"
#include "platform/RegKey.h"
#include "platform/com/testing/RegistrySnapshot.h"

namespace qrx::testing {

class PageTest : public ::testing::Test {
 protected:
  static platform::HKEY Machine() {
    return platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_LOCAL_MACHINE);
  }
  static platform::RegKey Component() {
    platform::RegKey key;
    EXPECT_EQ(key.Create(Machine(), palmsettings::kComponentKey), 0u);
    return key;
  }
  static void SetDword(const char* name, uint32_t value) {
    ASSERT_EQ(Component().SetDword(name, value), 0u);
  }
  static void SetText(const std::string& name, const std::string& text) {
    ASSERT_EQ(Component().SetString(name, text, platform::RegTerminator::Omit), 0u);
  }
  static uint32_t Dword(const char* name) {
    uint32_t v = 0xDEADBEEF;
    Component().QueryDword(name, &v);
    return v;
  }
  static std::string Text(const std::string& name) {
    std::string v = "<missing>";
    Component().QueryString(name, &v);
    return v;
  }

  static std::span<const uint8_t> Pattern() {
    return FindModuleResource(ResourceType::Data, kPatternResource);
  }

  // Open: a page over a new fake control, initialised as its window would.
  void Open(std::span<const uint8_t> pattern = Pattern(), std::vector<proptree::ItemId> drop = {}) {
    page_ = std::make_unique<CConduitTreePage>(pattern, PageStrings());
    fake_ = new FakeTreeControl();
    fake_->dropPath = std::move(drop);
    ASSERT_EQ(page_->control().Attach(static_cast<platform::com::IHostedControl*>(fake_),
                                      reinterpret_cast<platform::com::HWND>(this), 1213,
                                      {0, 0, 363, 291}, {}, page_->events()),
              platform::com::S_OK);
    loaded_ = page_->OnInitDialog();
  }
  void TearDown() override {
    page_.reset();
    if (fake_) fake_->Release();
  }

  platform::com::testing::DesktopRegistryHome home_;
  std::unique_ptr<CConduitTreePage> page_;
  FakeTreeControl* fake_ = nullptr;  // our own reference, beside the page's
  int loaded_ = 0;
};

}  // namespace qrx::testing
