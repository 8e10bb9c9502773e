// Registration scripts as text: structure, replacements and the errors of bad scripts.
#include "platform/com/RegScript.h"

#include <gtest/gtest.h>

namespace platform::com {
namespace {

RegScript Parse(std::string_view text, const Replacements& r = {}) {
  RegScript script;
  std::string error;
  EXPECT_TRUE(ParseRegScript(text, r, &script, &error)) << error;
  return script;
}

std::string ErrorOf(std::string_view text, const Replacements& r = {}) {
  RegScript script;
  std::string error;
  EXPECT_FALSE(ParseRegScript(text, r, &script, &error)) << text;
  EXPECT_TRUE(script.roots.empty());
  return error;
}

std::string Text(const ScriptValue& v) {
  return std::string(v.data.begin(), v.data.end());
}

TEST(RegScript, ReadsNestedKeysRemovalFlagsDefaultsAndNamedValues) {
  const RegScript s = Parse(R"(HKCR
{
	A.B.1 = s 'A Class'
	{
		CLSID = s '{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}'
	}
	NoRemove CLSID
	{
		ForceRemove {997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70} = s 'A Class'
		{
			InprocServer32 = s 'x.so'
			{
				val ThreadingModel = s 'Apartment'
				val Count = d '0x10'
				val Bytes = b '00ff'
			}
			'TypeLib' = s '{C17AB681-A70B-11D3-96B0-00104B5B66AA}'
		}
	}
}
HKLM { Software }
)");
  ASSERT_EQ(s.roots.size(), 2u);
  EXPECT_EQ(s.roots[0].root, HKEY_CLASSES_ROOT);
  EXPECT_EQ(s.roots[1].root, HKEY_LOCAL_MACHINE);
  ASSERT_EQ(s.roots[0].keys.size(), 2u);
  const ScriptKey& progId = s.roots[0].keys[0];
  EXPECT_EQ(progId.name, "A.B.1");
  EXPECT_EQ(progId.removal, Removal::Normal);
  ASSERT_TRUE(progId.hasDefault);
  EXPECT_EQ(Text(progId.defaultValue), "A Class");
  ASSERT_EQ(progId.keys.size(), 1u);
  EXPECT_EQ(Text(progId.keys[0].defaultValue), "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}");

  const ScriptKey& clsid = s.roots[0].keys[1];
  EXPECT_EQ(clsid.removal, Removal::NoRemove);
  EXPECT_FALSE(clsid.hasDefault);
  ASSERT_EQ(clsid.keys.size(), 1u);
  const ScriptKey& cls = clsid.keys[0];
  EXPECT_EQ(cls.name, "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}");
  EXPECT_EQ(cls.removal, Removal::ForceRemove);
  ASSERT_EQ(cls.keys.size(), 2u);
  EXPECT_EQ(cls.keys[1].name, "TypeLib");
  const ScriptKey& server = cls.keys[0];
  ASSERT_EQ(server.values.size(), 3u);
  EXPECT_EQ(server.values[0].name, "ThreadingModel");
  EXPECT_EQ(Text(server.values[0]), "Apartment");
  EXPECT_EQ(server.values[1].type, REG_DWORD);
  EXPECT_EQ(server.values[1].data, (std::vector<uint8_t>{0x10, 0, 0, 0}));
  EXPECT_EQ(server.values[2].type, REG_BINARY);
  EXPECT_EQ(server.values[2].data, (std::vector<uint8_t>{0x00, 0xff}));
  EXPECT_EQ(s.roots[1].keys[0].name, "Software");
}

TEST(RegScript, ReplacesNamesInsideQuotesLiterallyAndDoublesNoQuote) {
  // A module path with a quote and a percent sign must land as it is.
  const RegScript s = Parse("HKCR { K = s '%MODULE%' { val P = s '100%% of ''%NAME%''' } }",
                            {{"MODULE", "/tmp/it's 50%/Q.so"}, {"NAME", "x"}});
  const ScriptKey& k = s.roots[0].keys[0];
  EXPECT_EQ(Text(k.defaultValue), "/tmp/it's 50%/Q.so");
  EXPECT_EQ(Text(k.values[0]), "100% of 'x'");
}

TEST(RegScript, ReportsTheLineOfEachKindOfMistake) {
  EXPECT_EQ(ErrorOf("HKCR\n{\n K = s '%OTHER%'\n}"), "line 3: unknown replacement %OTHER%");
  EXPECT_EQ(ErrorOf("HKCR\n{\n K = s 'open\n}"), "line 3: unterminated quoted text");
  EXPECT_EQ(ErrorOf("HKXX { K }"), "line 1: a root key (HKCR, HKCU or HKLM) expected");
  EXPECT_EQ(ErrorOf("HKCR { K { }"), "line 1: '}' missing at the end of the script");
  EXPECT_EQ(ErrorOf("HKCR { val V = s 'x' }"), "line 1: a named value directly under a root key");
  EXPECT_EQ(ErrorOf("HKCR {\n K\n k }"), "line 3: key k twice");
  EXPECT_EQ(ErrorOf("HKCR { K { val V = s 'a' val v = s 'b' } }"), "line 1: value v twice");
  EXPECT_EQ(ErrorOf("HKCR { 'A\\B' }"), "line 1: bad key name \"A\\B\"");
  EXPECT_EQ(ErrorOf("HKCR { K = x 'a' }"), "line 1: value type s, d or b expected");
  EXPECT_EQ(ErrorOf("HKCR { K = d '4294967296' }"), "line 1: bad number \"4294967296\"");
  EXPECT_EQ(ErrorOf("HKCR { K = b 'abc' }"), "line 1: bad binary data \"abc\"");
  EXPECT_EQ(ErrorOf("HKCR { K = s '50%' }"), "line 1: unpaired % in \"50%\"");
  EXPECT_EQ(ErrorOf("HKCR { K = s }"), "line 1: value data expected");
}

TEST(RegScript, RefusesNestingBeyondItsLimit) {
  std::string deep = "HKCR {";
  for (int i = 0; i < kMaxScriptDepth + 1; ++i) deep += " K" + std::to_string(i) + " {";
  for (int i = 0; i < kMaxScriptDepth + 2; ++i) deep += " }";
  EXPECT_NE(ErrorOf(deep).find("nested too deeply"), std::string::npos);
}

TEST(RegScript, AnEmptyScriptHasNoRoots) {
  EXPECT_TRUE(Parse("  \n\t").roots.empty());
}

}  // namespace
}  // namespace platform::com
