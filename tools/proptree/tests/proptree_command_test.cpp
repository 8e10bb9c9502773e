// The proptree tool: pack and dump, in-process and as the installed program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/testing/TempFolder.h"
#include "tools/proptree/ProptreeCommand.h"

namespace proptree::tool {
namespace {

constexpr char kText[] = R"(header "\r\nQuillmark Lab configuration pattern\r\n "
filters scramble

node 0x01080001 group {
  node 0x0A010002 bool = 1 {
    prop 0x28010001 text = "Show Dialog"
  }
  node 0x68010008 text[] step 2 = ["http://a.example/", "http://b.example/"]
}
)";

TEST(ProptreeTool, PackThenDumpGivesTheTextBack) {
  std::vector<uint8_t> stored;
  std::string error, text;
  ASSERT_EQ(Pack(kText, {}, &stored, &error), 0) << error;
  ASSERT_EQ(Dump(stored, &text, &error), 0) << error;
  EXPECT_EQ(text, kText);

  PackOverrides overrides;
  overrides.filters = std::vector<FilterCode>{FilterCode::Compress, FilterCode::CrcBlocks};
  overrides.crcBlockSize = 64;
  ASSERT_EQ(Pack(kText, overrides, &stored, &error), 0) << error;
  ASSERT_EQ(Dump(stored, &text, &error), 0) << error;
  EXPECT_NE(text.find("filters compress crc\ncrc-block 64\n"), std::string::npos) << text;
}

TEST(ProptreeTool, ErrorsSayWhatIsWrong) {
  std::vector<uint8_t> stored;
  std::string error, text;
  EXPECT_EQ(Pack("node 0x01010001 {", {}, &stored, &error), 1);
  EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
  EXPECT_EQ(Pack("# nothing\n", {}, &stored, &error), 1);
  EXPECT_EQ(error, "the text holds no node");
  EXPECT_EQ(Dump({'M', 'Z', 0, 0}, &text, &error), 1);
  EXPECT_EQ(error, "not a stored property tree");
}

TEST(ProptreeTool, TheProgramPacksAndDumpsFiles) {
  const char* bin = std::getenv("SUITE_BIN");
  if (bin == nullptr) GTEST_SKIP() << "SUITE_BIN is not set (run through ctest)";
  namespace fs = std::filesystem;
  const platform::testing::TempFolder temp("proptree_tool");
  const fs::path dir = temp.path();
  std::ofstream(dir / "in.txt") << kText;
  const std::string tool = std::string(bin) + "/proptree";
  const std::string pack = tool + " pack --filters scramble,compress " + (dir / "in.txt").string() +
                           " " + (dir / "tree.bin").string();
  ASSERT_EQ(std::system(pack.c_str()), 0);
  const std::string dump =
      tool + " dump " + (dir / "tree.bin").string() + " " + (dir / "out.txt").string();
  ASSERT_EQ(std::system(dump.c_str()), 0);
  std::stringstream out;
  out << std::ifstream(dir / "out.txt").rdbuf();
  EXPECT_NE(out.str().find("filters scramble compress\n"), std::string::npos);
  EXPECT_NE(out.str().find("prop 0x28010001 text = \"Show Dialog\""), std::string::npos);
  const std::string bad = tool + " dump " + (dir / "in.txt").string() + " 2>/dev/null";
  EXPECT_NE(std::system(bad.c_str()), 0);
}

}  // namespace
}  // namespace proptree::tool
