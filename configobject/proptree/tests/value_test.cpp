// Setting and getting values: scalars, texts, blocks, arrays.
#include "configobject/proptree/Value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "configobject/proptree/Node.h"
#include "configobject/proptree/tests/TestAllocator.h"

namespace proptree {
namespace {

uintptr_t P(const void* p) {
  return reinterpret_cast<uintptr_t>(p);
}

class ValueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = test::LiveBlocks();
    node_ = CreateNode(nullptr, 0x01010001);
  }
  void TearDown() override {
    DeleteSubtree(node_);
    EXPECT_EQ(test::LiveBlocks(), before_);
  }
  ValueSlot* Slot(ItemId id) { return AddProperty(node_, id); }

  long before_ = 0;
  Node* node_ = nullptr;
};

TEST_F(ValueTest, ScalarsTakeLengthZeroOrTheirExactSize) {
  ValueSlot* word = Slot(0x08010003);
  EXPECT_EQ(SetValue(word, 0x1234, 2), 2u);
  EXPECT_EQ(SetValue(word, 0x5678, 4), 0u);  // a 16-bit item with length 4 is refused
  uint16_t got = 0;
  ASSERT_EQ(GetValue(word, &got, 2), 2u);
  EXPECT_EQ(got, 0x1234);
  EXPECT_EQ(SetValue(word, 0xABCDEF, 0), 2u);  // truncated to the item's size
  GetValue(word, &got, 2);
  EXPECT_EQ(got, 0xCDEF);

  uint32_t wide = 0;
  EXPECT_EQ(GetValue(word, &wide, 4), 0u);  // gets need the exact size too
  EXPECT_EQ(GetValue(word, nullptr, 2), 0u);

  ValueSlot* byte = Slot(0x07010005);
  EXPECT_EQ(SetValue(byte, 2, 1), 1u);
  ValueSlot* flag = Slot(0x0A010002);
  EXPECT_EQ(SetValue(flag, 1, 4), 4u);
  EXPECT_EQ(SetValue(flag, 1, 1), 0u);
  ASSERT_EQ(GetValue(flag, &wide, 4), 4u);
  EXPECT_EQ(wide, 1u);
  EXPECT_EQ(SetValue(Slot(0x01010009), 1, 0), 0u);  // a group holds no value
}

TEST_F(ValueTest, WideScalarsArePassedByPointerAndNoneClears) {
  ValueSlot* big = Slot(0x0D010001);
  uint8_t in[16], out[16] = {};
  for (int i = 0; i < 16; ++i) in[i] = static_cast<uint8_t>(i + 1);
  EXPECT_EQ(SetValue(big, P(in), 0), 16u);
  ASSERT_EQ(GetValue(big, out, 16), 16u);
  EXPECT_EQ(std::memcmp(in, out, 16), 0);
  EXPECT_EQ(SetValue(big, P(in), 8), 0u);
  EXPECT_EQ(SetValue(big, P(big->scalar), 0), 16u);  // from its own slot: kept
  ASSERT_EQ(GetValue(big, out, 16), 16u);
  EXPECT_EQ(std::memcmp(in, out, 16), 0);
  EXPECT_EQ(SetValue(big, 0, 0), 0u);
  GetValue(big, out, 16);
  EXPECT_EQ(out[0] | out[15], 0);
}

TEST_F(ValueTest, TextIsCopiedTerminatedAndMeasured) {
  ValueSlot* text = Slot(0x28010007);
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetValue(text, buffer, sizeof buffer), 0u);  // no text: empty string and 0
  EXPECT_EQ(buffer[0], '\0');

  EXPECT_EQ(SetValue(text, P("C:\\Palm"), 0), 8u);
  EXPECT_EQ(GetValue(text, nullptr, 0), 8u);
  EXPECT_EQ(GetValue(text, buffer, 5), 8u);  // full length back, copy truncated
  EXPECT_STREQ(buffer, "C:\\P");

  // A given length includes the terminator; the last byte always becomes one.
  EXPECT_EQ(SetValue(text, P("abcdef"), 4), 4u);
  EXPECT_EQ(GetValue(text, buffer, sizeof buffer), 4u);
  EXPECT_STREQ(buffer, "abc");

  // Re-setting from the slot's own text with a different length is safe.
  std::string copy(static_cast<const char*>(text->ref.data));
  EXPECT_EQ(SetValue(text, P(text->ref.data), 2), 2u);
  GetValue(text, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, copy.substr(0, 1).c_str());

  EXPECT_EQ(SetValue(text, 0, 0), 0u);
  EXPECT_EQ(GetValue(text, buffer, sizeof buffer), 0u);
}

