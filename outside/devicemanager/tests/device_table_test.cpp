// The device table's rules: names, indexes, handles, opens and unloading.
#include <gtest/gtest.h>

#include "outside/devicemanager/DeviceTable.h"
#include "outside/devicemanager/tests/FakeDriver.h"
#include "platform/Errors.h"

namespace devicemanager {
namespace {

using namespace platform;

const std::vector<uint8_t> kInfo = {1, 2, 3};

TEST(DeviceTable, BadPrefixOrIndexIsInvalidParameterAndLoadsNothing) {
  FakeWorld w;
  auto t = FakeTable(w);
  uint32_t h = 99;
  EXPECT_EQ(t->Register(u"VD", 0, u"Fake.dll", kInfo, h), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(t->Register(u"VDDX", 0, u"Fake.dll", kInfo, h), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(t->Register(u"V1D", 0, u"Fake.dll", kInfo, h), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(t->Register(u"VDD", 10, u"Fake.dll", kInfo, h), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(w.loads, 0);
}

TEST(DeviceTable, MissingDriverFileAndFailedInitLeaveNoDevice) {
  FakeWorld w;
  auto t = FakeTable(w);
  uint32_t h = 0;
  EXPECT_EQ(t->Register(u"VDD", 0, u"Other.dll", kInfo, h), ERROR_FILE_NOT_FOUND);
  w.initError = 86;
  EXPECT_EQ(t->Register(u"VDD", 0, u"Fake.dll", kInfo, h), 86u);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(t->size(), 0u);
  w.initError = 0;
  // The name is free again and the failed attempt cost no handle.
  EXPECT_EQ(t->Register(u"VDD", 0, u"Fake.dll", kInfo, h), 0u);
  EXPECT_EQ(h, 1u);
  // A name in use is refused before the driver is even loaded.
  const int loads = w.loads;
  EXPECT_EQ(t->Register(u"vdd", 0, u"Fake.dll", kInfo, h), ERROR_DEVICE_IN_USE);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(w.loads, loads);
}

TEST(DeviceTable, OpensAreByNameIgnoringCaseAndClosedWithTheDevice) {
  FakeWorld w;
  auto t = FakeTable(w);
  uint32_t h = 0, id = 0, id2 = 0;
  ASSERT_EQ(t->Register(u"VDD", 4, u"Fake.dll", kInfo, h), 0u);
  EXPECT_EQ(t->Open(u"VDD5:", 0, 0, id), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(t->Open(u"VDD4", 0, 0, id), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(t->Open(u"vdd4:", 0, 0, id), 0u);
  ASSERT_EQ(t->Open(u"VDD4:", 0, 0, id2), 0u);
  EXPECT_NE(id, id2);
  uint8_t out[4] = {};
  uint32_t returned = 0;
  ASSERT_EQ(t->IoControl(id, 2, {}, out, returned), 0u);
  EXPECT_EQ(returned, 4u);
  EXPECT_EQ(out[0], h & 0xFF);
  EXPECT_EQ(t->Close(id), 0u);
  EXPECT_EQ(t->Close(id), ERROR_INVALID_HANDLE);
  EXPECT_EQ(t->IoControl(id, 2, {}, out, returned), ERROR_INVALID_HANDLE);
  EXPECT_EQ(w.openCount, 1);
  ASSERT_EQ(t->Deregister(h), 0u);
  EXPECT_EQ(w.openCount, 0);
  EXPECT_EQ(t->IoControl(id2, 2, {}, out, returned), ERROR_INVALID_HANDLE);
}

TEST(DeviceTable, ActivateTakesTheLowestFreeIndexOrTheKeysIndex) {
  FakeWorld w;
  w.keys = {{u"Fake.dll", u"VDD", std::nullopt},
            {u"Fake.dll", u"VDD", 7u},
            {u"Gone.dll", u"VDD", std::nullopt},
            {u"Fake.dll", u"VDDD", std::nullopt}};
  auto t = FakeTable(w);
  uint32_t h0 = 0, h1 = 0, h2 = 0, h = 0, id = 0;
  ASSERT_EQ(t->Register(u"VDD", 0, u"Fake.dll", kInfo, h0), 0u);
  ASSERT_EQ(t->Register(u"VDD", 2, u"Fake.dll", kInfo, h2), 0u);
  ASSERT_EQ(t->Activate(u"K0", kInfo, h1), 0u);
  EXPECT_EQ(t->Open(u"VDD1:", 0, 0, id), 0u);
  ASSERT_EQ(t->Activate(u"K1", kInfo, h), 0u);
  EXPECT_EQ(t->Open(u"VDD7:", 0, 0, id), 0u);
  EXPECT_EQ(t->Activate(u"K1", kInfo, h), ERROR_DEVICE_IN_USE);
  EXPECT_EQ(t->Activate(u"K2", kInfo, h), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(t->Activate(u"K3", kInfo, h), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(t->Activate(u"K9", kInfo, h), ERROR_FILE_NOT_FOUND);
  for (int i = 0; i < 6; ++i) ASSERT_EQ(t->Activate(u"K0", kInfo, h), 0u);
  EXPECT_EQ(t->Activate(u"K0", kInfo, h), ERROR_DEVICE_IN_USE);
  EXPECT_EQ(h, 0u);
}

TEST(DeviceTable, StatusListsDevicesAndUnloadAllEndsEveryDriver) {
  FakeWorld w;
  auto t = FakeTable(w, 300);
  uint32_t h = 0, id = 0;
  ASSERT_EQ(t->Register(u"VDD", 1, u"Fake.dll", kInfo, h), 0u);
  ASSERT_EQ(t->Register(u"TST", 0, u"Fake.dll", kInfo, h), 0u);
  ASSERT_EQ(t->Open(u"TST0:", 0, 0, id), 0u);
  const auto status = t->Status();
  ASSERT_EQ(status.size(), 2u);
  EXPECT_EQ(status[0].name, u"VDD1:");
  EXPECT_EQ(status[0].handle, 300u);
  EXPECT_EQ(status[1].name, u"TST0:");
  EXPECT_EQ(status[1].driverFile, "/fake/Fake.so");
  t->UnloadAll();
  EXPECT_EQ(w.live, 0);
  EXPECT_EQ(w.openCount, 0);
  EXPECT_TRUE(t->Status().empty());
}

}  // namespace
}  // namespace devicemanager
