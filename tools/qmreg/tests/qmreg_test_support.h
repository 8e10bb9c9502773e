// Fresh registry stores and an in-process qmreg runner for the qmreg tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/testing/TempFolder.h"

namespace qmreg::testing {

// QmregTest: each test gets its own device and desktop store files.
class QmregTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Run: runs qmreg with the given arguments in this process; out and err
  // receive what it printed. Returns the exit status.
  int Run(std::initializer_list<std::string> args);

  // WriteText: writes a file in the test's folder and returns its path.
  std::string WriteText(const std::string& name, const std::string& text);

  platform::testing::TempFolder temp_{"qmreg-tool"};
  std::string folder_;
  std::string out_;
  std::string err_;
};

}  // namespace qmreg::testing
