#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

namespace platform {
namespace {

TEST(Errors, CommonErrnoValuesMapToWin32Numbers) {
  EXPECT_EQ(Win32FromErrno(0), ERROR_SUCCESS);
  EXPECT_EQ(Win32FromErrno(ENOENT), 2u);
  EXPECT_EQ(Win32FromErrno(ENOTDIR), 3u);
  EXPECT_EQ(Win32FromErrno(EACCES), 5u);
  EXPECT_EQ(Win32FromErrno(EEXIST), 183u);
  EXPECT_EQ(Win32FromErrno(EINVAL), 87u);
  EXPECT_EQ(Win32FromErrno(ENOSPC), 112u);
  EXPECT_EQ(Win32FromErrno(123456), ERROR_GEN_FAILURE);
}

TEST(Errors, LastErrorIsPerThread) {
  SetLastError(ERROR_MORE_DATA);
  uint32_t seenInOther = 1;
  std::thread t([&] {
    seenInOther = GetLastError();
    SetLastError(ERROR_ACCESS_DENIED);
  });
  t.join();
  EXPECT_EQ(seenInOther, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
}

TEST(Errors, SetFromErrnoStoresAndReturnsTheCode) {
  errno = ENOENT;
  EXPECT_EQ(SetLastErrorFromErrno(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_STREQ(ErrorText(2), "The system cannot find the file specified.");
}

}  // namespace
}  // namespace platform
