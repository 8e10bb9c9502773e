// Reading stored trees: stream layout, block checks, filters and failures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "configobject/proptree/Compressor.h"
#include "configobject/proptree/Crc32.h"
#include "configobject/proptree/Scrambler.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/Value.h"
#include "configobject/proptree/tests/TestAllocator.h"
#include "configobject/proptree/tests/TestStreams.h"

namespace proptree {
namespace {

using test::Raw;

// ReaderTest: every test checks that nothing stays allocated afterwards.
class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { before_ = test::LiveBlocks(); }
  void TearDown() override {
    DeleteChain(tree_);
    EXPECT_EQ(test::LiveBlocks(), before_);
  }
  Node* Read(const std::vector<uint8_t>& stored, ReadStatus* why = nullptr) {
    ReadDetails details;
    DeleteChain(tree_);
    tree_ = ReadTree(stored.data(), stored.size(), nullptr, &details);
    if (why != nullptr) *why = details.status;
    return tree_;
  }
  ReadStatus Failure(const std::vector<uint8_t>& stored) {
    ReadStatus why = ReadStatus::Ok;
    EXPECT_EQ(Read(stored, &why), nullptr);
    return why;
  }

  long before_ = 0;
  Node* tree_ = nullptr;
};

// A single text node whose own value is the given encoded bytes.
Raw TextNode(ItemId id, uint32_t length, const std::string& bytes = "") {
  Raw r;
  r.Header().U8(1).U32(id).U16(length).Text(bytes).EndProperties();
  return r;
}

TEST(Crc32, MatchesTheReflectedPolynomialWithoutFinalInversion) {
  const char* digits = "123456789";
  EXPECT_EQ(Crc32Update(kCrcStart, reinterpret_cast<const uint8_t*>(digits), 9), ~0xCBF43926u);
  EXPECT_EQ(Crc32Update(kCrcStart, nullptr, 0), kCrcStart);
}

TEST_F(ReaderTest, TextLengthFFFFIsNoTextAndZeroIsEmpty) {
  Node* none = Read(test::StoredRaw(TextNode(0x28010007, 0xFFFF)));
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->own.ref.data, nullptr);

  Node* empty = Read(test::StoredRaw(TextNode(0x28010007, 0)));
  ASSERT_NE(empty, nullptr);
  ASSERT_NE(empty->own.ref.data, nullptr);
  EXPECT_EQ(GetValue(&empty->own, nullptr, 0), 1u);

  Node* text = Read(test::StoredRaw(TextNode(0x28010007, 3, "abc")));
  ASSERT_NE(text, nullptr);
  char buffer[8];
  EXPECT_EQ(GetValue(&text->own, buffer, sizeof buffer), 4u);
  EXPECT_STREQ(buffer, "abc");

  Node* wide = Read(test::StoredRaw(TextNode(0x29010008, 4, std::string("h\0i\0", 4))));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(wide->own.ref.data)), u"hi");
  EXPECT_EQ(Failure(test::StoredRaw(TextNode(0x29010008, 3, "abc"))), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, NineBooleansArePackedInTwoBytes) {
  Raw r;
  r.Header().U8(1).U32(0x4A010001).U16(9).U16(0).U8(0b00000101).U8(0b00000001).EndProperties();
  Node* node = Read(test::StoredRaw(r));
  ASSERT_NE(node, nullptr);
  ASSERT_EQ(ArrayCount(&node->own), 9u);
  const uint32_t expected[9] = {1, 0, 1, 0, 0, 0, 0, 0, 1};
  for (uint32_t i = 0; i < 9; ++i) {
    uint32_t v = 5;
    ASSERT_EQ(ArrayElement(&node->own, i, &v, 4), 4u);
    EXPECT_EQ(v, expected[i]) << "element " << i;
  }
}

