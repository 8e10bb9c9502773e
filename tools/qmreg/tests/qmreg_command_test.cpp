// qmreg's commands: query, set, delete, export, import, their errors and exit status.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/RegKey.h"
#include "qmreg_test_support.h"
#include "tools/qmreg/RegImport.h"

namespace qmreg {
namespace {

using namespace platform;

class QmregSet : public testing::QmregTest {};
class QmregQuery : public testing::QmregTest {};
class QmregDelete : public testing::QmregTest {};
class QmregImport : public testing::QmregTest {};
class QmregProgram : public testing::QmregTest {};

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab\\Components\\31";

TEST_F(QmregSet, StoresEachTypeAsTyped) {
  ASSERT_EQ(Run({"set", kKey, "ZEPPDir", "--type", "sz", "C:\\Quillmark"}), 0) << err_;
  ASSERT_EQ(Run({"set", "HKLM\\SOFTWARE\\QuillmarkLab\\Components\\31", "SyncWaitTime", "--type",
                 "dword", "0x10"}),
            0);
  ASSERT_EQ(Run({"set", kKey, "Bin", "--type", "binary", "0a,FF,10"}), 0) << err_;
  ASSERT_EQ(Run({"set", kKey, "Exp", "--type", "expand_sz", "%TEMP%"}), 0);
  ASSERT_EQ(Run({"set", kKey, "Multi", "--type", "multi_sz", "a", "b"}), 0);
  ASSERT_EQ(Run({"set", kKey, "Bare", "--no-terminator", "abc"}), 0);
  RegKey key;
  ASSERT_EQ(key.Open(RegRootKey(RegStore::Desktop, HKEY_LOCAL_MACHINE),
                     "SOFTWARE\\QuillmarkLab\\Components\\31"),
            ERROR_SUCCESS);
  RegValue v;
  ASSERT_EQ(key.QueryValue("ZEPPDir", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.type, REG_SZ);
  EXPECT_EQ(v.data.size(), 13u);  // with the terminator
  EXPECT_EQ(key.DwordOr("SyncWaitTime", 0), 16u);
  ASSERT_EQ(key.QueryValue("Bin", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.data, (std::vector<uint8_t>{0x0A, 0xFF, 0x10}));
  ASSERT_EQ(key.QueryValue("Exp", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.type, REG_EXPAND_SZ);
  std::vector<std::string> items;
  ASSERT_EQ(key.QueryMultiString("Multi", &items), ERROR_SUCCESS);
  EXPECT_EQ(items, (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(key.QueryValue("Bare", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.data.size(), 3u);
}

TEST_F(QmregSet, DeviceStoreGetsUtf16AndStaysSeparate) {
  ASSERT_EQ(Run({"--device", "set", "HKCU\\Software\\Quillmark Lab\\ZEP PPC", "Mask", "*.exe"}), 0);
  RegKey key;
  ASSERT_EQ(
      key.Open(RegRootKey(RegStore::Device, HKEY_CURRENT_USER), "Software\\Quillmark Lab\\ZEP PPC"),
      ERROR_SUCCESS);
  RegValue v;
  ASSERT_EQ(key.QueryValue("Mask", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.data.size(), 12u);
  EXPECT_EQ(Run({"query", "HKCU\\Software\\Quillmark Lab\\ZEP PPC"}), 1);
  EXPECT_EQ(Run({"--device", "query", "HKCU\\Software\\Quillmark Lab\\ZEP PPC", "Mask"}), 0);
  EXPECT_EQ(out_, "*.exe\n");
}

TEST_F(QmregSet, RefusesBadData) {
  EXPECT_EQ(Run({"set", kKey, "N", "--type", "dword", "4294967296"}), 1);
  EXPECT_NE(err_.find("dword"), std::string::npos);
  EXPECT_EQ(Run({"set", kKey, "N", "--type", "dword", "12x"}), 1);
  EXPECT_EQ(Run({"set", kKey, "B", "--type", "binary", "0g"}), 1);
  EXPECT_EQ(Run({"set", kKey, "B", "--type", "binary", "abc"}), 1);
  EXPECT_EQ(Run({"set", kKey, "S", "--type", "sz"}), 1);
  EXPECT_EQ(Run({"set", kKey, "S", "--type", "qword", "1"}), 1);
  EXPECT_EQ(Run({"set", kKey, "M", "--type", "multi_sz", "a", "", "b"}), 1);
  EXPECT_EQ(Run({"set", "HKEY_USERS\\x", "S", "v"}), 1);
  EXPECT_NE(err_.find("unknown root key"), std::string::npos);
  EXPECT_EQ(Run({"--device", "--desktop", "query", kKey}), 1);
}

TEST_F(QmregQuery, ListsValuesThenSubKeys) {
  ASSERT_EQ(Run({"set", kKey, "SyncWaitTime", "--type", "dword", "5"}), 0);
  ASSERT_EQ(Run({"set", kKey, "", "def"}), 0);
  ASSERT_EQ(Run({"set", kKey, "Bin", "--type", "binary", "01 02"}), 0);
  ASSERT_EQ(Run({"set", kKey + "\\Tasks", "x", "y"}), 0);
  ASSERT_EQ(Run({"query", kKey}), 0) << err_;
  EXPECT_EQ(out_, kKey + "\n" +
                      "    SyncWaitTime    REG_DWORD    5\n"
                      "    (Default)    REG_SZ    def\n"
                      "    Bin    REG_BINARY    01 02\n" +
                      kKey + "\\Tasks\n");
  ASSERT_EQ(Run({"query", kKey, "syncwaittime"}), 0);
  EXPECT_EQ(out_, "5\n");
}

TEST_F(QmregQuery, MissingKeyOrValueFailsWithReason) {
  EXPECT_EQ(Run({"query", "HKLM\\Nothing"}), 1);
  EXPECT_EQ(err_, "qmreg: HKLM\\Nothing: The system cannot find the file specified. (2)\n");
  ASSERT_EQ(Run({"set", kKey, "a", "b"}), 0);
  EXPECT_EQ(Run({"query", kKey, "missing"}), 1);
  EXPECT_NE(err_.find("(2)"), std::string::npos);
  EXPECT_EQ(Run({}), 1);  // a command is required
}

TEST_F(QmregDelete, RemovesValueOrWholeKey) {
  ASSERT_EQ(Run({"set", kKey + "\\Tasks", "x", "y"}), 0);
  ASSERT_EQ(Run({"set", kKey, "a", "b"}), 0);
  ASSERT_EQ(Run({"delete", kKey, "A"}), 0) << err_;
  EXPECT_EQ(Run({"query", kKey, "a"}), 1);
  EXPECT_EQ(Run({"delete", kKey, "a"}), 1);
  ASSERT_EQ(Run({"delete", "hklm\\software\\quillmarklab"}), 0);
  EXPECT_EQ(Run({"query", kKey + "\\Tasks"}), 1);
  EXPECT_EQ(Run({"delete", "HKLM"}), 1);
  EXPECT_NE(err_.find("root key"), std::string::npos);
}

TEST_F(QmregImport, BadFileNamesTheLineAndChangesNothing) {
  ASSERT_EQ(Run({"set", kKey, "Keep", "old"}), 0);
  ASSERT_EQ(Run({"export"}), 0);
  std::string before = out_;
  std::string file = WriteText("bad.reg",
                               "REGEDIT4\n\n"
                               "[-" +
                                   kKey +
                                   "]\n"
                                   "[HKLM\\SOFTWARE\\New]\n"
                                   "\"a\"=\"b\"\n"
                                   "\"c\"=dword:xyz\n");
  EXPECT_EQ(Run({"import", file}), 1);
  EXPECT_NE(err_.find("bad.reg: line 6: dword"), std::string::npos) << err_;
  EXPECT_NE(err_.find("nothing was imported"), std::string::npos);
  ASSERT_EQ(Run({"export"}), 0);
  EXPECT_EQ(out_, before);
}

TEST_F(QmregImport, FailureWhileApplyingRollsEverythingBack) {
  ASSERT_EQ(Run({"set", kKey, "Keep", "old"}), 0);
  RegFile file;
  RegFileKey removal;
  removal.root = HKEY_LOCAL_MACHINE;
  removal.subPath = "SOFTWARE\\QuillmarkLab";
  removal.remove = true;
  removal.line = 2;
  RegFileKey bad;
  bad.root = HKEY_LOCAL_MACHINE;
  bad.subPath = "SOFTWARE\\New";
  bad.line = 3;
  bad.values.push_back({"fine", false, REG_DWORD, {1, 0, 0, 0}, 4});
  bad.values.push_back(
      {"huge", false, REG_BINARY, std::vector<uint8_t>(kRegMaxValueDataSize + 1), 5});
  file.keys = {removal, bad};
  RegFileError error;
  EXPECT_FALSE(ApplyRegFile(RegStore::Desktop, file, &error));
  EXPECT_EQ(error.line, 5);
  EXPECT_NE(error.message.find("(87)"), std::string::npos);
  ASSERT_EQ(Run({"query", kKey, "Keep"}), 0);
  EXPECT_EQ(out_, "old\n");
  EXPECT_EQ(Run({"query", "HKLM\\SOFTWARE\\New"}), 1);
}

TEST_F(QmregImport, RemovalsAndUnreadableFile) {
  ASSERT_EQ(Run({"set", kKey, "a", "1"}), 0);
  ASSERT_EQ(Run({"set", kKey, "b", "2"}), 0);
  ASSERT_EQ(Run({"set", "HKLM\\SOFTWARE\\Old\\Sub", "x", "y"}), 0);
  std::string file = WriteText("rm.reg", "REGEDIT4\n\n[" + kKey +
                                             "]\n\"a\"=-\n\"never\"=-\n\n"
                                             "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\n"
                                             "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\NeverThere]\n");
  ASSERT_EQ(Run({"import", file}), 0) << err_;
  EXPECT_EQ(Run({"query", kKey, "a"}), 1);
  EXPECT_EQ(Run({"query", kKey, "b"}), 0);
  EXPECT_EQ(Run({"query", "HKLM\\SOFTWARE\\Old"}), 1);
  EXPECT_EQ(Run({"import", folder_ + "/none.reg"}), 1);
  EXPECT_NE(err_.find("cannot read"), std::string::npos);
}

TEST_F(QmregProgram, ExportToFileAndExitStatusOfTheRealProgram) {
  const char* bin = std::getenv("SUITE_BIN");
  ASSERT_NE(bin, nullptr) << "run through ctest, which sets SUITE_BIN";
  std::string env = "QM_DESKTOP_REGISTRY='" + folder_ + "/desktop.db' ";
  std::string qmreg = env + "'" + std::string(bin) + "/qmreg' ";
  std::string demo = WriteText("demo.reg",
                               "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab\\"
                               "Components\\31]\n\"SyncWaitTime\"=dword:00000005\n"
                               "\"ZEPPDir\"=\"C:\\\\Program Files\\\\Quillmark Lab\\\\ZEPP for "
                               "PalmOS\"\n");
  auto status = [&](const std::string& command) {
    std::string rc = folder_ + "/rc";
    std::string full =
        command + " >'" + folder_ + "/out' 2>'" + folder_ + "/err'; echo $? >'" + rc + "'";
    if (std::system(full.c_str()) == -1) return -1;
    int code = -1;
    std::ifstream(rc) >> code;
    return code;
  };
  EXPECT_EQ(status(qmreg + "--desktop import '" + demo + "'"), 0);
  std::string exported = folder_ + "/exported.reg";
  EXPECT_EQ(
      status(qmreg + "--desktop export HKLM\\\\SOFTWARE\\\\QuillmarkLab -o '" + exported + "'"), 0);
  std::stringstream text;
  text << std::ifstream(exported).rdbuf();
  EXPECT_EQ(text.str(),
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab\\Components]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab\\Components\\31]\n"
            "\"SyncWaitTime\"=dword:00000005\n"
            "\"ZEPPDir\"=\"C:\\\\Program Files\\\\Quillmark Lab\\\\ZEPP for PalmOS\"\n\n");
  EXPECT_EQ(status(qmreg + "query HKLM\\\\Nothing"), 1);
  std::stringstream err;
  err << std::ifstream(folder_ + "/err").rdbuf();
  EXPECT_EQ(err.str(), "qmreg: HKLM\\Nothing: The system cannot find the file specified. (2)\n");
}

}  // namespace
}  // namespace qmreg
