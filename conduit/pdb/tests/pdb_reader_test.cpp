// The database file reader: sound files, chained record lists, and refusal of every unsound layout.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

#include "conduit/pdb/PdbDatabase.h"
#include "conduit/pdb/PdbImage.h"
#include "conduit/pdb/PdbLayout.h"
#include "conduit/pdb/tests/HotSyncFixture.h"
#include "platform/testing/TempFolder.h"

namespace conduit {
namespace {

using testing::Bytes;
using testing::MakeDatabase;

constexpr size_t kEntry0 = 78;  // the first record entry of the first list

// Sample: "Sample" with an app-info block "APP", a sort-info block "SO" and
// records "r0", "rec1", "r2" with attributes 0x40, 0x05, 0x9F.
std::vector<uint8_t> Sample() {
  PdbDatabase db = MakeDatabase("Sample", {"r0", "rec1", "r2"}, {0x40, 0x05, 0x9F});
  db.hasAppInfo = true;
  db.appInfo = Bytes("APP");
  db.hasSortInfo = true;
  db.sortInfo = Bytes("SO");
  return SerializePdb(db);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  WriteBigEndian32(&bytes[at], value);
}

uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
  return ReadBigEndian32(&bytes[at]);
}

TEST(PdbReader, ReadsHeaderBlocksAndRecordsWithTheirLengthsAndAttributes) {
  PdbImage image;
  ASSERT_EQ(ParsePdbImage(Sample(), image), 0);
  EXPECT_EQ(image.Name(), "Sample");
  EXPECT_EQ(image.listCount, 1u);
  EXPECT_TRUE(image.hasAppInfo);
  EXPECT_EQ(image.appInfoLength, 3);
  EXPECT_EQ(image.appInfo, Bytes("APP"));
  EXPECT_TRUE(image.hasSortInfo);
  EXPECT_EQ(image.sortInfoLength, 2);
  ASSERT_EQ(image.records.size(), 3u);
  EXPECT_EQ(image.records[1].length, 4u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.records[1].data), 4), "rec1");
  EXPECT_EQ(image.records[1].attributes, 0x05);
  EXPECT_EQ(image.records[1].UniqueId(), 0x101u);
  // The last record runs to the end of the file.
  EXPECT_EQ(image.records[2].length, 2u);
  EXPECT_EQ(image.fileSize, Sample().size());
}

TEST(PdbReader, FollowsNextListOffsetsAndFindsRecordsPerList) {
  // Two lists: the first with one entry, pointing on to a second with two.
  std::vector<uint8_t> f(72 + 6 + 8 + 6 + 16 + 3, 0);
  std::copy_n("Lists", 5, f.begin());
  const size_t second = 72 + 6 + 8;
  const size_t data = second + 6 + 16;
  Put32(f, 72, second);
  f[77] = 1;
  Put32(f, 78, data);
  f[second + 5] = 2;
  Put32(f, second + 6, data + 1);
  Put32(f, second + 14, data + 2);
  f[data] = 'a';
  f[data + 1] = 'b';
  f[data + 2] = 'c';
  PdbImage image;
  ASSERT_EQ(ParsePdbImage(f, image), 0);
  EXPECT_EQ(image.listCount, 2u);
  ASSERT_EQ(image.records.size(), 3u);
  EXPECT_EQ(image.records[0].listIndex, 0u);
  EXPECT_EQ(image.records[2].listIndex, 1u);
  const PdbRecord* r = FindRecord(image, 1, 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->data[0], 'c');
  EXPECT_EQ(FindRecord(image, 0, 1), nullptr);
  EXPECT_EQ(FindRecord(image, 2, 0), nullptr);

  // The general reader takes every list's records as one.
  PdbDatabase db;
  ASSERT_EQ(ParsePdbDatabase(f, db), 0);
  EXPECT_EQ(db.records.size(), 3u);
}

TEST(PdbReader, ARecordOfExactlyTheBufferSizeIsReadAndALongerOneRefused) {
  PdbImage image;
  ASSERT_EQ(ParsePdbImage(SerializePdb(MakeDatabase("Big", {std::string(1024, 'x')})), image), 0);
  EXPECT_EQ(image.records[0].length, 1024u);
  EXPECT_EQ(ParsePdbImage(SerializePdb(MakeDatabase("Big", {std::string(1025, 'x')})), image),
            kPdbRecordTooLong);
  EXPECT_TRUE(image.records.empty());
  // The general reader, which feeds the handheld, keeps longer records.
  PdbDatabase db;
  EXPECT_EQ(ParsePdbDatabase(SerializePdb(MakeDatabase("Big", {std::string(1025, 'x')})), db), 0);
}

