// The signature index against the reference search: edge cases, random bases and objects.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/SignatureIndex.h"
#include "scanner/virusbase/tests/ListBase.h"

namespace scanner {
namespace {

using testing::Bytes;
using testing::ListBase;
using Signatures = std::vector<std::optional<std::string>>;

// Answer: which record (its position in the list) the index gives for an
// object, after checking that the reference search gives the same; -1 for none.
int Answer(const Signatures& signatures, const std::string& object) {
  VirusBase base;
  base.engine = MatchEngine::kIndex;
  const std::vector<const VirusRecord*> records = ListBase(base, signatures);
  EXPECT_EQ(BuildIndex(base), 0u);
  const auto length = static_cast<uint32_t>(object.size());
  const VirusRecord* indexed = FindVirus(base, Bytes(object), length);
  EXPECT_EQ(indexed, FindVirusByReference(base, Bytes(object), length)) << object;
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i] == indexed) return static_cast<int>(i);
  return -1;
}

TEST(SignatureIndex, EmptyBaseAndEmptyObjectFindNothing) {
  EXPECT_EQ(Answer({}, "VIRUS"), -1);
  EXPECT_EQ(Answer({"VIRUS", "Q"}, ""), -1);
}

TEST(SignatureIndex, FirstByteIsNeverCompared) {
  EXPECT_EQ(Answer({"VIRUS"}, "...XIRUS..."), 0);
  EXPECT_EQ(Answer({"Xmalware-body"}, "..Ymalware-body"), 0);
  EXPECT_EQ(Answer({"VIRUS"}, "...XIRUT..."), -1);
  // The window must start inside the object, even though its first byte is
  // not compared.
  EXPECT_EQ(Answer({"VIRUS"}, "IRUS......"), -1);
  EXPECT_EQ(Answer({"Xmalware-body"}, "malware-body.."), -1);
}

TEST(SignatureIndex, OneByteSignatureMatchesAnyNonEmptyObject) {
  EXPECT_EQ(Answer({"Q"}, "z"), 0);
  EXPECT_EQ(Answer({"Q"}, ""), -1);
  // Before it in the list a matching record still wins; after it none can.
  EXPECT_EQ(Answer({"xVIRUS-LONG-ENOUGH", "Q", "zz"}, "..VIRUS-LONG-ENOUGH.."), 0);
  EXPECT_EQ(Answer({"xnot-there-at-all", "Q", "z."}, "..VIRUS.."), 1);
}

TEST(SignatureIndex, ZeroLengthSignatureNeverMatches) {
  EXPECT_EQ(Answer({std::nullopt, ""}, "anything"), -1);
  EXPECT_EQ(Answer({"", std::nullopt, "Q"}, "anything"), 2);
}

TEST(SignatureIndex, ObjectShorterThanTheSignatureNeverMatches) {
  EXPECT_EQ(Answer({"0123456789abcdef"}, "0123456789abcde"), -1);
  EXPECT_EQ(Answer({"012"}, "01"), -1);
}

TEST(SignatureIndex, LastAdmissibleWindowIsFoundForEveryLength) {
  for (size_t n = 2; n <= 40; ++n) {
    std::string signature;
    for (size_t i = 0; i < n; ++i) signature += static_cast<char>('A' + i % 26);
    const std::string padding(37, '.');
    EXPECT_EQ(Answer({signature}, padding + signature), 0) << n;
    EXPECT_EQ(Answer({signature}, padding + signature.substr(0, n - 1)), -1) << n;
    EXPECT_EQ(Answer({signature}, signature), 0) << n;
  }
}

TEST(SignatureIndex, FirstRecordInListOrderWins) {
  EXPECT_EQ(Answer({"abc-long-signature", "xyz"}, "..xyz..abc-long-signature.."), 0);
  EXPECT_EQ(Answer({"xyz", "abc-long-signature"}, "..xyz..abc-long-signature.."), 0);
  EXPECT_EQ(Answer({"nope", "abc-long-signature", "xyz"}, "..xyz..abc-long-signature"), 1);
}

TEST(SignatureIndex, SignaturesAlikeButForTheFirstByteAnswerWithTheFirst) {
  EXPECT_EQ(Answer({"aSAME-BODY", "bSAME-BODY"}, "..zSAME-BODY"), 0);
  EXPECT_EQ(Answer({"aSAME", "bSAME", "aSAME"}, "..zSAME"), 0);
  EXPECT_EQ(Answer({"x", "aSAME", "bSAME"}, "..zSAME"), 0);
}