TEST_F(ReaderTest, ArraysOfTextsAndFixedValues) {
  Raw r;
  r.Header().U8(1).U32(0x68010002).U16(2).U16(4).U16(2).Text("ab").U16(0);
  r.U32(0x43010003).U16(2).U16(0).U16(0x1234).U16(0xFFFF);  // a property
  r.EndProperties();
  Node* node = Read(test::StoredRaw(r));
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->own.array.step, 4);
  char buffer[8];
  EXPECT_EQ(ArrayElement(&node->own, 0, buffer, sizeof buffer), 3u);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(ArrayElement(&node->own, 1, buffer, sizeof buffer), 1u);
  ValueSlot* words = FindProperty(node, 0x43010003);
  ASSERT_NE(words, nullptr);
  uint16_t w;
  ArrayElement(words, 1, &w, 2);
  EXPECT_EQ(w, 0xFFFF);
}

TEST_F(ReaderTest, ChildrenAndSiblingsFollowTheFlags) {
  Raw r;
  r.Header().U8(2).U32(0x01080001).EndProperties();   // root with a child
  r.U8(1 | 4).U32(0x07010005).U8(1).EndProperties();  // child with siblings
  r.U8(0).U32(0x01010006).EndProperties();            // sibling 1
  r.U8(2).U32(0x01010007).EndProperties();            // sibling 2 with a child
  r.U8(0).U32(0x0A010008).U32(0x28010001).U16(1).Text("x").EndProperties();
  r.U8(0xFF);
  Node* root = Read(test::StoredRaw(r));
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(ChildCount(root), 3u);
  const ItemId path[] = {0x01010007, 0x0A010008, 0};
  Node* leaf = FindByPath(root, path);
  ASSERT_NE(leaf, nullptr);
  EXPECT_NE(FindProperty(leaf, 0x28010001), nullptr);
  EXPECT_NE(FindProperty(leaf, kNodeAddressId), nullptr);
  const ItemId select[] = {0x07010005, kSelectorId, 0};
  EXPECT_EQ(FindByPath(root, select), nullptr);  // a choice without children
}