TEST(PdbReader, ANameFillingAllThirtyTwoBytesIsTakenWhole) {
  std::vector<uint8_t> f = Sample();
  std::fill_n(f.begin(), 32, 'N');
  PdbImage image;
  ASSERT_EQ(ParsePdbImage(f, image), 0);
  EXPECT_EQ(image.Name(), std::string(32, 'N'));
}

TEST(PdbReader, ABlockWithoutAnOffsetIsAbsentAndOneAtTheEndIsEmpty) {
  PdbDatabase db = MakeDatabase("Blocks", {});
  db.hasAppInfo = true;
  db.appInfo = Bytes("only");
  PdbImage image;
  ASSERT_EQ(ParsePdbImage(SerializePdb(db), image), 0);
  EXPECT_TRUE(image.hasAppInfo);
  EXPECT_EQ(image.appInfo, Bytes("only"));
  EXPECT_FALSE(image.hasSortInfo);
  EXPECT_EQ(image.sortInfoLength, 0);
}

// One unsound layout, made by patching a sound file.
struct Unsound {
  const char* what;
  void (*patch)(std::vector<uint8_t>&);
  int expected;
};

void PrintTo(const Unsound& unsound, std::ostream* os) {
  *os << unsound.what;
}

class PdbReaderRefuses : public ::testing::TestWithParam<Unsound> {};

TEST_P(PdbReaderRefuses, TheFileAndLeavesTheImageEmpty) {
  std::vector<uint8_t> f = Sample();
  GetParam().patch(f);
  PdbImage image;
  image.listCount = 9;
  EXPECT_EQ(ParsePdbImage(f, image), GetParam().expected) << GetParam().what;
  EXPECT_TRUE(image.records.empty());
  EXPECT_EQ(image.listCount, 0u);
  EXPECT_FALSE(image.hasAppInfo);
  PdbDatabase db;
  EXPECT_NE(ParsePdbDatabase(f, db), 0) << GetParam().what;
}

const Unsound kUnsound[] = {
    {"shorter than a header", [](auto& f) { f.resize(40); }, kPdbTruncated},
    {"no list header", [](auto& f) { f.resize(75); }, kPdbTruncated},
    {"entries past the end", [](auto& f) { f[77] = 200; }, kPdbTruncated},
    {"app-info beyond the end", [](auto& f) { Put32(f, 52, 0x7FFFFFF0); }, kPdbBadOffset},
    {"sort-info beyond the end", [](auto& f) { Put32(f, 56, f.size() + 1); }, kPdbBadOffset},
    {"record beyond the end",
     [](auto& f) { Put32(f, kEntry0 + 16, static_cast<uint32_t>(f.size() + 1)); }, kPdbBadOffset},
    {"record offset at the top", [](auto& f) { Put32(f, kEntry0 + 16, 0xFFFFFFFF); },
     kPdbBadOffset},
    {"record inside the header",
     [](auto& f) {
       Put32(f, 52, 0);
       Put32(f, 56, 0);
       Put32(f, kEntry0, 10);
     },
     kPdbBadOffset},
    {"record inside the list",
     [](auto& f) {
       Put32(f, 52, 0);
       Put32(f, 56, 0);
       Put32(f, kEntry0, 80);
     },
     kPdbBadOffset},
    {"descending records",
     [](auto& f) {
       const uint32_t first = Get32(f, kEntry0);
       Put32(f, kEntry0, Get32(f, kEntry0 + 8));
       Put32(f, kEntry0 + 8, first);
     },
     kPdbBadOffset},
    {"records overlapping the sort-info", [](auto& f) { Put32(f, kEntry0, Get32(f, 56) - 1); },
     kPdbBadOffset},
    {"app-info after the records", [](auto& f) { Put32(f, 52, f.size() - 1); }, kPdbBadOffset},
    {"list looping to itself", [](auto& f) { Put32(f, 72, 72); }, kPdbListLoop},
    {"list leading into its own entries", [](auto& f) { Put32(f, 72, 80); }, kPdbListLoop},
    {"next list beyond the end", [](auto& f) { Put32(f, 72, f.size() + 100); }, kPdbTruncated},
};

