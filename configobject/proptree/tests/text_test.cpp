// The readable text form: parsing, printing and their errors.
#include <gtest/gtest.h>

#include <string>

#include "configobject/proptree/TreeText.h"
#include "configobject/proptree/Value.h"
#include "configobject/proptree/tests/TestAllocator.h"
#include "configobject/proptree/tests/TestStreams.h"

namespace proptree {
namespace {

constexpr char kPattern[] = R"(# the configuration pattern
header "\r\nQuillmark Lab configuration pattern\r\n "
filters scramble crc
crc-block 512

node 0x01080001 group {
  node 0x01010001 group {
    prop 0x28010001 text = "Conduit"
    node 0x0A010002 bool = true
    node 0x08010003 = 30        # the type name may be left out
    node 0x07010005 choice = 1 {
      node 0x28010010 text = "Do Nothing"
      node 0x28010011 text = "Update Now"
    }
  }
  node 0x01010002 group {
    node 0x68010008 text[] step 4 = ["http://a.example/", "http://b.example/"]
  }
  node 0x0D010009 u128 = 0x0102030405060708090A0B0C0D0E0F10
  node 0x2A01000A bytes = <00 ff 10>
  node 0x2901000B wtext = "\u0417\u00e9\"\\"
  node 0x2801000C text = none
}
)";

TEST(TreeText, ParsesOptionsNodesAndValues) {
  const long before = test::LiveBlocks();
  {
    TreeDocument doc;
    std::string error;
    ASSERT_EQ(ParseTreeText(kPattern, &doc, &error), 0) << error;
    EXPECT_EQ(doc.options.headerText, kPatternHeaderText);
    EXPECT_EQ(doc.options.filters,
              (std::vector<FilterCode>{FilterCode::Scramble, FilterCode::CrcBlocks}));
    EXPECT_EQ(doc.options.crcBlockSize, 512u);

    Node holder;  // paths start at the node above the root
    holder.firstChild = doc.root;
    const ItemId action[] = {0x01080001, 0x01010001, 0x07010005, kSelectorId, 0};
    Node* chosen = FindByPath(&holder, action);
    ASSERT_NE(chosen, nullptr);
    char text[32];
    GetValue(&chosen->own, text, sizeof text);
    EXPECT_STREQ(text, "Update Now");

    const ItemId wait[] = {0x01080001, 0x01010001, 0x08010003, 0};
    uint16_t seconds = 0;
    EXPECT_EQ(GetValue(ValueSlotOf(&holder, wait, 0), &seconds, 2), 2u);
    EXPECT_EQ(seconds, 30);

    const ItemId urls[] = {0x01080001, 0x01010002, 0x68010008, 0};
    ValueSlot* list = ValueSlotOf(&holder, urls, 0);
    ASSERT_EQ(ArrayCount(list), 2u);
    EXPECT_EQ(list->array.step, 4);

    const ItemId wide[] = {0x01080001, 0x2901000B, 0};
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(FindByPath(&holder, wide)->own.ref.data)),
              u"\u0417\u00e9\"\\");
    const ItemId big[] = {0x01080001, 0x0D010009, 0};
    EXPECT_EQ(FindByPath(&holder, big)->own.scalar[0], 0x10);
    holder.firstChild = nullptr;
  }
  EXPECT_EQ(test::LiveBlocks(), before);
}

TEST(TreeText, PrintingThenParsingGivesTheSameText) {
  Node* sample = test::SampleTree();
  WriteOptions options;
  options.filters = {FilterCode::Compress, FilterCode::CrcBlocks};
  options.unusedField = 0x1234;
  const std::string printed = PrintTreeText(sample, &options);
  TreeDocument doc;
  std::string error;
  ASSERT_EQ(ParseTreeText(printed, &doc, &error), 0) << error << "\n" << printed;
  EXPECT_EQ(PrintTreeText(doc.root, &doc.options), printed);
  EXPECT_NE(printed.find("node 0x4A010023 bool[] = [1, 0, 0, 1, 1, 0, 1, 0, 1]"), std::string::npos)
      << printed;
  EXPECT_NE(printed.find("node 0x28010007 text = none"), std::string::npos);
  DeleteSubtree(sample);
}

TEST(TreeText, ErrorsNameTheLineAndLeaveTheDocumentEmpty) {
  const long before = test::LiveBlocks();
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"node 0x01010001 group {\n  node 0x03010002 text = 1\n}",
       "line 2: type 'text' does not match"},
      {"node 0x01010001 {\n node 0x05010002 = 1\n node 0x05010002 = 2\n}",
       "line 3: duplicate node"},
      {"node 0x01010001\nnode 0x01010001", "line 2: a top-level node"},
      {"node 0x01010001\nnode 0x01010002\nnode 0x01010001\n\nnode 0x01010003",
       "line 3: a top-level node"},
      {"node 0x02010001 = 256", "line 1: number out of range"},
      {"node 0x28010001 = \"\\q\"", "line 1: bad escape"},
      {"node 0x00010001", "line 1: identifier 0x00010001 has no valid type"},
      {"node 0x01010001 {\n prop 0x09000001 = 1\n}", "line 2: 0x09000001"},
      {"filters crc crc", "line 1: a filter can appear once"},
      {"node 0x01010001 {", "line 1: 'node', 'prop' or '}' expected"},
      {"node 0x05010001 step 2", "line 1: step on a non-array"},
      {"node 0x4A010001 = [1, 2]", "line 1: number out of range"},  // array booleans are bits
  };
  for (const Case& c : cases) {
    TreeDocument doc;
    std::string error;
    EXPECT_EQ(ParseTreeText(c.text, &doc, &error), -1) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    EXPECT_EQ(doc.root, nullptr);
  }
  EXPECT_EQ(test::LiveBlocks(), before);
}

}  // namespace
}  // namespace proptree
