// The REGEDIT4 parser: every value form, both encodings, and its error reports.
#include "tools/qmreg/RegFile.h"

#include <gtest/gtest.h>

namespace qmreg {
namespace {

using platform::RegStore;

RegFile Parse(const std::string& text, RegStore store = RegStore::Desktop) {
  RegFile file;
  RegFileError error;
  EXPECT_TRUE(ParseRegFile(text, store, &file, &error))
      << "line " << error.line << ": " << error.message;
  return file;
}

TEST(RegFileParse, ReadsEveryValueForm) {
  RegFile file = Parse(
      "REGEDIT4\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab]\r\n"
      "@=\"default\"\r\n"
      "\"Path\"=\"C:\\\\Program Files\\\\\"\r\n"
      "\"Quote\"=\"a \\\"b\\\"\"\r\n"
      "\"N\"=dword:0000001F\r\n"
      "\"Short\"=DWORD:5\r\n"
      "\"B\"=hex:01,ff,\\\r\n"
      "  10\r\n"
      "\"Empty\"=hex:\r\n"
      "\"E\"=hex(2):41,00\r\n"
      "\"Q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
      "\"Gone\"=-\r\n");
  ASSERT_EQ(file.keys.size(), 1u);
  const auto& key = file.keys[0];
  EXPECT_EQ(key.root, platform::HKEY_LOCAL_MACHINE);
  EXPECT_EQ(key.subPath, "SOFTWARE\\QuillmarkLab");
  ASSERT_EQ(key.values.size(), 10u);
  auto bytes = [](std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  EXPECT_EQ(key.values[0].name, "");
  EXPECT_EQ(key.values[0].data, bytes(std::string_view("default", 8)));
  EXPECT_EQ(key.values[1].data, bytes(std::string_view("C:\\Program Files\\", 18)));
  EXPECT_EQ(key.values[2].data, bytes(std::string_view("a \"b\"", 6)));
  EXPECT_EQ(key.values[3].type, platform::REG_DWORD);
  EXPECT_EQ(key.values[3].data, (std::vector<uint8_t>{0x1F, 0, 0, 0}));
  EXPECT_EQ(key.values[4].data, (std::vector<uint8_t>{5, 0, 0, 0}));
  EXPECT_EQ(key.values[5].type, platform::REG_BINARY);
  EXPECT_EQ(key.values[5].data, (std::vector<uint8_t>{0x01, 0xFF, 0x10}));
  EXPECT_EQ(key.values[5].line, 9);
  EXPECT_TRUE(key.values[6].data.empty());
  EXPECT_EQ(key.values[7].type, platform::REG_EXPAND_SZ);
  EXPECT_EQ(key.values[8].type, 11u);
  EXPECT_EQ(key.values[8].data.size(), 8u);
  EXPECT_TRUE(key.values[9].remove);
}

TEST(RegFileParse, DeviceTextBecomesUtf16Le) {
  RegFile file = Parse("REGEDIT4\n[HKCU\\K]\n\"T\"=\"Aё\"\n", RegStore::Device);
  ASSERT_EQ(file.keys.size(), 1u);
  EXPECT_EQ(file.keys[0].values[0].data, (std::vector<uint8_t>{'A', 0, 0x51, 0x04, 0, 0}));
}

TEST(RegFileParse, SectionsCommentsRemovalsAndByteOrderMark) {
  RegFile file = Parse(
      "\xEF\xBB\xBFREGEDIT4\n"
      "; a comment that ends in a backslash \\\n"
      "[-HKCR\\CLSID\\{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}]\n"
      "[hkey_current_user\\Software]\n"
      "[HKEY_LOCAL_MACHINE]\n");
  ASSERT_EQ(file.keys.size(), 3u);
  EXPECT_TRUE(file.keys[0].remove);
  EXPECT_EQ(file.keys[0].root, platform::HKEY_CLASSES_ROOT);
  EXPECT_EQ(file.keys[0].line, 3);
  EXPECT_EQ(file.keys[1].root, platform::HKEY_CURRENT_USER);
  EXPECT_EQ(file.keys[2].subPath, "");
}

struct BadInput {
  const char* name;
  std::string text;
  int line;
  const char* message;
};

class RegFileErrors : public ::testing::TestWithParam<BadInput> {};

TEST_P(RegFileErrors, NameTheLineAndTheFault) {
  RegFile file;
  RegFileError error;
  EXPECT_FALSE(ParseRegFile(GetParam().text, RegStore::Desktop, &file, &error));
  EXPECT_EQ(error.line, GetParam().line);
  EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.message;
}

std::string BigHexLine() {
  std::string line = "\"Big\"=hex:";
  for (size_t i = 0; i <= platform::kRegMaxValueDataSize; ++i) line += i ? ",00" : "00";
  return line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegFileErrors,
    ::testing::Values(
        BadInput{"NoHeader", "[HKLM\\A]\n", 1, "REGEDIT4"},
        BadInput{"EmptyFile", "", 1, "REGEDIT4"},
        BadInput{"OtherHeader", "Windows Registry Editor Version 5.00\n", 1, "REGEDIT4"},
        BadInput{"UnknownRoot", "REGEDIT4\n\n[HKEY_USERS\\x]\n", 3,
                 "unknown root key \"HKEY_USERS\""},
        BadInput{"UnclosedSection", "REGEDIT4\n[HKLM\\A\n", 2, "missing \"]\""},
        BadInput{"ValueBeforeSection", "REGEDIT4\n\"a\"=\"b\"\n", 2, "outside"},
        BadInput{"ValueUnderRemoval", "REGEDIT4\n[-HKLM\\A]\n\"a\"=\"b\"\n", 3, "being deleted"},
        BadInput{"RootRemoval", "REGEDIT4\n[-HKLM]\n", 2, "root key cannot"},
        BadInput{"Garbage", "REGEDIT4\n[HKLM\\A]\nname=value\n", 3, "malformed line"},
        BadInput{"MissingEquals", "REGEDIT4\n[HKLM\\A]\n\"a\" \"b\"\n", 3, "\"=\""},
        BadInput{"UnclosedText", "REGEDIT4\n[HKLM\\A]\n\"a\"=\"b\n", 3, "closing quote"},
        BadInput{"BadEscape", "REGEDIT4\n[HKLM\\A]\n\"a\"=\"C:\\x\"\n", 3, "escape"},
        BadInput{"TrailingText", "REGEDIT4\n[HKLM\\A]\n\"a\"=\"b\" c\n", 3, "after the closing"},
        BadInput{"LongDword", "REGEDIT4\n[HKLM\\A]\n\"a\"=dword:123456789\n", 3, "dword"},
        BadInput{"BadDword", "REGEDIT4\n[HKLM\\A]\n\"a\"=dword:12g4\n", 3, "dword"},
        BadInput{"BadHex", "REGEDIT4\n[HKLM\\A]\n\"a\"=hex:01,zz\n", 3, "hex byte"},
        BadInput{"ThreeDigitHex", "REGEDIT4\n[HKLM\\A]\n\"a\"=hex:123\n", 3, "hex byte"},
        BadInput{"BadHexType", "REGEDIT4\n[HKLM\\A]\n\"a\"=hex(q):00\n", 3, "hex(type)"},
        BadInput{"UnknownData", "REGEDIT4\n[HKLM\\A]\n\"a\"=qword:1\n", 3, "unrecognised"},
        BadInput{"ContinuedErrorLine",
                 "REGEDIT4\n[HKLM\\A]\n\"ok\"=hex:01,\\\n  02\n\"a\"=hex:01,\\\n  zz\n", 5,
                 "hex byte"},
        BadInput{"LongKeyName", "REGEDIT4\n[HKLM\\" + std::string(256, 'k') + "]\n", 2,
                 "longer than 255"},
        BadInput{"LongValueName",
                 "REGEDIT4\n[HKLM\\A]\n\"" + std::string(16384, 'n') + "\"=\"x\"\n", 3,
                 "longer than 16383"},
        BadInput{"LongValue", "REGEDIT4\n[HKLM\\A]\n" + BigHexLine() + "\n", 3,
                 "longer than 1048576 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qmreg
