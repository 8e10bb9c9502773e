// Export followed by import gives back the same tree, value for value.
#include <filesystem>
#include <map>

#include "platform/RegKey.h"
#include "qmreg_test_support.h"

namespace qmreg {
namespace {

using namespace platform;

// Snapshot: every value below a key as "path|name" → type and bytes.
using Snapshot = std::map<std::string, RegValue>;

void Collect(RegKey& key, const std::string& path, Snapshot* out) {
  for (uint32_t i = 0;; ++i) {
    std::string name;
    RegValue v;
    if (key.EnumValue(i, &name, &v) != ERROR_SUCCESS) break;
    (*out)[path + "|" + name] = v;
  }
  std::vector<std::string> subKeys;
  ASSERT_EQ(key.SubKeyNames(&subKeys), ERROR_SUCCESS);
  for (const auto& sub : subKeys) {
    RegKey child;
    ASSERT_EQ(child.Open(key.handle(), sub), ERROR_SUCCESS);
    (*out)[path + "\\" + sub + "|<key>"] = RegValue();
    Collect(child, path + "\\" + sub, out);
  }
}

Snapshot Take(RegStore store) {
  Snapshot s;
  RegKey key;
  if (key.Open(RegRootKey(store, HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab") == ERROR_SUCCESS)
    Collect(key, "", &s);
  return s;
}

void BuildTree(RegStore store) {
  HKEY root = RegRootKey(store, HKEY_LOCAL_MACHINE);
  RegKey key;
  ASSERT_EQ(key.Create(root, "SOFTWARE\\QuillmarkLab\\Components\\31"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("", "Default text"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("SyncWaitTime", 5), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("LastUpdate", 0xFEDCBA98), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("ZEPPDir", "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS"),
            ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Say \"hi\"\\there", "quote \" and \\ backslash; semicolon"),
            ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Cyrillic", "Привет"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Expand", "%TEMP%\\x", RegTerminator::Include, REG_EXPAND_SZ),
            ERROR_SUCCESS);
  ASSERT_EQ(key.SetMultiString("Multi", {"one", "two", "три"}), ERROR_SUCCESS);
  std::vector<uint8_t> blob(300);
  for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<uint8_t>(i * 7);
  ASSERT_EQ(key.SetBinary("Blob", blob), ERROR_SUCCESS);
  ASSERT_EQ(key.SetBinary("EmptyBlob", {}), ERROR_SUCCESS);
  const uint8_t two[] = {1, 2};
  ASSERT_EQ(key.SetValue("ShortDword", REG_DWORD, two), ERROR_SUCCESS);
  const uint8_t qword[] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(key.SetValue("Qword", 11, qword), ERROR_SUCCESS);
  const uint8_t none[] = {9};
  ASSERT_EQ(key.SetValue("None", REG_NONE, none), ERROR_SUCCESS);
  auto inner = EncodeRegText(store, std::string_view("a\0b", 3), RegTerminator::Include);
  ASSERT_EQ(key.SetValue("InnerNul", REG_SZ, inner), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Lines", "first\nsecond"), ERROR_SUCCESS);
  RegKey tasks, deep;
  ASSERT_EQ(tasks.Create(key.handle(), "Tasks"), ERROR_SUCCESS);
  ASSERT_EQ(deep.Create(root, "SOFTWARE\\QuillmarkLab\\Deep\\A\\B"), ERROR_SUCCESS);
  ASSERT_EQ(deep.SetString("Leaf", "value"), ERROR_SUCCESS);
}

class RoundTrip : public testing::QmregTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RoundTrip, ExportImportGivesBackEveryValueType) {
  RegStore store = std::string(GetParam()) == "--device" ? RegStore::Device : RegStore::Desktop;
  ASSERT_NO_FATAL_FAILURE(BuildTree(store));
  Snapshot before = Take(store);
  ASSERT_EQ(Run({GetParam(), "export", "HKLM\\SOFTWARE\\QuillmarkLab"}), 0) << err_;
  std::string exported = out_;
  EXPECT_NE(exported.find("\"ZEPPDir\"=\"C:\\\\Program Files\\\\Quillmark Lab\\\\ZEPP for "
                          "PalmOS\"\n"),
            std::string::npos)
      << exported;
  EXPECT_NE(exported.find("\"Cyrillic\"=\"Привет\"\n"), std::string::npos);
  EXPECT_NE(exported.find("\"SyncWaitTime\"=dword:00000005\n"), std::string::npos);
  EXPECT_NE(exported.find("@=\"Default text\"\n"), std::string::npos);
  EXPECT_NE(exported.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab\\Components\\31\\Tasks]"),
            std::string::npos);

  ASSERT_EQ(Run({GetParam(), "delete", "HKLM\\SOFTWARE\\QuillmarkLab"}), 0) << err_;
  EXPECT_TRUE(Take(store).empty());
  std::string file = WriteText("tree.reg", exported);
  ASSERT_EQ(Run({GetParam(), "import", file}), 0) << err_;

  Snapshot after = Take(store);
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [where, value] : before) {
    ASSERT_TRUE(after.count(where)) << where;
    EXPECT_EQ(after[where].type, value.type) << where;
    EXPECT_EQ(after[where].data, value.data) << where;
  }
  ASSERT_EQ(Run({GetParam(), "export", "HKLM\\SOFTWARE\\QuillmarkLab"}), 0);
  EXPECT_EQ(out_, exported);
}

INSTANTIATE_TEST_SUITE_P(Stores, RoundTrip, ::testing::Values("--device", "--desktop"),
                         [](const auto& info) { return std::string(info.param + 2); });

class RoundTripText : public testing::QmregTest {};

TEST_F(RoundTripText, TextWithoutTerminatorIsShownAsTextAndComesBackTerminated) {
  RegKey key;
  ASSERT_EQ(key.Create(RegRootKey(RegStore::Desktop, HKEY_LOCAL_MACHINE), "SOFTWARE\\X"),
            ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("DesktopPath", "C:\\Palm", RegTerminator::Omit), ERROR_SUCCESS);
  ASSERT_EQ(Run({"export", "HKLM\\SOFTWARE\\X"}), 0);
  EXPECT_NE(out_.find("\"DesktopPath\"=\"C:\\\\Palm\"\n"), std::string::npos) << out_;
  ASSERT_EQ(Run({"import", WriteText("x.reg", out_)}), 0) << err_;
  RegValue v;
  ASSERT_EQ(key.QueryValue("DesktopPath", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.data.size(), 8u);
  EXPECT_EQ(key.StringOr("DesktopPath", ""), "C:\\Palm");
}

TEST_F(RoundTripText, NamesWithLineBreaksAreRefusedRatherThanWrittenBroken) {
  RegKey key;
  ASSERT_EQ(key.Create(RegRootKey(RegStore::Desktop, HKEY_LOCAL_MACHINE), "SOFTWARE\\X"),
            ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("two\nlines", 1), ERROR_SUCCESS);
  const std::string file = folder_ + "/out.reg";
  EXPECT_EQ(Run({"export", "HKLM\\SOFTWARE", "-o", file}), 1);
  EXPECT_NE(err_.find("\"HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\two\nlines\": REGEDIT4 cannot write"),
            std::string::npos)
      << err_;
  EXPECT_FALSE(std::filesystem::exists(file));

  ASSERT_EQ(key.DeleteValue("two\nlines"), ERROR_SUCCESS);
  RegKey odd;
  ASSERT_EQ(odd.Create(key.handle(), "a\rb"), ERROR_SUCCESS);
  err_.clear();
  EXPECT_EQ(Run({"export"}), 1);
  EXPECT_NE(err_.find("X\\a\rb\": REGEDIT4 cannot write"), std::string::npos) << err_;
  EXPECT_EQ(out_, "");
}

TEST_F(RoundTripText, LongBinaryLinesAreWrappedAndReadBack) {
  RegKey key;
  ASSERT_EQ(key.Create(RegRootKey(RegStore::Desktop, HKEY_LOCAL_MACHINE), "SOFTWARE\\X"),
            ERROR_SUCCESS);
  std::vector<uint8_t> blob(1000, 0xAB);
  ASSERT_EQ(key.SetBinary("Blob", blob), ERROR_SUCCESS);
  ASSERT_EQ(Run({"export", "HKLM\\SOFTWARE\\X"}), 0);
  size_t longest = 0, start = 0;
  for (size_t nl = out_.find('\n'); nl != std::string::npos; nl = out_.find('\n', start = nl + 1))
    longest = std::max(longest, nl - start);
  EXPECT_LE(longest, 80u);
  ASSERT_EQ(key.DeleteValue("Blob"), ERROR_SUCCESS);
  ASSERT_EQ(Run({"import", WriteText("x.reg", out_)}), 0) << err_;
  std::vector<uint8_t> back;
  ASSERT_EQ(key.QueryBinary("Blob", &back), ERROR_SUCCESS);
  EXPECT_EQ(back, blob);
}

TEST_F(RoundTripText, ExportNamesKeysAsStoredWhateverCaseWasAskedFor) {
  ASSERT_EQ(Run({"set", "HKLM\\SOFTWARE\\QuillmarkLab\\Components", "x", "y"}), 0);
  ASSERT_EQ(Run({"export", "hkey_local_machine\\software\\QUILLMARKLAB\\components"}), 0);
  EXPECT_EQ(out_,
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillmarkLab\\Components]\n"
            "\"x\"=\"y\"\n\n");
}

}  // namespace
}  // namespace qmreg
