// The PDB tool: virus base databases the conduit reads as meant, record specs, dumps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "conduit/pdb/HandheldBase.h"
#include "conduit/pdb/PdbImage.h"
#include "platform/testing/TempFolder.h"
#include "tools/qmpdb/PdbTool.h"

namespace qmpdb {
namespace {

using ::testing::HasSubstr;

TEST(PdbTool, AVirusBaseCarriesItsStampDateAndVirusesWhereTheConduitLooks) {
  BaseDate date;
  ASSERT_TRUE(ParseBaseDate("12/25/2004", date));
  const auto bytes =
      conduit::SerializePdb(VirusBaseDatabase("ZEPDB", 0x01020304, date, {"Liberty", "Phage"}));
  conduit::PdbImage image;
  ASSERT_EQ(conduit::ParsePdbImage(bytes, image), 0);
  EXPECT_EQ(image.Name(), "ZEPDB");
  ASSERT_EQ(image.records.size(), 3u);
  const conduit::PdbRecord* record0 = conduit::FindRecord(image, 0, 0);
  EXPECT_EQ(record0->length, 28u);
  EXPECT_EQ(conduit::BaseStamp(record0->data), 0x01020304u);
  // The dialog shows offsets 18, 22, 20 in that order.
  EXPECT_EQ(record0->data[19], 12);
  EXPECT_EQ(record0->data[23], 25);
  EXPECT_EQ((record0->data[20] << 8) | record0->data[21], 2004);
  EXPECT_EQ(image.records[1].data[0], 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.records[1].data) + 1), "Liberty");

  std::ostringstream dump;
  ASSERT_TRUE(Dump(bytes, dump));
  EXPECT_THAT(dump.str(), HasSubstr("virus base: stamp 16909060, date 12 / 25 / 2004, 2 known "
                                    "viruses\n"));
  EXPECT_THAT(dump.str(), HasSubstr("conduit reader: takes it\n"));
}

TEST(PdbTool, DatesAreThreeSignedSixteenBitNumbers) {
  BaseDate date;
  EXPECT_TRUE(ParseBaseDate(" -1 / 2 / 3 ", date));
  EXPECT_EQ(date.first, -1);
  EXPECT_EQ(date.third, 3);
  for (const char* bad : {"", "1/2", "1/2/3/4", "a/2/3", "1/2/70000", "1//3"})
    EXPECT_FALSE(ParseBaseDate(bad, date)) << bad;
}

TEST(PdbTool, RecordSpecsTakeAttributesAndBytesInThreeForms) {
  conduit::PdbDatabaseRecord record;
  std::string error;
  ASSERT_TRUE(ParseRecordSpec("0x9f:hex:01 ff,10", record, error)) << error;
  EXPECT_EQ(record.attributes, 0x9F);
  EXPECT_EQ(record.data, (std::vector<uint8_t>{1, 0xFF, 0x10}));
  ASSERT_TRUE(ParseRecordSpec("text:a:b", record, error)) << error;
  EXPECT_EQ(record.attributes, 0x40);
  EXPECT_EQ(record.data, (std::vector<uint8_t>{'a', ':', 'b'}));
  platform::testing::TempFolder folder("qm-qmpdb");
  const std::string file = folder.Write("bytes", "xyz");
  ASSERT_TRUE(ParseRecordSpec("5:file:" + file, record, error)) << error;
  EXPECT_EQ(record.attributes, 5);
  EXPECT_EQ(record.data.size(), 3u);

  EXPECT_FALSE(ParseRecordSpec("hex:abc", record, error));
  EXPECT_EQ(error, "an odd number of hex digits");
  EXPECT_FALSE(ParseRecordSpec("hex:zz", record, error));
  EXPECT_FALSE(ParseRecordSpec("300:text:x", record, error));
  EXPECT_FALSE(ParseRecordSpec("plain", record, error));
  EXPECT_FALSE(ParseRecordSpec("file:" + folder.Path("missing"), record, error));
}

TEST(PdbTool, TheDumpSaysWhyTheConduitWouldRefuseAFile) {
  conduit::PdbDatabase db;
  db.SetName("Long");
  db.records.push_back({0, 1, std::vector<uint8_t>(2000, 7)});
  std::ostringstream dump;
  ASSERT_TRUE(Dump(conduit::SerializePdb(db), dump));
  EXPECT_THAT(dump.str(), HasSubstr("2000 bytes  07 07"));
  EXPECT_THAT(dump.str(), HasSubstr("conduit reader: a record is longer than 1024 bytes\n"));
  std::ostringstream bad;
  EXPECT_FALSE(Dump({1, 2, 3}, bad));
  EXPECT_EQ(bad.str(), "not a database: the file ends inside its header or a record list\n");
}

}  // namespace
}  // namespace qmpdb
