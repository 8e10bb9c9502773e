#include "platform/Power.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace platform {
namespace {

namespace fs = std::filesystem;

// A fake power-supply folder in the test's temporary directory.
class PowerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::path(::testing::TempDir()) /
        ("power_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    unsetenv("QM_BATTERY_PERCENT");
  }
  void TearDown() override {
    fs::remove_all(root_);
    unsetenv("QM_BATTERY_PERCENT");
  }
  void Supply(const std::string& name,
              std::initializer_list<std::pair<const char*, const char*>> files) {
    fs::create_directories(root_ / name);
    for (const auto& [file, text] : files) std::ofstream(root_ / name / file) << text << "\n";
  }
  uint8_t Read() { return SysfsPowerSource(root_.string()).BatteryPercent(); }

  fs::path root_;
};

TEST_F(PowerTest, ReadsTheBatteryCapacity) {
  Supply("AC", {{"type", "Mains"}, {"online", "1"}});
  Supply("BAT0", {{"type", "Battery"}, {"capacity", "57"}});
  EXPECT_EQ(Read(), 57);
}

TEST_F(PowerTest, NoBatteryIsUnknown) {
  Supply("AC", {{"type", "Mains"}, {"capacity", "40"}});
  EXPECT_EQ(Read(), BATTERY_PERCENTAGE_UNKNOWN);
  EXPECT_EQ(SysfsPowerSource((root_ / "missing").string()).BatteryPercent(),
            BATTERY_PERCENTAGE_UNKNOWN);
}

TEST_F(PowerTest, PeripheralAbsentAndUnreadableBatteriesAreSkipped) {
  Supply("AAA_mouse", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "10"}});
  Supply("BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "5"}});
  Supply("BAT1", {{"type", "Battery"}, {"capacity", "150"}});
  Supply("BAT2", {{"type", "Battery"}, {"capacity", "n/a"}});
  EXPECT_EQ(Read(), BATTERY_PERCENTAGE_UNKNOWN);
  Supply("BAT3", {{"type", "Battery"}, {"scope", "System"}, {"capacity", "0"}});
  EXPECT_EQ(Read(), 0);
}

TEST_F(PowerTest, FirstBatteryInNameOrderWins) {
  Supply("BAT1", {{"type", "Battery"}, {"capacity", "90"}});
  Supply("BAT0", {{"type", "Battery"}, {"capacity", "19"}});
  EXPECT_EQ(Read(), 19);
}

TEST_F(PowerTest, InstalledSourceGivesFreshReadingsAndIsRestored) {
  FixedPowerSource fixed(19);
  {
    ScopedPowerSource scope(fixed);
    EXPECT_EQ(BatteryPercent(), 19);
    fixed.set(20);
    EXPECT_EQ(BatteryPercent(), 20);
    setenv("QM_BATTERY_PERCENT", "3", 1);
    EXPECT_EQ(BatteryPercent(), 20);  // the installed source comes first
  }
  EXPECT_EQ(SetPowerSource(nullptr), nullptr);
  EXPECT_EQ(BatteryPercent(), 3);
}

TEST_F(PowerTest, EnvironmentOverrideAcceptsPercentOrUnknownOnly) {
  setenv("QM_BATTERY_PERCENT", "19", 1);
  EXPECT_EQ(BatteryPercent(), 19);
  setenv("QM_BATTERY_PERCENT", " 100 ", 1);
  EXPECT_EQ(BatteryPercent(), 100);
  setenv("QM_BATTERY_PERCENT", "255", 1);
  EXPECT_EQ(BatteryPercent(), BATTERY_PERCENTAGE_UNKNOWN);
  const uint8_t host = SysfsPowerSource().BatteryPercent();
  for (const char* bad : {"101", "-1", "abc", "19%"}) {
    setenv("QM_BATTERY_PERCENT", bad, 1);
    EXPECT_EQ(BatteryPercent(), host) << bad;
  }
}

}  // namespace
}  // namespace platform
