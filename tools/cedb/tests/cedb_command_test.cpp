// cedb's commands end to end, their messages and exit status, the record
// text, and a cedb child process sharing the store with this one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <sstream>

#include "platform/Errors.h"
#include "platform/ObjectStore.h"
#include "platform/testing/TempFolder.h"
#include "tools/cedb/CedbCommand.h"
#include "tools/cedb/RecordText.h"

namespace cedb {
namespace {

using namespace platform;

class Cedb : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QM_HOME", temp_.path().c_str(), 1);
    setenv("QM_OBJECT_STORE", temp_.Path("objects.db").c_str(), 1);
  }

  // Run: cedb in this process; out_ and err_ get what it printed.
  int Run(std::initializer_list<std::string> args) {
    std::vector<const char*> argv = {"cedb"};
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    int status = RunCedb(static_cast<int>(argv.size()), argv.data(), out, err);
    out_ = out.str();
    err_ = err.str();
    return status;
  }

  platform::testing::TempFolder temp_{"cedb-tool"};
  std::string out_;
  std::string err_;
};

uint32_t HexOf(const std::string& printed) {
  return static_cast<uint32_t>(std::stoul(printed, nullptr, 16));
}

std::string Hex(uint32_t value) {
  std::ostringstream text;
  text << std::hex << std::uppercase << value;
  return text.str();
}

TEST_F(Cedb, CreateAddListDumpAndDeleteARecord) {
  ASSERT_EQ(Run({"create", "Contacts", "--type", "0x10"}), 0) << err_;
  const CEOID database = HexOf(out_);
  EXPECT_EQ(FindDatabase(u"contacts"), database);
  EXPECT_EQ(out_, Hex(database) + "\n");

  std::string payload = temp_.Write("virus.bin", std::string_view("Hello"));
  ASSERT_EQ(Run({"add", "CONTACTS", "1:i4=-42", "2:text=Z\xC3\xBCrich", "3:blob=@" + payload}), 0)
      << err_;
  const CEOID record = HexOf(out_);
  EXPECT_EQ(out_, Hex(record) + "\n");

  ASSERT_EQ(Run({"list", "contacts"}), 0) << err_;
  EXPECT_EQ(out_, "Contacts (id " + Hex(database) + ", type 16, 1 record)\n" + "Record " +
                      Hex(record) + " (3 properties, 67 bytes)\n" +
                      "  1:i4=-42\n"
                      "  2:text=Z\xC3\xBCrich\n"
                      "  3:blob=[5 bytes] 48 65 6C 6C 6F\n");

  ASSERT_EQ(Run({"list"}), 0) << err_;
  std::istringstream table(out_);
  std::string heading, id, type, records, bytes, name;
  std::getline(table, heading);
  table >> id >> type >> records >> bytes >> name;
  EXPECT_EQ(id + " " + type + " " + records + " " + bytes + " " + name,
            Hex(database) + " 16 1 67 Contacts");

  // The dump is exactly the buffer the scanner reads.
  std::string dumpPath = temp_.Path("record.bin");
  ASSERT_EQ(Run({"dump", "Contacts", "0x" + Hex(record), dumpPath}), 0) << err_;
  Database db;
  ASSERT_EQ(db.Open(database, 0), ERROR_SUCCESS);
  std::vector<uint8_t> buffer;
  uint16_t count = 0;
  uint32_t size = 0;
  ASSERT_EQ(db.ReadRecord(buffer, count, size), record);
  EXPECT_EQ(platform::testing::TempFolder::Read(dumpPath),
            std::string(reinterpret_cast<const char*>(buffer.data()), size));

  ASSERT_EQ(Run({"delete", "Contacts", Hex(record)}), 0) << err_;
  EXPECT_EQ(db.ReadRecord(buffer, count, size), 0u);
  EXPECT_EQ(Run({"delete", "Contacts", Hex(record)}), 1);
  EXPECT_EQ(err_, "cedb: no record " + Hex(record) + " in Contacts\n");

  ASSERT_EQ(Run({"delete", "contacts"}), 0) << err_;
  EXPECT_EQ(FindDatabase(u"Contacts"), 0u);
}

