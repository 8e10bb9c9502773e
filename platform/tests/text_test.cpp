#include "platform/Text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Text, RoundTripsAllPlanes) {
  const std::string s = "A\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é Ж € 😀
  const auto w = Utf8ToUtf16(s);
  EXPECT_EQ(w, (std::u16string{u'A', 0xE9, 0x416, 0x20AC, 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(w), s);
}

TEST(Text, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\xFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xFFFD");          // overlong '/'
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\xFFFD");      // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\xFFFD");  // above U+10FFFF
  EXPECT_EQ(Utf8ToUtf16("a\xE2\x82"), u"a\xFFFD");        // truncated at the end
  EXPECT_EQ(Utf8ToUtf16("\xE2(x"), u"\xFFFD(x");          // continuation missing
}

TEST(Text, UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'a'}), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

TEST(Text, FixedFieldsTruncateAndTerminate) {
  char16_t w[4];
  EXPECT_EQ(CopyToField(w, u"abcdef"), 3u);
  EXPECT_EQ(FieldText(w), u"abc");
  EXPECT_EQ(w[3], 0);

  char16_t pair[3];  // room for two units: a surrogate pair would need both
  EXPECT_EQ(CopyToField(pair, std::u16string{u'x', 0xD83D, 0xDE00}), 1u);
  EXPECT_EQ(FieldText(pair), u"x");

  char a[4] = {'z', 'z', 'z', 'z'};
  EXPECT_EQ(CopyToField(a, "ab\xC3\xA9"), 2u);  // é would be cut in half
  EXPECT_EQ(FieldText(a), "ab");
  EXPECT_EQ(a[2], 0);
  EXPECT_EQ(a[3], 0);

  const char full[3] = {'a', 'b', 'c'};  // no terminator inside the field
  EXPECT_EQ(FieldText(full), "abc");
}

TEST(Text, CaseMappingCoversLatinGreekCyrillic) {
  EXPECT_EQ(ToLower(u"Infected \xC9\x416\x401\x391\x100\x139"), u"infected \xE9\x436\x451\x3B1\x101\x13A");
  EXPECT_EQ(ToUpper(u"bases \xE9\x436\x451\x3B1\x101\x13A"), u"BASES \xC9\x416\x401\x391\x100\x139");
  EXPECT_EQ(ToLower(u"\xD7"), u"\xD7");  // multiplication sign has no case
  EXPECT_TRUE(EqualsIgnoreCase(u"\\My Documents\\A.EXE", u"\\my documents\\a.exe"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
  EXPECT_EQ(ToUpper("ipcservname"), "IPCSERVNAME");
}

TEST(Text, TrimRemovesSurroundingBlanksOnly) {
  EXPECT_EQ(Trim("  a b \t\n"), "a b");
  EXPECT_EQ(Trim(u"   "), u"");
}

}  // namespace
}  // namespace platform
