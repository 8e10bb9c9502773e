#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

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

TEST_F(MappedFileTest, GuardedReadOfAFileCutShortEndsTheReadNotTheProcess) {
  const std::string path = Write("cut.bin", std::string(64 * 1024, 'x'));
  MappedFile m;
  ASSERT_EQ(m.Open(path), 0u);

  unsigned sum = 0;
  EXPECT_EQ(m.Guarded([&] {
    for (uint8_t b : m.bytes()) sum += b;
  }),
            0u);
  EXPECT_EQ(sum, 64u * 1024u * 'x');

  bool readPastTheCut = false;
  EXPECT_EQ(m.Guarded([&] {
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    volatile uint8_t last = m.data()[m.size() - 1];
    (void)last;
    readPastTheCut = true;
  }),
            ERROR_READ_FAULT);
  EXPECT_FALSE(readPastTheCut);
  EXPECT_EQ(GetLastError(), ERROR_READ_FAULT);

  // The guard is gone once a read has been cut off; a later guarded read of
  // another mapping works again.
  const std::string other = Write("other.bin", "abc");
  MappedFile n;
  ASSERT_EQ(n.Open(other), 0u);
  char first = 0;
  EXPECT_EQ(n.Guarded([&] { first = static_cast<char>(n.data()[0]); }), 0u);
  EXPECT_EQ(first, 'a');
}

}  // namespace
}  // namespace platform
