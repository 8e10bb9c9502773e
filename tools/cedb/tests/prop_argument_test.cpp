// cedb's PROP arguments: each type's accepted forms and limits, and refusals.
#include <gtest/gtest.h>

#include <limits>

#include "platform/testing/TempFolder.h"
#include "tools/cedb/PropArgument.h"

namespace cedb {
namespace {

using namespace platform;

PropertyValue Parsed(const std::string& text) {
  PropertyValue v;
  std::string message;
  EXPECT_TRUE(ParsePropArgument(text, &v, &message)) << text << ": " << message;
  return v;
}

struct NumberCase {
  const char* text;
  uint32_t propid;
  int64_t number;
};

class PropArgumentNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PropArgumentNumbers, GiveTheIdTypeAndValue) {
  PropertyValue v = Parsed(GetParam().text);
  EXPECT_EQ(v.propid, GetParam().propid);
  EXPECT_EQ(v.number, GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PropArgumentNumbers,
    ::testing::Values(NumberCase{"1:i2=-32768", MakePropId(1, CEVT_I2), -32768},
                      NumberCase{"0x10:i2=0xFFFF", MakePropId(16, CEVT_I2), -1},
                      NumberCase{"65535:ui2=65535", MakePropId(65535, CEVT_UI2), 65535},
                      NumberCase{"0:i4=-2147483648", MakePropId(0, CEVT_I4), -2147483648LL},
                      NumberCase{"3:i4=0x80000000", MakePropId(3, CEVT_I4), -2147483648LL},
                      NumberCase{"3:i4=2147483647", MakePropId(3, CEVT_I4), 2147483647},
                      NumberCase{"4:ui4=4294967295", MakePropId(4, CEVT_UI4), 4294967295LL},
                      NumberCase{"4:ui4=0xdeadBEEF", MakePropId(4, CEVT_UI4), 0xDEADBEEFLL},
                      NumberCase{"5:bool=1", MakePropId(5, CEVT_BOOL), 1},
                      NumberCase{"5:bool=0", MakePropId(5, CEVT_BOOL), 0},
                      NumberCase{"7:filetime=0x01D2C3B4A5968778", MakePropId(7, CEVT_FILETIME),
                                 0x01D2C3B4A5968778LL},
                      NumberCase{"7:filetime=18446744073709551615", MakePropId(7, CEVT_FILETIME),
                                 -1}));

TEST(PropArgument, RealsTextAndHexBlobs) {
  EXPECT_EQ(Parsed("6:r8=-1.25").real, -1.25);
  EXPECT_EQ(Parsed("6:r8=1e300").real, 1e300);
  PropertyValue text = Parsed("8:text=Z\xC3\xBCrich \xF0\x9F\x98\x80");
  EXPECT_EQ(text.propid, MakePropId(8, CEVT_LPWSTR));
  EXPECT_EQ(text.text, u"Z\u00fcrich \U0001F600");
  EXPECT_EQ(Parsed("8:text=a=b:c").text, u"a=b:c");  // only the first : and = split
  EXPECT_EQ(Parsed("8:text=").text, u"");
  PropertyValue blob = Parsed("9:blob=hex:0a0B");
  EXPECT_EQ(blob.propid, MakePropId(9, CEVT_BLOB));
  EXPECT_EQ(blob.bytes, (std::vector<uint8_t>{0x0A, 0x0B}));
  EXPECT_TRUE(Parsed("9:blob=hex:").bytes.empty());
}

TEST(PropArgument, BlobFromAHostFileKeepsEveryByte) {
  platform::testing::TempFolder temp("cedb-prop");
  const std::string bytes("MZ\0\x01\xFF", 5);
  std::string path = temp.Write("payload.bin", bytes);
  PropertyValue v = Parsed("2:blob=@" + path);
  EXPECT_EQ(std::string(v.bytes.begin(), v.bytes.end()), bytes);
  std::string empty = temp.Write("empty.bin", std::string_view());
  EXPECT_TRUE(Parsed("2:blob=@" + empty).bytes.empty());

  PropertyValue out;
  std::string message;
  EXPECT_FALSE(ParsePropArgument("2:blob=@" + temp.Path("missing.bin"), &out, &message));
  EXPECT_NE(message.find("cannot read the file"), std::string::npos) << message;
  EXPECT_FALSE(ParsePropArgument("2:blob=@" + temp.path(), &out, &message));  // a folder
}

class PropArgumentRefused : public ::testing::TestWithParam<const char*> {};

TEST_P(PropArgumentRefused, WithAMessageNamingTheArgument) {
  PropertyValue v;
  std::string message;
  EXPECT_FALSE(ParsePropArgument(GetParam(), &v, &message));
  EXPECT_EQ(message.rfind("bad property \"" + std::string(GetParam()) + "\": ", 0), 0u) << message;
}

INSTANTIATE_TEST_SUITE_P(
    BadForms, PropArgumentRefused,
    ::testing::Values("", "1i4=5", "1:i4", "1=i4:5", ":i4=1", "65536:i4=1", "-1:i4=1", "x:i4=1",
                      "1:int=5", "1:I4=5", "1:i2=32768", "1:i2=-32769", "1:i2=0x10000",
                      "1:i4=2147483648", "1:i4=", "1:i4= 5", "1:i4=+5", "1:i4=5x", "1:ui4=-1",
                      "1:ui2=65536", "1:ui4=0x100000000", "1:bool=2", "1:bool=true", "1:r8=abc",
                      "1:r8=", "1:r8=1.5x", "1:filetime=18446744073709551616", "1:blob=0A0B",
                      "1:blob=hex:0A0", "1:blob=hex:zz", "1:blob=@", "1:text=\xFF\xFE"));

TEST(PropArgument, TypeNamesMatchWhatIsParsed) {
  for (const char* name : {"i2", "ui2", "i4", "ui4", "bool", "r8", "filetime", "text", "blob"}) {
    PropertyValue v;
    std::string message;
    std::string value = std::string(name) == "blob" ? "hex:00" : "1";
    ASSERT_TRUE(ParsePropArgument("1:" + std::string(name) + "=" + value, &v, &message)) << message;
    EXPECT_STREQ(TypeName(static_cast<uint16_t>(v.propid & 0xFFFF)), name);
  }
  EXPECT_STREQ(TypeName(4), "?");
}

}  // namespace
}  // namespace cedb
