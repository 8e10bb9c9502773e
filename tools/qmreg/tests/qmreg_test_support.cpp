// Support for the qmreg tests.
#include "qmreg_test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Registry.h"
#include "tools/qmreg/QmregCommand.h"

namespace qmreg::testing {

void QmregTest::SetUp() {
  folder_ = temp_.path();
  setenv("QM_DEVICE_REGISTRY", (folder_ + "/device.db").c_str(), 1);
  setenv("QM_DESKTOP_REGISTRY", (folder_ + "/desktop.db").c_str(), 1);
  platform::RegCloseStores();
}

void QmregTest::TearDown() {
  platform::RegCloseStores();
}

int QmregTest::Run(std::initializer_list<std::string> args) {
  std::vector<const char*> argv = {"qmreg"};
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  int status = RunQmreg(static_cast<int>(argv.size()), argv.data(), out, err);
  out_ = out.str();
  err_ = err.str();
  return status;
}

std::string QmregTest::WriteText(const std::string& name, const std::string& text) {
  std::string path = folder_ + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace qmreg::testing
