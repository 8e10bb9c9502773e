// The list format and the bytes of the base built from it.
#include <gtest/gtest.h>

#include "scanner/virusbase/BaseFormat.h"
#include "tools/zepbase/BaseList.h"

namespace zepbase {
namespace {

std::vector<uint8_t> Bytes(std::string_view s) {
  return {s.begin(), s.end()};
}

TEST(BaseList, QuotedHexAndOptionalFields) {
  BaseList list;
  ASSERT_EQ(ParseBaseList("build = 42\n"
                          "# comment\n"
                          "[EICAR-Test-File]\n"
                          "signature = \"X5O!P%@AP[4\\PZX54(P^)7CC)7}$EICAR\"\n"
                          "description = Test file\n"
                          "\n"
                          "[Hex]\r\n"
                          "signature = 4D 5a9000\r\n"
                          "value = 7\r\n",
                          list),
            "");
  EXPECT_EQ(list.build, 42u);
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[0].name, u"EICAR-Test-File");
  // A backslash before anything but \ " n x stands for itself.
  EXPECT_EQ(list.entries[0].signature, Bytes("X5O!P%@AP[4\\PZX54(P^)7CC)7}$EICAR"));
  EXPECT_EQ(list.entries[0].description, u"Test file");
  EXPECT_EQ(list.entries[1].signature, (std::vector<uint8_t>{0x4D, 0x5A, 0x90, 0x00}));
  EXPECT_EQ(list.entries[1].value, 7u);
  EXPECT_EQ(list.entries[1].description, u"");
}

TEST(BaseList, EscapesInQuotedText) {
  BaseList list;
  ASSERT_EQ(ParseBaseList("[E]\nsignature = \"a\\\"b\\\\c\\nd\\x00\\xFF\\q\"\n", list), "");
  EXPECT_EQ(list.entries[0].signature,
            (std::vector<uint8_t>{'a', '"', 'b', '\\', 'c', '\n', 'd', 0x00, 0xFF, '\\', 'q'}));
}

TEST(BaseList, FaultsNameTheirLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"[A]\n", "line 1: record \"A\" has no signature"},
      {"[A]\nsignature = 41\n[B]\n", "line 3: record \"B\" has no signature"},
      {"[A]\nsignature = 4\n", "line 2: signature is neither quoted text nor hexadecimal bytes"},
      {"[A]\nsignature = \"\"\n", "line 2: empty signature"},
      {"[A]\nsignature = \"a\"b\"\n",
       "line 2: signature is neither quoted text nor hexadecimal bytes"},
      {"[A]\ncolour = red\n", "line 2: unknown key 'colour'"},
      {"signature = 41\n", "line 1: only 'build' may come before the first record"},
      {"[ABCDEFGHIJKLMNOPQRSTUVWXYZ012345]\n", "line 1: record name longer than 31 characters"},
      {"[A\n", "line 1: a record name needs a closing ']'"},
      {"[A]\nsignature = 41\nvalue = 4294967296\n", "line 3: value is not a 32-bit number"},
  };
  for (const Case& c : cases) {
    BaseList list;
    EXPECT_EQ(ParseBaseList(c.text, list), c.message) << c.text;
  }
  BaseList list;
  const std::string longDescription = "[A]\nsignature = 41\ndescription = " + std::string(129, 'd');
  EXPECT_EQ(ParseBaseList(longDescription, list), "line 3: description longer than 128 characters");
}

TEST(BaseList, ContentHasTheProducersChunkOrder) {
  BaseList list;
  list.build = 9;
  list.entries.push_back({u"N", {1, 2, 3}, u"D", 5});
  list.entries.push_back({u"M", {4}, u"", 0});
  const std::vector<uint8_t> c = BuildBaseContent(list);

  EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.data())), scanner::kBaseMagic);
  EXPECT_EQ(c[32], 9);  // build
  EXPECT_EQ(c[36], 2);  // N
  EXPECT_EQ(c[40], 0x34);
  EXPECT_EQ(c[41], 0x12);

  // Walk the chunk types.
  std::vector<int> types;
  for (size_t at = 52; at + 8 <= c.size();) {
    const int type = c[at] | (c[at + 1] << 8);
    const int flags = c[at + 2] | (c[at + 3] << 8);
    const uint32_t length =
        c[at + 4] | (c[at + 5] << 8) | (c[at + 6] << 16) | (uint32_t{c[at + 7]} << 24);
    types.push_back(type);
    at += 8 + ((flags & scanner::kChunkHasValue) ? 0 : length);
  }
  EXPECT_EQ(types, (std::vector<int>{1, 3, 2, 4, 254, 1, 3, 2, 254, 255}));

  // Payloads are scrambled: the signature chunk of the first record.
  const size_t signatureAt = 52 + 8 + 64 + 8 + 8;
  EXPECT_EQ(c[signatureAt], 1 ^ scanner::kScrambleKey[0]);
  EXPECT_EQ(c[signatureAt + 2], 3 ^ scanner::kScrambleKey[2]);
}

}  // namespace
}  // namespace zepbase
