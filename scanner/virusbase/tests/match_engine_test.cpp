// The engine choice, the index's life with the loader, and FindVirus from several threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/LoadBase.h"
#include "scanner/virusbase/SignatureIndex.h"
#include "scanner/virusbase/tests/ListBase.h"
#include "scanner/virusbase/tests/TestBase.h"

// Counts this thread's allocations while `counting` is set: the whole test
// program allocates through here.
namespace {
thread_local bool counting = false;
thread_local size_t allocations = 0;

// Release: out of line, so that the compiler does not take the free of a
// block from operator new for a mismatch.
[[gnu::noinline]] void Release(void* p) noexcept {
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Release(p);
}

namespace scanner {
namespace {

using testing::BaseBytes;
using testing::Bytes;
using testing::ListBase;

const VirusRecord* Find(const VirusBase& base, std::string_view object) {
  return FindVirus(base, Bytes(object), static_cast<uint32_t>(object.size()));
}

TEST(MatchEngine, NamesParseBothWaysAndNothingElse) {
  EXPECT_EQ(ParseMatchEngine("index"), MatchEngine::kIndex);
  EXPECT_EQ(ParseMatchEngine("reference"), MatchEngine::kReference);
  EXPECT_EQ(ParseMatchEngine("Index"), std::nullopt);
  EXPECT_EQ(ParseMatchEngine(""), std::nullopt);
  EXPECT_EQ(MatchEngineName(MatchEngine::kReference), "reference");
  EXPECT_EQ(ParseMatchEngine(MatchEngineName(DefaultMatchEngine())), DefaultMatchEngine());
}

TEST(MatchEngine, IndexCoversEveryFileLoadedIntoOneBase) {
  VirusBase base;
  base.engine = MatchEngine::kIndex;
  ASSERT_EQ(LoadBase(base, BaseBytes(1).Record(u"First", "first-file-signature").Signed()), 0);
  ASSERT_EQ(LoadBase(base, BaseBytes(1).Record(u"Second", "second-file-sig").Signed()), 0);
  ASSERT_NE(base.index, nullptr);
  EXPECT_EQ(base.index->head(), base.head);
  EXPECT_EQ(Find(base, "..first-file-signature..")->nameText(), u"First");
  EXPECT_EQ(Find(base, "..second-file-sig..")->nameText(), u"Second");
  // The file loaded last heads the list, so its record wins.
  EXPECT_EQ(Find(base, "first-file-signature second-file-sig")->nameText(), u"Second");
  EXPECT_EQ(base.virusCount, 2);
}

TEST(MatchEngine, RecordsReadBeforeAFailureAreIndexed) {
  VirusBase base;
  base.engine = MatchEngine::kIndex;
  const auto file = BaseBytes(5).Record(u"A", "aaaa-signature").Record(u"B", "b").FileEnd();
  EXPECT_EQ(LoadBase(base, file.Signed()), kLoadNotABase);
  ASSERT_NE(base.index, nullptr);
  EXPECT_EQ(Find(base, "..aaaa-signature")->nameText(), u"B");  // one byte: any object
  EXPECT_EQ(Find(base, ""), nullptr);
}

TEST(MatchEngine, ListChangedAfterTheIndexIsSearchedByTheReference) {
  VirusBase base;
  base.engine = MatchEngine::kIndex;
  ASSERT_EQ(LoadBase(base, BaseBytes(1).Record(u"Old", "old-signature").Signed()), 0);
  auto added = std::make_unique<VirusRecord>();
  added->signatureLength = 9;
  added->signature = std::make_unique<uint8_t[]>(9);
  std::copy_n("new-sig!!", 9, added->signature.get());
  const VirusRecord* raw = added.get();
  base.PushFront(std::move(added));
  EXPECT_EQ(Find(base, "..new-sig!!.old-signature"), raw);
  ASSERT_EQ(BuildIndex(base), 0u);
  EXPECT_EQ(base.index->head(), raw);
  EXPECT_EQ(Find(base, "..new-sig!!.old-signature"), raw);
}

TEST(MatchEngine, ReferenceEngineBuildsNoIndexAndFindsTheSame) {
  VirusBase base;
  base.engine = MatchEngine::kReference;
  const auto file = BaseBytes(2).Record(u"A", "alpha-sig").Record(u"B", "beta-sig");
  ASSERT_EQ(LoadBase(base, file.Signed()), 0);
  EXPECT_EQ(base.index, nullptr);
  EXPECT_EQ(Find(base, "alpha-sig beta-sig")->nameText(), u"B");
  // Switching to the index takes a build; until then the reference answers.
  base.engine = MatchEngine::kIndex;
  EXPECT_EQ(Find(base, "alpha-sig")->nameText(), u"A");
  ASSERT_EQ(BuildIndex(base), 0u);
  EXPECT_NE(base.index, nullptr);
  EXPECT_EQ(Find(base, "alpha-sig")->nameText(), u"A");
}

// Workload: a base of signatures of 2 to 40 bytes, objects of which half hold
// one of them, and the reference's answers.
struct Workload {
  VirusBase base;
  std::vector<std::string> objects;
  std::vector<const VirusRecord*> expected;
};

void MakeWorkload(Workload& w) {
  w.base.engine = MatchEngine::kIndex;
  std::mt19937 rng(99);
  std::vector<std::optional<std::string>> signatures;
  for (int i = 0; i < 500; ++i) {
    std::string s(2 + rng() % 39, ' ');
    for (char& b : s) b = static_cast<char>(rng());
    signatures.push_back(s);
  }
  ListBase(w.base, signatures);
  for (int i = 0; i < 64; ++i) {
    std::string object(1000 + rng() % 3000, ' ');
    for (char& b : object) b = static_cast<char>(rng());
    if (i % 2) {
      const std::string& s = *signatures[rng() % signatures.size()];
      object.replace(rng() % (object.size() - s.size()), s.size(), s);
    }
    w.objects.push_back(object);
    w.expected.push_back(
        FindVirusByReference(w.base, Bytes(object), static_cast<uint32_t>(object.size())));
  }
  ASSERT_EQ(BuildIndex(w.base), 0u);
}

TEST(MatchEngine, SeveralThreadsShareOneIndex) {
  Workload w;
  MakeWorkload(w);
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 50; ++round) {
        for (size_t i = (t + round) % w.objects.size(), n = 0; n < w.objects.size();
             ++n, i = (i + 1) % w.objects.size()) {
          if (Find(w.base, w.objects[i]) != w.expected[i]) ++wrong;
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(MatchEngine, ScanningAllocatesNothing) {
  Workload w;
  MakeWorkload(w);
  size_t found = 0;
  allocations = 0;
  counting = true;
  for (const std::string& object : w.objects) found += Find(w.base, object) != nullptr;
  counting = false;
  EXPECT_EQ(allocations, 0u);
  EXPECT_GE(found, w.objects.size() / 2);
  // The counter does count: building allocates.
  counting = true;
  w.base.index.reset();
  BuildIndex(w.base);
  counting = false;
  EXPECT_GT(allocations, 0u);
}

}  // namespace
}  // namespace scanner