TEST_F(ValueTest, WideTextCountsCharacters) {
  ValueSlot* text = Slot(0x29010008);
  EXPECT_EQ(SetValue(text, P(u"Palm"), 0), 10u);
  char16_t buffer[3];
  EXPECT_EQ(GetValue(text, buffer, sizeof buffer), 10u);
  EXPECT_EQ(std::u16string(buffer), u"Pa");
}

TEST_F(ValueTest, ByteBlocksKeepLengthAndNoneOrZeroClears) {
  ValueSlot* block = Slot(0x2A010001);
  const uint8_t bytes[] = {0, 1, 2, 0, 4};
  EXPECT_EQ(SetValue(block, P(bytes), 5), 5u);
  uint8_t out[3];
  EXPECT_EQ(GetValue(block, out, 3), 5u);
  EXPECT_EQ(out[2], 2);
  EXPECT_EQ(SetValue(block, P(bytes), 0), 0u);
  EXPECT_EQ(GetValue(block, nullptr, 0), 0u);
}

TEST_F(ValueTest, TextArraysAppendAndAddMissingTerminators) {
  ValueSlot* urls = Slot(0x68010009);
  EXPECT_EQ(SetValue(urls, P("http://a/"), 0), 10u);
  EXPECT_EQ(SetValue(urls, P("http://bb/xyz"), 10), 11u);  // 10 bytes, terminator added
  EXPECT_EQ(SetValue(urls, P("c\0ignored"), 2), 2u);       // terminator already there
  ASSERT_EQ(ArrayCount(urls), 3u);
  char buffer[64];
  EXPECT_EQ(ArrayElement(urls, 1, buffer, sizeof buffer), 11u);
  EXPECT_STREQ(buffer, "http://bb/");
  EXPECT_EQ(ArrayElement(urls, 0, buffer, 5), 5u);  // bytes written, with terminator
  EXPECT_STREQ(buffer, "http");
  EXPECT_EQ(ArrayElement(urls, 0, nullptr, 0), 10u);
  EXPECT_EQ(ArrayElement(urls, 2, buffer, sizeof buffer), 2u);
  EXPECT_STREQ(buffer, "c");
  EXPECT_EQ(ArrayElement(urls, 3, buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetValue(urls, buffer, sizeof buffer), 0u);

  EXPECT_EQ(SetValue(urls, 0, 0), 0u);  // no data empties the array
  EXPECT_EQ(ArrayCount(urls), 0u);
}

TEST_F(ValueTest, FixedArraysGrowByTheirStepZeroFilled) {
  ValueSlot* words = Slot(0x43010001);
  ASSERT_TRUE(SetArrayStep(words, 4));
  const uint16_t three[] = {10, 20, 30};
  EXPECT_EQ(SetValue(words, P(three), 6), 6u);
  EXPECT_EQ(words->array.capacity, 4u);
  EXPECT_EQ(reinterpret_cast<uint16_t*>(words->array.elements)[3], 0);
  EXPECT_EQ(SetValue(words, P(three), 5), 4u);  // as many whole elements as the length holds
  EXPECT_EQ(ArrayCount(words), 5u);
  EXPECT_EQ(words->array.capacity, 8u);
  for (uint32_t i = 5; i < 8; ++i)
    EXPECT_EQ(reinterpret_cast<uint16_t*>(words->array.elements)[i], 0);
  uint16_t got = 0;
  EXPECT_EQ(ArrayElement(words, 4, &got, 2), 2u);
  EXPECT_EQ(got, 20);
  EXPECT_EQ(ArrayElement(words, 4, &got, 1), 0u);
  EXPECT_EQ(SetValue(words, P(three), 1), 0u);  // less than one element

  // Appending the array's own elements while it grows copies them before the
  // old block is given back.
  const uint32_t before = ArrayCount(words);
  EXPECT_EQ(SetValue(words, P(words->array.elements), before * 2), before * 2);
  ASSERT_EQ(ArrayCount(words), 2 * before);
  for (uint32_t i = 0; i < before; ++i) {
    EXPECT_EQ(reinterpret_cast<uint16_t*>(words->array.elements)[before + i],
              reinterpret_cast<uint16_t*>(words->array.elements)[i]);
  }

  ValueSlot* stepless = Slot(0x45010002);  // step 0 behaves as 1
  const uint32_t one = 7;
  SetValue(stepless, P(&one), 4);
  EXPECT_EQ(stepless->array.capacity, 1u);
  EXPECT_EQ(ArrayCount(Slot(0x05010003)), 0u);
}

}  // namespace
}  // namespace proptree