TEST_F(ReaderTest, AStreamOfExactlyTwoCheckBlocksHasTwoChecks) {
  // 10 header + 1 flags + 4 id + 2 length + L bytes + 4 end = 2 × 1020.
  const uint32_t length = 2 * kCheckBlockSize - 21;
  Raw r;
  r.Header().U8(1).U32(0x2A010001).U16(length).Text(std::string(length, 'z')).EndProperties();
  ASSERT_EQ(r.bytes.size(), 2 * kCheckBlockSize);
  const std::vector<uint8_t> checked = AddBlockChecks(r.bytes);
  ASSERT_EQ(checked.size(), 2 * kCheckBlockSize + 8);
  // The first check covers the block after the 10-byte header.
  uint32_t first;
  std::memcpy(&first, &checked[kCheckBlockSize], 4);
  EXPECT_EQ(first, Crc32Update(kCrcStart, r.bytes.data() + 10, kCheckBlockSize - 10));
  ASSERT_NE(Read(test::Container(checked)), nullptr);
  EXPECT_EQ(GetValue(&tree_->own, nullptr, 0), length);

  std::vector<uint8_t> extra = checked;
  extra.resize(extra.size() - 4);  // no check after the last full block
  EXPECT_EQ(Failure(test::Container(extra)), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, CorruptedBlockCheckFails) {
  std::vector<uint8_t> stored = test::StoredRaw(TextNode(0x28010007, 3, "abc"));
  ASSERT_NE(Read(stored), nullptr);
  stored[stored.size() - 8] ^= 1;  // a byte of the text
  EXPECT_EQ(Failure(stored), ReadStatus::Corrupt);
  stored = test::StoredRaw(TextNode(0x28010007, 3, "abc"));
  stored.back() ^= 0x80;  // the check itself
  EXPECT_EQ(Failure(stored), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, MalformedStreamsFailCleanly) {
  Raw version;
  version.Header(2).U8(0).U32(0x01010001).EndProperties();
  EXPECT_EQ(Failure(test::StoredRaw(version)), ReadStatus::UnsupportedVersion);

  Raw magic;
  magic.U16(0xADAE).U32(1).U32(0).U8(0).U32(0x01010001).EndProperties();
  EXPECT_EQ(Failure(test::StoredRaw(magic)), ReadStatus::NotThisFormat);

  Raw flags;
  flags.Header().U8(8).U32(0x01010001).EndProperties();
  EXPECT_EQ(Failure(test::StoredRaw(flags)), ReadStatus::Corrupt);

  Raw duplicate;
  duplicate.Header().U8(2).U32(0x01010001).U32(0x05010002).U32(1).U32(0x05010002).U32(2);
  duplicate.EndProperties().U8(0).U32(0x01010003).EndProperties();
  EXPECT_EQ(Failure(test::StoredRaw(duplicate)), ReadStatus::Corrupt);

  Raw twins;  // two siblings with one identifier
  twins.Header()
      .U8(4)
      .U32(0x01010001)
      .EndProperties()
      .U8(0)
      .U32(0x01010001)
      .EndProperties()
      .U8(0xFF);
  EXPECT_EQ(Failure(test::StoredRaw(twins)), ReadStatus::Corrupt);

  Raw type;
  type.Header().U8(0).U32(0x12010001).EndProperties();
  EXPECT_EQ(Failure(test::StoredRaw(type)), ReadStatus::Corrupt);

  Raw unended;  // siblings announced, no 0xFF
  unended.Header().U8(4).U32(0x01010001).EndProperties();
  EXPECT_EQ(Failure(test::StoredRaw(unended)), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, DeepNestingIsRefusedInsteadOfRecursing) {
  auto nested = [](int levels) {
    Raw r;
    r.Header();
    for (int i = 0; i < levels; ++i) r.U8(i + 1 < levels ? 2 : 0).U32(0x01010001).EndProperties();
    return r;
  };
  ASSERT_NE(Read(test::StoredRaw(nested(kMaxTreeDepth))), nullptr);
  EXPECT_EQ(Failure(test::StoredRaw(nested(kMaxTreeDepth + 1))), ReadStatus::TooDeep);
  EXPECT_EQ(Failure(test::StoredRaw(nested(100000))), ReadStatus::TooDeep);
}

TEST_F(ReaderTest, ContainerAndFilterHeadersAreChecked) {
  const std::vector<uint8_t> good = test::StoredRaw(TextNode(0x28010007, 1, "a"));
  std::vector<uint8_t> bad = good;
  bad[0] = 'q';
  EXPECT_EQ(Failure(bad), ReadStatus::NotThisFormat);
  bad = good;
  bad[6] = 'X';  // the filter header's magic
  EXPECT_EQ(Failure(bad), ReadStatus::NotThisFormat);
  bad = good;
  bad[10] = 5;  // an unknown filter code
  EXPECT_EQ(Failure(bad), ReadStatus::UnsupportedVersion);
  bad = good;
  bad[10] = 3;  // code 3 also announces the tree
  EXPECT_NE(Read(bad), nullptr);
  bad = good;
  bad[4] = 0xFF;  // header text longer than the block
  EXPECT_EQ(Failure(bad), ReadStatus::Corrupt);
  EXPECT_EQ(ReadTree(nullptr, 0), nullptr);
}

TEST_F(ReaderTest, ARepeatedFilterCodeIsRefused) {
  Raw r;
  r.Text("QMsw").U16(0).Text("QMsw").U16(4).U16(0);
  std::vector<uint8_t> inner = {'Q', 'M', 's', 'w', 4, 0, 0, 0};
  const std::vector<uint8_t> scrambled = ScrambleBytes(inner);
  r.bytes.insert(r.bytes.end(), scrambled.begin(), scrambled.end());
  EXPECT_EQ(Failure(r.bytes), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, AMatchBeforeTheStartOfTheOutputFails) {
  Raw r;
  r.Text("QMsw").U16(0).Text("QMsw").U16(1).U32(0).U16(0);
  r.U16(0x0000).U8(255);  // bits 0,0,0,0: a 2-byte match one byte back, with nothing produced
  r.U16(0);
  EXPECT_EQ(Failure(r.bytes), ReadStatus::Corrupt);

  Raw far;  // one literal then a long match 8192 back
  far.Text("QMsw").U16(0).Text("QMsw").U16(1).U32(0).U16(0);
  far.U16(0b101).U8('a').U8(0).U8(1).U8(0).U8(0).U8(0);
  EXPECT_EQ(Failure(far.bytes), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, ACrcBlockAboveTheAnnouncedSizeFails) {
  const std::vector<uint8_t> tree = AddBlockChecks(TextNode(0x28010007, 1, "a").bytes);
  std::vector<uint8_t> inner = {'Q', 'M', 's', 'w', 0, 0};
  inner.insert(inner.end(), tree.begin(), tree.end());
  Raw r;
  r.Text("QMsw").U16(0).Text("QMsw").U16(2).U32(8).U16(0);  // largest 8, blocks of 16
  const std::vector<uint8_t> blocks = CrcBlocks(inner, 16);
  r.bytes.insert(r.bytes.end(), blocks.begin(), blocks.end());
  EXPECT_EQ(Failure(r.bytes), ReadStatus::Corrupt);
}

TEST_F(ReaderTest, ATreeGivenToReceiveItGetsTheRootAsChild) {
  const std::vector<uint8_t> stored = test::StoredRaw(TextNode(0x28010007, 1, "a"));
  Node* holder = CreateNode(nullptr, 0x01010001);
  Node* root = ReadTree(stored.data(), stored.size(), holder);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(holder->firstChild, root);
  EXPECT_EQ(root->parent, holder);
  // A second copy would duplicate the child: the read fails, the holder is unchanged.
  EXPECT_EQ(ReadTree(stored.data(), stored.size(), holder), nullptr);
  EXPECT_EQ(ChildCount(holder), 1u);
  DeleteSubtree(holder);
}

TEST(Scrambler, KeyStreamRunsOnAcrossOddReads) {
  // Scrambling zeros exposes the key stream: seed, then one shift per word.
  std::vector<uint8_t> zeros(6, 0);
  const std::vector<uint8_t> keys = ScrambleBytes(zeros);
  const uint16_t k0 = kScrambleSeed, k1 = ScrambleKeyStep(k0), k2 = ScrambleKeyStep(k1);
  EXPECT_EQ(keys, (std::vector<uint8_t>{static_cast<uint8_t>(k0), static_cast<uint8_t>(k0 >> 8),
                                        static_cast<uint8_t>(k1), static_cast<uint8_t>(k1 >> 8),
                                        static_cast<uint8_t>(k2), static_cast<uint8_t>(k2 >> 8)}));
  EXPECT_EQ(ScrambleKeyStep(0x0001), 0x8000);
  EXPECT_EQ(ScrambleKeyStep(0x0003), 0x0001);

  // An odd read ends on a low byte; the next begins with the high byte of the same key.
  std::vector<uint8_t> pieces(zeros);
  ScrambleState state;
  state.Apply(pieces.data(), 3);
  state.Apply(pieces.data() + 3, 1);
  state.Apply(pieces.data() + 4, 2);
  EXPECT_EQ(pieces, keys);
}

TEST(Compressor, TheNextControlWordComesRightAfterTheSixteenthBit) {
  std::vector<uint8_t> data;
  for (int i = 0; i < 17; ++i) data.push_back(static_cast<uint8_t>(i * 37 + 1));  // no matches
  const std::vector<uint8_t> out = Compress(data);
  // word, 15 literals, next word (reserved when bit 16 is taken), literal 16, literal 17, ...
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[1], 0xFF);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(out[2 + i], data[i]);
  EXPECT_EQ(out[19], data[15]);
  EXPECT_EQ(out[20], data[16]);
  EXPECT_EQ(out[17] & 0b111, 0b101);  // literal 17, then the end code's 0, 1
}

}  // namespace
}  // namespace proptree
