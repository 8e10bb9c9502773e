// Enumeration of values and subkeys by index, and key information.
#include <cstring>

#include "platform/Registry.h"
#include "registry_test_support.h"

namespace platform {
namespace {

using testing::Bytes;
using testing::Desktop;

class RegistryEnum : public testing::FreshRegistry {
 protected:
  void SetUp() override {
    FreshRegistry::SetUp();
    ASSERT_EQ(
        RegCreateKeyEx(Desktop(HKEY_CURRENT_USER), "Software\\Quillmark Lab\\Security\\Volumes", 0,
                       "REG_BINARY", 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
        ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    FreshRegistry::TearDown();
  }
  void Set(const char* name, std::string_view data) {
    ASSERT_EQ(RegSetValueEx(key_, name, 0, REG_BINARY, Bytes(data).data(),
                            static_cast<uint32_t>(data.size())),
              ERROR_SUCCESS);
  }
  std::string NameAt(uint32_t index) {
    char name[300];
    uint32_t cch = sizeof name;
    uint32_t e = RegEnumValue(key_, index, name, &cch, nullptr, nullptr, nullptr, nullptr);
    return e == ERROR_SUCCESS ? std::string(name, cch) : "error " + std::to_string(e);
  }
  HKEY key_ = nullptr;
};

TEST_F(RegistryEnum, ValuesComeInCreationOrderAndRewritesKeepTheirPlace) {
  Set("\\My Documents\\b.zsf", "1");
  Set("\\My Documents\\a.zsf", "2");
  Set("\\Storage Card\\c.zsf", "3");
  Set("\\MY DOCUMENTS\\B.ZSF", "4");  // same value, new data
  EXPECT_EQ(NameAt(0), "\\My Documents\\b.zsf");
  EXPECT_EQ(NameAt(1), "\\My Documents\\a.zsf");
  EXPECT_EQ(NameAt(2), "\\Storage Card\\c.zsf");
  EXPECT_EQ(NameAt(3), "error 259");
  ASSERT_EQ(RegDeleteValue(key_, "\\My Documents\\a.zsf"), ERROR_SUCCESS);
  Set("\\My Documents\\a.zsf", "5");
  EXPECT_EQ(NameAt(1), "\\Storage Card\\c.zsf");
  EXPECT_EQ(NameAt(2), "\\My Documents\\a.zsf");
}

TEST_F(RegistryEnum, EnumValueReturnsTypeAndData) {
  Set("v", "abc");
  char name[8];
  uint8_t data[8];
  uint32_t cch = sizeof name, size = sizeof data, type = 0;
  ASSERT_EQ(RegEnumValue(key_, 0, name, &cch, nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(data, "abc", 3), 0);
}

TEST_F(RegistryEnum, SmallNameOrDataBufferGetsMoreData) {
  Set("name", "abcdef");
  char name[4];
  uint32_t cch = sizeof name;  // "name" needs 5 with the terminator
  EXPECT_EQ(RegEnumValue(key_, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  char name2[5];
  uint8_t data[2];
  cch = sizeof name2;
  uint32_t size = sizeof data;
  EXPECT_EQ(RegEnumValue(key_, 0, name2, &cch, nullptr, nullptr, data, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
}

TEST_F(RegistryEnum, SubKeysComeInCreationOrderWithClass) {
  for (const char* sub : {"Zeta", "alpha", "Mid"}) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyEx(key_, sub, 0, "c", 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(k);
  }
  std::vector<std::string> names;
  for (uint32_t i = 0;; ++i) {
    char name[16], cls[4];
    uint32_t cch = sizeof name, cchClass = sizeof cls;
    uint32_t e = RegEnumKeyEx(key_, i, name, &cch, nullptr, cls, &cchClass, nullptr);
    if (e == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(e, ERROR_SUCCESS);
    EXPECT_STREQ(cls, "c");
    names.emplace_back(name, cch);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
}

TEST_F(RegistryEnum, QueryInfoKeyCountsAndMeasures) {
  Set("a", "12345");
  Set("longer", "1");
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(key_, "Sub", "klass"), nullptr);
  RegCloseKey(k);
  uint32_t subKeys = 0, maxSub = 0, maxClass = 0, values = 0, maxName = 0, maxData = 0;
  ASSERT_EQ(RegQueryInfoKey(key_, nullptr, nullptr, nullptr, &subKeys, &maxSub, &maxClass, &values,
                            &maxName, &maxData, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 1u);
  EXPECT_EQ(maxSub, 3u);
  EXPECT_EQ(maxClass, 5u);
  EXPECT_EQ(values, 2u);
  EXPECT_EQ(maxName, 6u);
  EXPECT_EQ(maxData, 5u);
}

TEST_F(RegistryEnum, EmptyKeyHasNoItems) {
  char name[8];
  uint32_t cch = sizeof name;
  EXPECT_EQ(RegEnumValue(key_, 0, name, &cch, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  cch = sizeof name;
  EXPECT_EQ(RegEnumKeyEx(key_, 0, name, &cch, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
}

}  // namespace
}  // namespace platform
