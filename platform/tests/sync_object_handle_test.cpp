// What events and semaphores share through their handles: names, private objects, moves, lifetime.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/Errors.h"
#include "platform/NamedEvent.h"
#include "platform/NamedSemaphore.h"
#include "platform/tests/NamedObjectTest.h"

namespace platform {
namespace {

// EventKind, SemaphoreKind: one kind of object, made unsignalled, signalled by
// Signal and tested (and for a semaphore taken) by Wait(0).
struct EventKind {
  static Event Create(std::string_view name) {
    return CreateEvent(name, EventReset::Manual, EventState::Nonsignaled);
  }
  static Event Open(std::string_view name) { return OpenEvent(name); }
  static bool Signal(Event& e) { return e.Set() == ERROR_SUCCESS; }
};

struct SemaphoreKind {
  static Semaphore Create(std::string_view name) { return CreateSemaphore(name, 0, 1); }
  static Semaphore Open(std::string_view name) { return OpenSemaphore(name); }
  static bool Signal(Semaphore& s) { return s.Release() == ERROR_SUCCESS; }
};

struct KindName {
  template <typename Kind>
  static std::string GetName(int) {
    return std::is_same_v<Kind, EventKind> ? "Event" : "Semaphore";
  }
};

template <typename Kind>
class NamedObjectHandleTest : public NamedObjectTest {};

using Kinds = ::testing::Types<EventKind, SemaphoreKind>;
TYPED_TEST_SUITE(NamedObjectHandleTest, Kinds, KindName);

TYPED_TEST(NamedObjectHandleTest, NamesHoldingAZeroByteAreRefused) {
  const std::string_view zero("Pause\0X", 7);
  EXPECT_FALSE(TypeParam::Create(zero).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  auto plain = TypeParam::Create("Pause");
  ASSERT_TRUE(plain.valid());
  EXPECT_FALSE(TypeParam::Open(zero).valid());  // never cut short to the plain name
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_FALSE(TypeParam::Open("").valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TYPED_TEST(NamedObjectHandleTest, NamesAreCaseSensitiveAndLongOnesStayApart) {
  auto upper = TypeParam::Create("Name");
  auto lower = TypeParam::Create("name");
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  ASSERT_TRUE(TypeParam::Signal(upper));
  EXPECT_EQ(lower.Wait(0), WAIT_TIMEOUT);
  const std::string longName(600, 'x');
  auto big = TypeParam::Create(longName);
  ASSERT_TRUE(big.valid());
  auto again = TypeParam::Open(longName);
  ASSERT_TRUE(again.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(again.name(), longName);
  EXPECT_FALSE(TypeParam::Open(std::string(599, 'x') + "y").valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TYPED_TEST(NamedObjectHandleTest, UnnamedObjectsAreSeparate) {
  auto a = TypeParam::Create("");
  auto b = TypeParam::Create("");
  ASSERT_TRUE(a.valid() && b.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(a.name(), "");
  ASSERT_TRUE(TypeParam::Signal(a));
  EXPECT_EQ(b.Wait(0), WAIT_TIMEOUT);
  EXPECT_EQ(a.Wait(0), WAIT_OBJECT_0);
}

TYPED_TEST(NamedObjectHandleTest, MovedHandleKeepsTheObjectAndAssigningOverAHandleClosesIt) {
  auto a = TypeParam::Create("Moved");
  auto b = std::move(a);
  EXPECT_FALSE(a.valid());
  ASSERT_TRUE(b.valid());
  EXPECT_EQ(b.name(), "Moved");
  auto c = TypeParam::Create("Other");
  c = std::move(b);  // "Other" loses its only handle
  EXPECT_FALSE(TypeParam::Open("Other").valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(c.name(), "Moved");
  auto d = TypeParam::Open("Moved");
  ASSERT_TRUE(TypeParam::Signal(d));
  EXPECT_EQ(c.Wait(0), WAIT_OBJECT_0);
  c.Close();
  d.Close();
  EXPECT_FALSE(TypeParam::Open("Moved").valid());
  a.Close();  // a moved-from handle closes harmlessly
}

TYPED_TEST(NamedObjectHandleTest, OpeningAnObjectWhoseHoldersAllDiedRemovesIt) {
  const std::string segment = EventSegmentName("Gone");
  ASSERT_EQ(this->ExitCode(this->Child([]() -> int {
    auto mine = TypeParam::Create("Gone");
    _exit(mine.valid() ? 0 : 1);  // ends without closing
  })),
            0);
  EXPECT_TRUE(this->SegmentExists(segment));
  EXPECT_FALSE(TypeParam::Open("Gone").valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(this->SegmentExists(segment));
}

TYPED_TEST(NamedObjectHandleTest, HandleClosedInAForkedChildLeavesTheParentsObject) {
  auto mine = TypeParam::Create("Inherit");
  ASSERT_EQ(this->ExitCode(this->Child([&] {
    mine.Close();
    return 0;
  })),
            0);
  auto other = TypeParam::Open("Inherit");
  ASSERT_TRUE(other.valid());
  ASSERT_TRUE(TypeParam::Signal(other));
  EXPECT_EQ(mine.Wait(0), WAIT_OBJECT_0);
  other.Close();
  mine.Close();
  EXPECT_FALSE(TypeParam::Open("Inherit").valid());
}

TYPED_TEST(NamedObjectHandleTest, WaiterInOneProcessIsReleasedByAnother) {
  auto mine = TypeParam::Create("Wake");
  const pid_t waiter = this->Child([] {
    auto theirs = TypeParam::Open("Wake");
    if (!theirs.valid()) return 2;
    return theirs.Wait(20000) == WAIT_OBJECT_0 ? 0 : 1;
  });
  ASSERT_TRUE(this->Sleeping("/proc/" + std::to_string(waiter) + "/stat"));
  EXPECT_EQ(this->ExitCode(this->Child([] {
    auto theirs = TypeParam::Open("Wake");
    return TypeParam::Signal(theirs) ? 0 : 3;
  })),
            0);
  EXPECT_EQ(this->ExitCode(waiter), 0);
}

}  // namespace
}  // namespace platform
