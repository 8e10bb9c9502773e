// Test fixture: the scan fixture's handheld and base, plus a private device registry.
#pragma once

#include <stdlib.h>

#include <string>

#include "platform/Text.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace scanner::testing {

class UiFixture : public ScanFixture {
 protected:
  void SetUp() override {
    ScanFixture::SetUp();
    ::setenv("QM_DEVICE_REGISTRY", Host("device-registry.db").c_str(), 1);
    MakeFolder("device/My Documents");
  }
  void TearDown() override {
    ScanFixture::TearDown();
    ::unsetenv("QM_DEVICE_REGISTRY");
  }

  std::u16string Field(const char16_t* field) const { return std::u16string(field); }
  static std::string Texts(const std::vector<platform::ShownMessage>& shown) {
    std::string all;
    for (const platform::ShownMessage& m : shown) all += m.text + "|";
    return all;
  }
};

}  // namespace scanner::testing