TEST_F(Cedb, StoreAndUsageErrorsExitWithOneAndAMessage) {
  EXPECT_EQ(Run({"add", "Contacts", "1:i4=1"}), 1);
  EXPECT_EQ(err_, "cedb: no database named Contacts\n");
  EXPECT_EQ(Run({"list", "Contacts"}), 1);
  EXPECT_EQ(err_, "cedb: no database named Contacts\n");
  EXPECT_EQ(Run({"delete", "Contacts"}), 1);
  EXPECT_EQ(err_, "cedb: no database named Contacts\n");

  ASSERT_EQ(Run({"create", "Contacts"}), 0);
  EXPECT_EQ(Run({"create", "CONTACTS"}), 1);
  EXPECT_EQ(err_, "cedb: a database named CONTACTS already exists\n");
  EXPECT_EQ(Run({"create", std::string(33, 'x')}), 1);
  EXPECT_EQ(err_, "cedb: a database name has 1 to 32 characters\n");
  EXPECT_EQ(Run({"create", "Other", "--type", "-1"}), 1);
  EXPECT_NE(err_.find("--type"), std::string::npos);

  // A bad PROP writes nothing, even when the others are good.
  EXPECT_EQ(Run({"add", "Contacts", "1:i4=1", "2:i2=99999"}), 1);
  EXPECT_EQ(err_.rfind("cedb: bad property \"2:i2=99999\": ", 0), 0u) << err_;
  DatabaseInfo info;
  ASSERT_EQ(GetDatabaseInfo(FindDatabase(u"Contacts"), info), ERROR_SUCCESS);
  EXPECT_EQ(info.records, 0u);

  EXPECT_EQ(Run({"dump", "Contacts", "1A2B", temp_.Path("x.bin")}), 1);
  EXPECT_EQ(err_, "cedb: no record 1A2B in Contacts\n");
  EXPECT_EQ(Run({"dump", "Contacts", "zz", temp_.Path("x.bin")}), 1);
  EXPECT_NE(err_.find("not a record identifier"), std::string::npos) << err_;
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Run({"add", "Contacts"}), 1);  // PROP is required
  EXPECT_EQ(Run({"frobnicate"}), 1);
  EXPECT_EQ(Run({"--help"}), 0);
}

TEST_F(Cedb, UnusableStoreIsReportedWithItsCode) {
  temp_.Write("objects.db", std::string(4096, 'J'));
  EXPECT_EQ(Run({"create", "Contacts"}), 1);
  EXPECT_NE(err_.find("(1011)"), std::string::npos) << err_;
  EXPECT_EQ(Run({"list"}), 1);
  EXPECT_NE(err_.find("(1011)"), std::string::npos) << err_;
}

TEST(RecordText, OffsetsOutsideTheBufferAreNotFollowed) {
  std::vector<uint8_t> buffer(48, 0);
  PropertyHeader text{MakePropId(1, CEVT_LPWSTR), 0, 0, 40, 0};  // no terminator before the end
  PropertyHeader blob{MakePropId(2, CEVT_BLOB), 0, 0, 9, 40};    // 40 + 9 > 48
  std::memcpy(buffer.data(), &text, 16);
  std::memcpy(buffer.data() + 16, &blob, 16);
  std::memset(buffer.data() + 40, 'A', 8);
  // The third header is the data itself: an unknown type; a fourth does not fit.
  EXPECT_EQ(DescribeRecord(buffer, 4),
            (std::vector<std::string>{"1:text=(damaged)", "2:blob=(damaged)", "0:?=(unknown type)",
                                      "(damaged)"}));
  PropertyHeader r8{MakePropId(3, CEVT_R8), 0, 0, 0, 0x3FF80000};
  std::memcpy(buffer.data(), &r8, 16);
  EXPECT_EQ(DescribeRecord(std::span(buffer.data(), 16), 1),
            (std::vector<std::string>{"3:r8=1.5"}));
}

// Two processes: the child cedb's writes reach this process's connection and
// this process's writes reach the child.
TEST_F(Cedb, ChildProcessSharesTheStore) {
  const char* bin = std::getenv("SUITE_BIN");
  ASSERT_NE(bin, nullptr) << "run through ctest, which sets SUITE_BIN";
  const std::string cedb = std::string(bin) + "/cedb";
  CEOID database = CreateDatabase(u"Shared", 0);
  ASSERT_NE(database, 0u);
  Database db;
  ASSERT_EQ(db.Open(database, CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  PropertyValue mine;
  mine.propid = MakePropId(1, CEVT_LPWSTR);
  mine.text = u"from the test";
  const CEOID first = db.WriteRecord(0, std::span(&mine, 1));
  ASSERT_NE(first, 0u);

  const std::string listed = temp_.Path("list.txt");
  ASSERT_EQ(std::system((cedb + " add shared 2:ui4=7 > " + temp_.Path("add.txt")).c_str()), 0);
  ASSERT_EQ(std::system((cedb + " list Shared > " + listed).c_str()), 0);

  std::vector<uint8_t> buffer;
  uint16_t count = 0;
  uint32_t size = 0;
  EXPECT_EQ(db.ReadRecord(buffer, count, size), first);
  const CEOID second = db.ReadRecord(buffer, count, size);
  EXPECT_EQ(second, HexOf(platform::testing::TempFolder::Read(temp_.Path("add.txt"))));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(DescribeRecord(std::span(buffer.data(), size), count),
            (std::vector<std::string>{"2:ui4=7"}));
  EXPECT_NE(platform::testing::TempFolder::Read(listed).find("  1:text=from the test\n"),
            std::string::npos);
}

}  // namespace
}  // namespace cedb
