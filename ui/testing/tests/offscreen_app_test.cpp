// The shared test application: one per program, offscreen unless a platform was chosen.
#include <gtest/gtest.h>

#include <QApplication>
#include <ostream>
#include <string>

#include "ui/testing/OffscreenApp.h"

namespace ui::testing {
namespace {

// Each case needs the first application of its process: ctest runs every
// case in a process of its own, and a plain run of the program skips the rest.
class OffscreenAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QCoreApplication::instance()) GTEST_SKIP() << "an application already exists";
  }
};

// Both lifetimes, by name.
struct Lifetime {
  const char* name;
  QApplication& (*app)();
};
// PrintTo: the name, so the test's listed name stays the same from build to build.
void PrintTo(const Lifetime& lifetime, std::ostream* out) {
  *out << lifetime.name;
}
class EitherLifetimeTest : public OffscreenAppTest,
                           public ::testing::WithParamInterface<Lifetime> {};

TEST_P(EitherLifetimeTest, IsTheProgramsOneApplicationOnTheOffscreenPlatform) {
  qunsetenv("QT_QPA_PLATFORM");
  QApplication& app = GetParam().app();
  EXPECT_EQ(&GetParam().app(), &app);
  EXPECT_EQ(QCoreApplication::instance(), &app);
  EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
}

INSTANTIATE_TEST_SUITE_P(Apps, EitherLifetimeTest,
                         ::testing::Values(Lifetime{"OffscreenApp", &OffscreenApp},
                                           Lifetime{"LastingOffscreenApp", &LastingOffscreenApp}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OffscreenAppTest, KeepsThePlatformTheCallerChose) {
  qputenv("QT_QPA_PLATFORM", "minimal");
  OffscreenApp();
  EXPECT_EQ(QGuiApplication::platformName(), "minimal");
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "minimal");
}

}  // namespace
}  // namespace ui::testing