TEST(SignatureIndex, SharedPrefixesAreTellApartByTheRest) {
  // Same first eight bytes, different tails; only the later record occurs.
  const Signatures signatures = {"xPREFIX7-tail-one", "xPREFIX7-tail-two", "xPREFIX7"};
  EXPECT_EQ(Answer(signatures, "...PREFIX7-tail-two..."), 1);
  EXPECT_EQ(Answer(signatures, "...PREFIX7-tail-three"), 2);
  EXPECT_EQ(Answer(signatures, "...PREFIX7-tail-on"), 2);
}

TEST(SignatureIndex, BytesOfEveryValueAreMatched) {
  std::string signature;
  for (int i = 0; i < 256; ++i) signature += static_cast<char>(255 - i);
  std::string object(12, '\0');
  object += signature;
  EXPECT_EQ(Answer({std::string(9, '\0'), signature}, object), 0);
  EXPECT_EQ(Answer({signature, std::string(9, '\0')}, object), 0);
  EXPECT_EQ(Answer({std::string(2, '\xff')}, object), 0);
}

// RandomCase: a base and an object from rng: signatures over a small
// alphabet, of every length class, with duplicates, overlaps, variants in
// the first byte and pieces planted in the object.
struct RandomCase {
  Signatures signatures;
  std::string object;
};

RandomCase MakeRandomCase(std::mt19937& rng, size_t maxObject) {
  const auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  const char alphabetSize = static_cast<char>(1 + pick(pick(2) ? 4 : 40));
  const auto byte = [&] {
    return static_cast<char>('a' + pick(static_cast<size_t>(alphabetSize)));
  };
  RandomCase c;
  const size_t count = pick(24);
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && pick(6) == 0) {
      std::string copy = c.signatures[pick(i)].value_or("");
      if (!copy.empty() && pick(2)) copy[0] = byte();  // alike but for the first byte
      c.signatures.push_back(copy);
      continue;
    }
    if (pick(40) == 0) {
      c.signatures.push_back(pick(2) ? std::nullopt : std::optional<std::string>(""));
      continue;
    }
    const size_t lengths[] = {1, 2, 3, 5, 7, 8, 9, 11, 12, 15, 20, 33, 70};
    std::string s(pick(3) ? 2 + pick(15) : lengths[pick(std::size(lengths))], ' ');
    for (char& b : s) b = byte();
    c.signatures.push_back(s);
  }
  c.object.resize(pick(maxObject + 1));
  for (char& b : c.object) b = byte();
  // Plant whole or cut signatures, also at the very start and end.
  for (size_t planted = pick(4); planted-- > 0 && !c.signatures.empty();) {
    std::string s = c.signatures[pick(c.signatures.size())].value_or("");
    if (pick(3) == 0 && !s.empty()) s.resize(pick(s.size()));
    if (s.size() > c.object.size()) continue;
    const size_t room = c.object.size() - s.size();
    const size_t at = pick(4) == 0 ? (pick(2) ? 0 : room) : pick(room + 1);
    c.object.replace(at, s.size(), s);
  }
  return c;
}

TEST(SignatureIndex, AgreesWithTheReferenceOnRandomBasesAndObjects) {
  std::mt19937 rng(20261212);
  int matched = 0;
  for (int round = 0; round < 4000; ++round) {
    const RandomCase c = MakeRandomCase(rng, 120);
    const int answer = Answer(c.signatures, c.object);
    matched += answer >= 0;
    if (::testing::Test::HasFailure()) FAIL() << "round " << round;
  }
  // The cases must exercise both outcomes in numbers, not only misses.
  EXPECT_GT(matched, 1000);
  EXPECT_GT(4000 - matched, 400);
}

TEST(SignatureIndex, AgreesWithTheReferenceOnLongTextOfFewByteValues) {
  // Objects long enough for the scan to switch to its dense blocks and back.
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    const size_t alphabet = 2 + rng() % 6;
    Signatures signatures;
    for (int i = 0; i < 300; ++i) {
      std::string s(8 + rng() % 20, ' ');
      for (char& b : s) b = static_cast<char>('a' + rng() % alphabet);
      signatures.push_back(s);
    }
    std::string object(30000 + rng() % 20000, ' ');
    for (char& b : object) b = static_cast<char>('a' + rng() % alphabet);
    // Random stretches of other bytes, where the scan turns sparse again.
    for (size_t at = rng() % 5000; at + 6000 < object.size(); at += 9000 + rng() % 9000)
      for (size_t i = 0; i < 6000; ++i) object[at + i] = static_cast<char>(rng());
    Answer(signatures, object);
    if (::testing::Test::HasFailure()) FAIL() << "round " << round;
  }
}

}  // namespace
}  // namespace scanner