INSTANTIATE_TEST_SUITE_P(Layouts, PdbReaderRefuses, ::testing::ValuesIn(kUnsound),
                         [](const ::testing::TestParamInfo<Unsound>& info) {
                           std::string name;
                           for (const char* c = info.param.what; *c; ++c)
                             name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                           return name;
                         });

TEST(PdbReader, RefusesBlocksThatDoNotFitSixteenBits) {
  PdbDatabase db = MakeDatabase("Big", {});
  db.hasAppInfo = true;
  db.appInfo.assign(0x10000, 1);
  PdbImage image;
  EXPECT_EQ(ParsePdbImage(SerializePdb(db), image), kPdbBlockTooLong);
  db.appInfo.resize(0xFFFF);
  EXPECT_EQ(ParsePdbImage(SerializePdb(db), image), 0);
  EXPECT_EQ(image.appInfoLength, 0xFFFF);
}

TEST(PdbReader, RefusesMoreRecordsThanAHandheldHolds) {
  std::vector<uint8_t> f(72 + 6 + 8 * 0xFFFF + 6 + 8, 0);
  // Two lists that together hold 65536 entries: refused before any record
  // is looked at.
  f[76] = 0xFF;
  f[77] = 0xFF;
  Put32(f, 72, 72 + 6 + 8 * 0xFFFF);
  f[72 + 6 + 8 * 0xFFFF + 5] = 1;
  PdbImage image;
  EXPECT_EQ(ParsePdbImage(f, image), kPdbTooManyRecords);
}

TEST(PdbReader, ReadsFromADesktopPathAndTellsAMissingFile) {
  platform::testing::TempFolder home("qm-pdbread");
  ::setenv("QM_DRIVE_C", home.MakeFolder("drive_c").c_str(), 1);
  const auto bytes = Sample();
  home.Write("drive_c/ZEPP/LastUpdate/ZEPDB.pdb", std::span<const uint8_t>(bytes));
  PdbImage image;
  ASSERT_EQ(ReadPdbImage("C:\\ZEPP\\LastUpdate\\ZEPDB.pdb", image), 0);
  EXPECT_EQ(image.records.size(), 3u);
  EXPECT_EQ(ReadPdbImage("C:\\ZEPP\\LastUpdate\\ZEPVE.pdb", image), 2);
  EXPECT_EQ(ReadPdbImage(home.Path("drive_c/ZEPP/LastUpdate/ZEPDB.pdb"), image), 0);
  EXPECT_STREQ(DescribePdbResult(kPdbListLoop), "a record list does not lead forward to the next");
}

TEST(PdbDatabaseForm, WritesWhatItReadsAndHandsOutFreeIds) {
  PdbDatabase db = MakeDatabase("Round", {"a", "", "ccc"}, {1, 2, 3});
  db.SetType("DATA");
  db.SetCreator("QmZp");
  db.hasSortInfo = true;
  PdbDatabase back;
  ASSERT_EQ(ParsePdbDatabase(SerializePdb(db), back), 0);
  EXPECT_EQ(back.Name(), "Round");
  EXPECT_EQ(back.Type(), "DATA");
  EXPECT_EQ(back.Creator(), "QmZp");
  EXPECT_FALSE(back.hasAppInfo);
  EXPECT_TRUE(back.hasSortInfo);
  EXPECT_TRUE(back.sortInfo.empty());
  ASSERT_EQ(back.records.size(), 3u);
  EXPECT_TRUE(back.records[1].data.empty());
  EXPECT_EQ(back.records[2].data, Bytes("ccc"));
  EXPECT_EQ(back.records[2].attributes, 3);
  EXPECT_EQ(back.records[2].uniqueId, 0x102u);
  EXPECT_EQ(back.NextUniqueId(), 0x103u);
  back.records[2].uniqueId = 0xFFFFFF;
  back.records[0].uniqueId = 1;
  EXPECT_EQ(back.NextUniqueId(), 2u);
  // A name is cut to 31 bytes so that it keeps its terminator.
  db.SetName(std::string(40, 'n'));
  EXPECT_EQ(db.Name(), std::string(31, 'n'));
}

}  // namespace
}  // namespace conduit
