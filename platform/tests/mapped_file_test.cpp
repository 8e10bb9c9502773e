#include "platform/MappedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Errors.h"

namespace platform {
namespace {

class MappedFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("mapped_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const char* name, std::string_view content) {
    auto p = dir_ / name;
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
  std::filesystem::path dir_;
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
  EXPECT_EQ(m.Open((dir_ / "none").string()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m.Open((dir_ / "none" / "x").string()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m.Open(dir_.string()), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace platform
