// Writing stored trees and reading them back through every filter chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "configobject/proptree/Compressor.h"
#include "configobject/proptree/Decompressor.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/TreeText.h"
#include "configobject/proptree/TreeWriter.h"
#include "configobject/proptree/Value.h"
#include "configobject/proptree/tests/TestAllocator.h"
#include "configobject/proptree/tests/TestStreams.h"

namespace proptree {
namespace {

// Every ordering of every subset of the three filters.
std::vector<std::vector<FilterCode>> AllChains() {
  std::vector<std::vector<FilterCode>> chains;
  for (int mask = 0; mask < 8; ++mask) {
    std::vector<FilterCode> set;
    if (mask & 1) set.push_back(FilterCode::Compress);
    if (mask & 2) set.push_back(FilterCode::CrcBlocks);
    if (mask & 4) set.push_back(FilterCode::Scramble);
    std::sort(set.begin(), set.end());
    do chains.push_back(set);
    while (std::next_permutation(set.begin(), set.end()));
  }
  return chains;
}

std::string ChainName(const std::vector<FilterCode>& chain) {
  std::string name;
  for (FilterCode f : chain) name += std::string(FilterName(f)) + " ";
  return name.empty() ? "none" : name;
}

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = test::LiveBlocks();
    sample_ = test::SampleTree();
    text_ = PrintTreeText(sample_, nullptr);
  }
  void TearDown() override {
    DeleteSubtree(sample_);
    EXPECT_EQ(test::LiveBlocks(), before_);
  }
  long before_ = 0;
  Node* sample_ = nullptr;
  std::string text_;
};

TEST_F(WriterTest, EveryFilterChainReadsBackTheSameTree) {
  const auto chains = AllChains();
  ASSERT_EQ(chains.size(), 16u);
  for (const auto& chain : chains) {
    for (FilterCode code : {FilterCode::Tree, FilterCode::TreeAlt}) {
      WriteOptions options;
      options.filters = chain;
      options.treeCode = code;
      options.crcBlockSize = 100;  // several CRC blocks
      std::vector<uint8_t> stored;
      ASSERT_EQ(WriteTree(sample_, options, &stored), kWriteOk);
      ReadDetails details;
      Node* back = ReadTree(stored.data(), stored.size(), nullptr, &details);
      ASSERT_NE(back, nullptr) << ChainName(chain);
      EXPECT_EQ(PrintTreeText(back, nullptr), text_) << ChainName(chain);
      EXPECT_EQ(details.filters, chain);
      EXPECT_EQ(details.treeCode, code);
      EXPECT_EQ(details.headerText, kPatternHeaderText);
      DeleteChain(back);
    }
  }
}

TEST_F(WriterTest, EveryTruncationOfAFilteredFormFailsWithoutLeaks) {
  // Compression innermost: the working buffer reads ahead to the end code,
  // so every byte of the form is needed. (A CRC filter innermost stops at its
  // end block, and bytes of outer filters after that are never read.)
  WriteOptions options;
  options.filters = {FilterCode::Scramble, FilterCode::CrcBlocks, FilterCode::Compress};
  std::vector<uint8_t> stored;
  ASSERT_EQ(WriteTree(sample_, options, &stored), kWriteOk);
  for (size_t n = 0; n < stored.size(); ++n) {
    std::vector<uint8_t> cut(stored.begin(), stored.begin() + static_cast<long>(n));
    ASSERT_EQ(ReadTree(cut.data(), cut.size()), nullptr) << "length " << n;
  }
}

TEST_F(WriterTest, AFlippedBitAnywhereIsCaught) {
  WriteOptions options;
  options.filters = {FilterCode::CrcBlocks};
  std::vector<uint8_t> stored;
  ASSERT_EQ(WriteTree(sample_, options, &stored), kWriteOk);
  const size_t headerEnd = 6 + options.headerText.size();
  for (size_t i = headerEnd; i < stored.size(); ++i) {
    std::vector<uint8_t> bad = stored;
    bad[i] ^= 0x10;
    Node* back = ReadTree(bad.data(), bad.size());
    // The only bytes free to change are the unused parameter and end block fields.
    if (back != nullptr) {
      EXPECT_EQ(PrintTreeText(back, nullptr), text_) << "offset " << i;
      DeleteChain(back);
    }
  }
}

TEST_F(WriterTest, NineBooleansAreWrittenAsTwoBytes) {
  Node* node = CreateNode(nullptr, 0x4A010001);
  uint32_t flags[9] = {};
  flags[8] = 1;
  SetValue(&node->own, reinterpret_cast<uintptr_t>(flags), sizeof flags);
  std::vector<uint8_t> stream;
  ASSERT_EQ(EncodeTreeStream(node, 0, &stream), kWriteOk);
  // header 10, flags 1, id 4, count 2, step 2, packed 2, end 4, check 4
  ASSERT_EQ(stream.size(), 29u);
  EXPECT_EQ(stream[19], 0);
  EXPECT_EQ(stream[20], 1);  // element 8 is bit 0 of the second byte
  DeleteSubtree(node);
}

TEST_F(WriterTest, ValuesBeyondTheStreamLimitsAreRefused) {
  Node* node = CreateNode(nullptr, 0x28010001);
  std::string longText(0xFFFF, 'a');  // 0xFFFF would read back as no text
  SetValue(&node->own, reinterpret_cast<uintptr_t>(longText.c_str()), 0);
  std::vector<uint8_t> stored;
  EXPECT_EQ(WriteTree(node, WriteOptions{}, &stored), kWriteTooLarge);
  longText.pop_back();
  SetValue(&node->own, reinterpret_cast<uintptr_t>(longText.c_str()), 0);
  EXPECT_EQ(WriteTree(node, WriteOptions{}, &stored), kWriteOk);
  WriteOptions twice;
  twice.filters = {FilterCode::Scramble, FilterCode::Scramble};
  EXPECT_EQ(WriteTree(node, twice, &stored), kWriteBadOption);
  DeleteSubtree(node);
}

TEST_F(WriterTest, CompressionShrinksRepetitiveDataAndExpandsExactly) {
  std::vector<uint8_t> data;
  for (int i = 0; i < 20000; ++i)
    data.push_back(static_cast<uint8_t>("configuration"[i % 13] + (i / 5000)));
  const std::vector<uint8_t> packed = Compress(data);
  EXPECT_LT(packed.size(), data.size() / 10);
  test::Raw params;
  params.U32(static_cast<uint32_t>(data.size())).U16(0);
  params.bytes.insert(params.bytes.end(), packed.begin(), packed.end());
  MemorySource source(params.bytes.data(), params.bytes.size());
  Decompressor expand(source);
  ASSERT_TRUE(expand.Open());
  std::vector<uint8_t> back(data.size() + 10);
  // Odd-sized reads, as the working buffer and the filters above ask.
  size_t got = 0;
  for (long n;
       (n = expand.Read(back.data() + got, std::min<size_t>(777, back.size() - got))) > 0;) {
    got += static_cast<size_t>(n);
  }
  back.resize(got);
  EXPECT_EQ(back, data);
}

}  // namespace
}  // namespace proptree
