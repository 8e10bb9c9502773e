// ReadHandheldBase: known viruses, the base stamp and the date text of the handheld's "ZEPDB".
#include <gtest/gtest.h>

#include <cstring>

#include "conduit/pdb/HandheldBase.h"
#include "conduit/pdb/PdbDatabase.h"
#include "conduit/pdb/tests/HotSyncFixture.h"

namespace conduit {
namespace {

using testing::MakeDatabase;

// Record0: a record 0 with a stamp and the three date numbers at 18, 20, 22.
std::string Record0(uint32_t stamp, int16_t at18, int16_t at20, int16_t at22) {
  std::vector<uint8_t> r(28, 0);
  WriteBigEndian32(&r[8], stamp);
  WriteBigEndian16(&r[18], static_cast<uint16_t>(at18));
  WriteBigEndian16(&r[20], static_cast<uint16_t>(at20));
  WriteBigEndian16(&r[22], static_cast<uint16_t>(at22));
  return std::string(r.begin(), r.end());
}

using HandheldBaseTest = testing::HotSyncSession;

TEST_F(HandheldBaseTest, CountsVirusRecordsAfterRecordZeroAndReadsStampAndDate) {
  const std::string virus = std::string(1, '\x01') + "Virus";
  PutOnHandheld(MakeDatabase(
      "ZEPDB", {Record0(0x01020304, 12, 2004, 25), virus, "\x02other", virus, "", virus}));
  uint32_t stamp = 0;
  char date[kDateTextSize];
  std::memset(date, 'x', sizeof date);
  EXPECT_EQ(ReadHandheldBase(link_, stamp, date), 3);
  EXPECT_EQ(stamp, 0x01020304u);
  // Offsets 18, 22, 20 in that order.
  EXPECT_STREQ(date, "12 / 25 / 2004");
  // Without a text buffer only the count and the stamp.
  stamp = 0;
  EXPECT_EQ(ReadHandheldBase(link_, stamp, nullptr), 3);
  EXPECT_EQ(stamp, 0x01020304u);
}

TEST_F(HandheldBaseTest, DateNumbersArePrintedSignedAndFitTheBuffer) {
  PutOnHandheld(MakeDatabase("ZEPDB", {Record0(0xFFFFFFFF, -32768, -1, -32768)}));
  uint32_t stamp = 0;
  char date[kDateTextSize];
  EXPECT_EQ(ReadHandheldBase(link_, stamp, date), 0);
  EXPECT_EQ(stamp, 0xFFFFFFFFu);
  EXPECT_STREQ(date, "-32768 / -32768 / -1");
}

TEST_F(HandheldBaseTest, WithoutTheDatabaseNothingIsSet) {
  uint32_t stamp = 77;
  char date[kDateTextSize] = "untouched";
  EXPECT_EQ(ReadHandheldBase(link_, stamp, date), -1);
  EXPECT_EQ(stamp, 77u);
  EXPECT_STREQ(date, "untouched");
}

TEST_F(HandheldBaseTest, AnEmptyBaseHasStampZeroAndNoDateAndAShortRecordReadsZeros) {
  PutOnHandheld(MakeDatabase("ZEPDB", {}));
  uint32_t stamp = 77;
  char date[kDateTextSize] = "old";
  EXPECT_EQ(ReadHandheldBase(link_, stamp, date), 0);
  EXPECT_EQ(stamp, 0u);
  EXPECT_STREQ(date, "");

  // Record 0 of 10 bytes: the stamp's last two bytes and the date lie beyond
  // it, and read as zeros even after a longer record filled the buffer.
  PutOnHandheld(MakeDatabase(
      "ZEPDB", {std::string("\0\0\0\0\0\0\0\0\xAB\xCD", 10), std::string(100, '\x01')}));
  EXPECT_EQ(ReadHandheldBase(link_, stamp, date), 1);
  EXPECT_EQ(stamp, 0xABCD0000u);
  EXPECT_STREQ(date, "0 / 0 / 0");
}

TEST_F(HandheldBaseTest, TheDatabaseIsClosedAfterwards) {
  PutOnHandheld(MakeDatabase("ZEPDB", {Record0(1, 1, 1, 1)}));
  uint32_t stamp = 0;
  ASSERT_EQ(ReadHandheldBase(link_, stamp, nullptr), 0);
  SyncDbHandle db = 0;
  EXPECT_EQ(sync_.OpenDB("ZEPDB", 0, &db, 0xF0), 0);
  sync_.CloseDB(db);
}

}  // namespace
}  // namespace conduit
