// Loading drivers from the device's "\Windows" folder and calling them through the C interface.
#include <gtest/gtest.h>

#include <cstring>

#include "outside/devicemanager/ModuleDriver.h"
#include "outside/devicemanager/tests/ServiceFixture.h"
#include "platform/Errors.h"

namespace devicemanager {
namespace {

using namespace platform;

class ModuleDriverTest : public ServiceTest {};

TEST_F(ModuleDriverTest, NameWithAFolderOrEmptyIsRefused) {
  InstallDriver(DeviceRoot(), "TestDriver.dll");
  std::unique_ptr<DeviceDriver> d;
  EXPECT_EQ(LoadModuleDriver(u"..\\Windows\\TestDriver.dll", u"VDD", d), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(LoadModuleDriver(u"", u"VDD", d), ERROR_INVALID_PARAMETER);
}

TEST_F(ModuleDriverTest, LoadsIgnoringCaseAndCallsTheExportsOfThePrefix) {
  InstallDriver(DeviceRoot(), "TestDriver.dll");
  std::unique_ptr<DeviceDriver> d;
  ASSERT_EQ(LoadModuleDriver(u"testdriver.DLL", u"TST", d), 0u);
  EXPECT_NE(d->file().find("/Windows/TestDriver.so"), std::string::npos);
  const uint8_t info[] = {5, 6, 7};
  ASSERT_EQ(d->Init(info, 77), 0u);
  uintptr_t open = 0;
  ASSERT_EQ(d->Open(0, 0, open), 0u);
  uint8_t out[8] = {};
  uint32_t returned = 0;
  ASSERT_EQ(d->IoControl(open, 2, {}, out, returned), 0u);
  EXPECT_EQ(returned, 4u);
  uint32_t handle = 0;
  std::memcpy(&handle, out, 4);
  EXPECT_EQ(handle, 77u);
  ASSERT_EQ(d->IoControl(open, 4, {}, out, returned), 0u);
  EXPECT_EQ(returned, 3u);
  EXPECT_EQ(out[2], 7);
  EXPECT_EQ(d->IoControl(open, 99, {}, out, returned), ERROR_NOT_SUPPORTED);
  d->Close(open);
  d->Deinit();
}

TEST_F(ModuleDriverTest, InitErrorOfTheDriverIsPassedOn) {
  InstallDriver(DeviceRoot(), "TestDriver.dll");
  std::unique_ptr<DeviceDriver> d;
  ASSERT_EQ(LoadModuleDriver(u"TestDriver.dll", u"VDD", d), 0u);
  uint8_t info[8] = {'F', 'A', 'I', 'L'};
  const uint32_t code = 86;
  std::memcpy(info + 4, &code, 4);
  EXPECT_EQ(d->Init(info, 1), 86u);
}

TEST_F(ModuleDriverTest, PrefixWithoutExportsIsProcNotFound) {
  InstallDriver(DeviceRoot(), "TestDriver.dll");
  std::unique_ptr<DeviceDriver> d;
  EXPECT_EQ(LoadModuleDriver(u"TestDriver.dll", u"ABC", d), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(d, nullptr);
}

TEST_F(ModuleDriverTest, AFileThatIsNoModuleDoesNotLoad) {
  Put("device/Windows/Broken.so", "not a module");
  std::unique_ptr<DeviceDriver> d;
  EXPECT_EQ(LoadModuleDriver(u"Broken.dll", u"VDD", d), ERROR_BAD_EXE_FORMAT);
}

}  // namespace
}  // namespace devicemanager
