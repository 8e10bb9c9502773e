#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/MappedFile.h"
#include "platform/testing/TempFolder.h"

namespace platform {
namespace {

class MappedFileTest : public ::testing::Test {
 protected:
  std::string Write(const char* name, std::string_view content) {
    return dir_.Write(name, content);
  }
  testing::TempFolder dir_{"mapped"};
};

TEST_F(MappedFileTest, MapsTheWholeFile) {
  MappedFile m;
  ASSERT_EQ(m.Open(Write("a.bin", "hello")), 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.data()), m.size()), "hello");
  m.Close();
  EXPECT_FALSE(m.isOpen());
}

TEST_F(MappedFileTest, EmptyFileFailsWith1006AsOnWindows) {
  MappedFile m;
  EXPECT_EQ(m.Open(Write("empty", "")), ERROR_FILE_INVALID);
  EXPECT_EQ(GetLastError(), 1006u);
  EXPECT_FALSE(m.isOpen());
}

TEST_F(MappedFileTest, MissingFileAndFolderGivePlatformCodes) {
  MappedFile m;
  EXPECT_EQ(m.Open(dir_.Path("none")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m.Open(dir_.Path("none/x")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m.Open(dir_.path()), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace platform
