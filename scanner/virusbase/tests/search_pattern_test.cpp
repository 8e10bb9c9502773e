// The bad-character search and the list walk of FindVirus.
#include <gtest/gtest.h>

#include <random>
#include <string_view>
#include <vector>

#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/SearchPattern.h"

namespace scanner {
namespace {

const uint8_t* U(std::string_view s) {
  return reinterpret_cast<const uint8_t*>(s.data());
}
uint32_t L(std::string_view s) {
  return static_cast<uint32_t>(s.size());
}

// Offset of the match, or -1.
long Find(std::string_view text, std::string_view pattern) {
  const uint8_t* hit = SearchPattern(U(text), L(text), U(pattern), L(pattern));
  return hit == nullptr ? -1 : hit - U(text);
}

// The oracle: the first window where positions 1 .. n-1 agree (position 0 is
// never compared); a one-byte pattern matches at 0.
long BruteForce(const std::vector<uint8_t>& text, const std::vector<uint8_t>& pattern) {
  if (pattern.empty() || text.size() < pattern.size()) return -1;
  for (size_t w = 0; w + pattern.size() <= text.size(); ++w) {
    bool match = true;
    for (size_t i = 1; i < pattern.size() && match; ++i) match = text[w + i] == pattern[i];
    if (match) return static_cast<long>(w);
  }
  return -1;
}

TEST(SearchPattern, FindsTheLowestOccurrence) {
  EXPECT_EQ(Find("xxVIRUSyyVIRUS", "VIRUS"), 2);
  EXPECT_EQ(Find("VIRUS", "VIRUS"), 0);
  EXPECT_EQ(Find("no match here", "VIRUS"), -1);
}

TEST(SearchPattern, WorkedShiftExample) {
  // "abcdR" mismatches at R and shifts by 2 to line the R bytes up ("cdRxV");
  // there V is not in positions 1..4 and the shift is 4, not 5.
  EXPECT_EQ(Find("abcdRxVIRUS", "VIRUS"), 6);
  // Lining up the R bytes may give a window that matches except at position 0.
  EXPECT_EQ(Find("abcdRIRUS", "VIRUS"), 4);
}

TEST(SearchPattern, MatchAtTheLastAdmissibleWindow) {
  EXPECT_EQ(Find("aaaaaaaaaaaaaaaaaaaaVIRUS", "VIRUS"), 20);
  EXPECT_EQ(Find("aaaaaaaaaaaaaaaaaaaaVIRU", "VIRUS"), -1);
}

TEST(SearchPattern, OneByteSignatureMatchesAtOffsetZero) {
  EXPECT_EQ(Find("anything", "Q"), 0);
  EXPECT_EQ(Find("z", "Q"), 0);
  EXPECT_EQ(Find("", "Q"), -1);
}

TEST(SearchPattern, FirstByteIsNeverCompared) {
  EXPECT_EQ(Find("...XIRUS...", "VIRUS"), 3);
  EXPECT_EQ(Find("...XIRUT...", "VIRUS"), -1);
}

TEST(SearchPattern, ShortTextAndEmptyPatternNeverMatch) {
  EXPECT_EQ(Find("VIRU", "VIRUS"), -1);
  EXPECT_EQ(Find("VIRUS", ""), -1);
  // Nothing is read for an empty pattern or a too short text.
  EXPECT_EQ(SearchPattern(nullptr, 0, nullptr, 0), nullptr);
  EXPECT_EQ(SearchPattern(nullptr, 3, U("abcd"), 4), nullptr);
}

TEST(SearchPattern, AgreesWithBruteForceOnRandomInput) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 20000; ++round) {
    // Small alphabets make partial matches and repeats common.
    const int alphabet = 1 + static_cast<int>(rng() % 4);
    std::vector<uint8_t> text(rng() % 64), pattern(rng() % 9);
    for (auto& b : text) b = static_cast<uint8_t>('a' + rng() % alphabet);
    for (auto& b : pattern) b = static_cast<uint8_t>('a' + rng() % alphabet);
    if (!pattern.empty() && text.size() >= pattern.size() && rng() % 2) {
      const size_t at = rng() % (text.size() - pattern.size() + 1);
      std::copy(pattern.begin(), pattern.end(), text.begin() + static_cast<long>(at));
    }
    const uint8_t* hit = SearchPattern(text.data(), static_cast<uint32_t>(text.size()),
                                       pattern.data(), static_cast<uint32_t>(pattern.size()));
    const long got = hit == nullptr ? -1 : hit - text.data();
    ASSERT_EQ(got, BruteForce(text, pattern)) << "round " << round;
  }
}

VirusRecord* AddRecord(VirusBase& base, std::u16string_view name, std::string_view signature) {
  auto r = std::make_unique<VirusRecord>();
  std::copy(name.begin(), name.end(), r->name);
  r->signatureLength = L(signature);
  r->signature = std::make_unique<uint8_t[]>(signature.size());
  std::copy(signature.begin(), signature.end(), r->signature.get());
  VirusRecord* raw = r.get();
  base.PushFront(std::move(r));
  return raw;
}

TEST(FindVirus, EmptyBaseFindsNothing) {
  VirusBase base;
  EXPECT_EQ(FindVirus(base, U("VIRUS"), 5), nullptr);
}

TEST(FindVirus, RecordLaterInTheFileWins) {
  VirusBase base;
  AddRecord(base, u"Earlier", "abc");  // read first, so later in the list
  const VirusRecord* later = AddRecord(base, u"Later", "xyz");
  EXPECT_EQ(FindVirus(base, U("..abc..xyz.."), 12), later);
  EXPECT_EQ(FindVirus(base, U("..abc......."), 12)->nameText(), u"Earlier");
}

TEST(FindVirus, ObjectShorterThanTheSignatureNeverMatches) {
  VirusBase base;
  AddRecord(base, u"Long", "0123456789");
  EXPECT_EQ(FindVirus(base, U("012345678"), 9), nullptr);
}

TEST(FindVirus, ZeroLengthSignatureNeverMatches) {
  VirusBase base;
  auto r = std::make_unique<VirusRecord>();  // no signature chunk at all
  base.PushFront(std::move(r));
  EXPECT_EQ(FindVirus(base, U("abc"), 3), nullptr);
  const VirusRecord* one = AddRecord(base, u"One", "q");
  EXPECT_EQ(FindVirus(base, U("abc"), 3), one);
}

}  // namespace
}  // namespace scanner
