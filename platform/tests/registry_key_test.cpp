// RegKey's typed access in both store encodings, and grouped transactions.
#include "platform/RegKey.h"
#include "platform/RegTransaction.h"
#include "registry_test_support.h"

namespace platform {
namespace {

using testing::Desktop;
using testing::Device;

class RegKeyText : public testing::FreshRegistry {};
class RegKeyTypes : public testing::FreshRegistry {};
class RegKeyHandles : public testing::FreshRegistry {};
class RegistryTransaction : public testing::FreshRegistry {};

TEST_F(RegKeyText, DeviceStoresUtf16LeBytes) {
  RegKey key;
  ASSERT_EQ(key.Create(Device(HKEY_CURRENT_USER), u"Software\\Quillmark Lab\\ZEP PPC"),
            ERROR_SUCCESS);
  EXPECT_EQ(key.store(), RegStore::Device);
  ASSERT_EQ(key.SetString(u"Mask", u"*.ёxe"), ERROR_SUCCESS);
  RegValue raw;
  ASSERT_EQ(key.QueryValue("mask", &raw), ERROR_SUCCESS);
  EXPECT_EQ(raw.type, REG_SZ);
  EXPECT_EQ(raw.data, (std::vector<uint8_t>{'*', 0, '.', 0, 0x51, 0x04, 'x', 0, 'e', 0, 0, 0}));
  std::u16string wide;
  ASSERT_EQ(key.QueryString(u"Mask", &wide), ERROR_SUCCESS);
  EXPECT_EQ(wide, u"*.ёxe");
  std::string utf8;
  ASSERT_EQ(key.QueryString("Mask", &utf8), ERROR_SUCCESS);
  EXPECT_EQ(utf8, "*.ёxe");
}

TEST_F(RegKeyText, DesktopStoresEightBitText) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab\\Components\\31"),
            ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("ZEPPDir", "C:\\Program Files", RegTerminator::Omit), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("DesktopPath", u"C:\\Palm"), ERROR_SUCCESS);
  RegValue raw;
  ASSERT_EQ(key.QueryValue("ZEPPDir", &raw), ERROR_SUCCESS);
  EXPECT_EQ(raw.data.size(), 16u);  // written without the terminator
  ASSERT_EQ(key.QueryValue("DesktopPath", &raw), ERROR_SUCCESS);
  EXPECT_EQ(raw.data, (std::vector<uint8_t>{'C', ':', '\\', 'P', 'a', 'l', 'm', 0}));
  EXPECT_EQ(key.StringOr("ZEPPDir", "x"), "C:\\Program Files");
}

TEST_F(RegKeyText, TextEndsAtFirstNulWithOrWithoutTerminator) {
  RegKey key;
  ASSERT_EQ(key.Create(Device(HKEY_CURRENT_USER), "K"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Omit", u"abc", RegTerminator::Omit), ERROR_SUCCESS);
  const uint8_t odd[] = {'a', 0, 'b'};  // odd byte count: the stray byte is dropped
  ASSERT_EQ(key.SetValue("Odd", REG_SZ, odd), ERROR_SUCCESS);
  EXPECT_EQ(key.StringOr(u"Omit", u"-"), u"abc");
  EXPECT_EQ(key.StringOr(u"Odd", u"-"), u"a");
}

TEST_F(RegKeyText, MultiStringRoundTripsInBothStores) {
  for (HKEY root : {Device(HKEY_CURRENT_USER), Desktop(HKEY_CURRENT_USER)}) {
    RegKey key;
    ASSERT_EQ(key.Create(root, "M"), ERROR_SUCCESS);
    std::vector<std::string> items = {"one", "два", "three"};
    ASSERT_EQ(key.SetMultiString("List", items), ERROR_SUCCESS);
    std::vector<std::string> back;
    ASSERT_EQ(key.QueryMultiString("List", &back), ERROR_SUCCESS);
    EXPECT_EQ(back, items);
    EXPECT_EQ(key.SetMultiString("List", {"a", "", "b"}), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(key.QueryMultiString("List", &back), ERROR_SUCCESS);
    EXPECT_EQ(back, items);
  }
}

TEST_F(RegKeyTypes, QueryDwordAcceptsOnlyFourByteNumbers) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "T"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("SyncWaitTime", 0x01020304), ERROR_SUCCESS);
  RegValue raw;
  ASSERT_EQ(key.QueryValue("SyncWaitTime", &raw), ERROR_SUCCESS);
  EXPECT_EQ(raw.data, (std::vector<uint8_t>{4, 3, 2, 1}));
  uint32_t value = 0;
  EXPECT_EQ(key.QueryDword("SyncWaitTime", &value), ERROR_SUCCESS);
  EXPECT_EQ(value, 0x01020304u);
  const uint8_t two[] = {1, 2};
  ASSERT_EQ(key.SetValue("Short", REG_DWORD, two), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Text", "1234"), ERROR_SUCCESS);
  value = 7;
  EXPECT_EQ(key.QueryDword("Short", &value), ERROR_INVALID_DATA);
  EXPECT_EQ(key.QueryDword("Text", &value), ERROR_INVALID_DATA);
  EXPECT_EQ(key.QueryDword("Missing", &value), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(key.DwordOr("Missing", 5), 5u);
  EXPECT_EQ(key.DwordOr("SyncWaitTime", 5), 0x01020304u);
}

TEST_F(RegKeyTypes, QueryStringRefusesNonTextTypes) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "T"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("N", 1), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("E", "%TEMP%", RegTerminator::Include, REG_EXPAND_SZ), ERROR_SUCCESS);
  std::string text;
  EXPECT_EQ(key.QueryString("N", &text), ERROR_INVALID_DATA);
  EXPECT_EQ(key.QueryString("E", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "%TEMP%");
  EXPECT_EQ(key.StringOr("N", "fallback"), "fallback");
}

TEST_F(RegKeyHandles, ClosedKeyRefusesWork) {
  RegKey key;
  EXPECT_FALSE(key.isOpen());
  EXPECT_EQ(key.SetDword("x", 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(key.Open(Desktop(HKEY_LOCAL_MACHINE), "Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(key.isOpen());
  EXPECT_FALSE(key.HasValue("x"));
}

TEST_F(RegKeyHandles, MoveTransfersOwnership) {
  RegKey a;
  uint32_t disposition = 0;
  ASSERT_EQ(a.Create(Desktop(HKEY_LOCAL_MACHINE), "Moved", RegAccess::All, "cls", &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  HKEY raw = a.handle();
  RegKey b = std::move(a);
  EXPECT_FALSE(a.isOpen());
  EXPECT_EQ(b.handle(), raw);
  EXPECT_EQ(b.SetDword("x", 1), ERROR_SUCCESS);
  HKEY released = b.Release();
  EXPECT_EQ(RegCloseKey(released), ERROR_SUCCESS);
}

TEST_F(RegKeyHandles, NamesListsAndSubKeyDeletion) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "L"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("UpdateUrl1", 1), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("UpdateUrl2", 2), ERROR_SUCCESS);
  RegKey tasks;
  ASSERT_EQ(tasks.Create(key.handle(), "Tasks\\Inner"), ERROR_SUCCESS);
  std::vector<std::string> names;
  ASSERT_EQ(key.ValueNames(&names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"UpdateUrl1", "UpdateUrl2"}));
  ASSERT_EQ(key.SubKeyNames(&names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"Tasks"}));
  EXPECT_EQ(key.DeleteSubKey("TASKS"), ERROR_SUCCESS);
  EXPECT_EQ(tasks.SetDword("x", 1), ERROR_KEY_DELETED);
  ASSERT_EQ(key.SubKeyNames(&names), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty());
}

TEST_F(RegistryTransaction, RollbackUndoesEveryWrite) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "Tx"), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("Keep", 1), ERROR_SUCCESS);
  {
    RegTransaction tx(RegStore::Desktop);
    ASSERT_EQ(tx.Begin(), ERROR_SUCCESS);
    ASSERT_EQ(key.SetDword("Keep", 2), ERROR_SUCCESS);
    RegKey inner;
    ASSERT_EQ(inner.Create(key.handle(), "New\\Deeper"), ERROR_SUCCESS);
    ASSERT_EQ(inner.SetDword("x", 1), ERROR_SUCCESS);
    // Failed writes inside the transaction do not spoil it.
    EXPECT_EQ(key.DeleteValue("Missing"), ERROR_FILE_NOT_FOUND);
  }  // destroyed uncommitted
  EXPECT_EQ(key.DwordOr("Keep", 0), 1u);
  RegKey gone;
  EXPECT_EQ(gone.Open(key.handle(), "New"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTransaction, CommitKeepsEveryWrite) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "Tx"), ERROR_SUCCESS);
  RegTransaction tx(RegStore::Desktop);
  ASSERT_EQ(tx.Begin(), ERROR_SUCCESS);
  EXPECT_EQ(tx.Begin(), ERROR_INVALID_FUNCTION);
  ASSERT_EQ(key.SetDword("a", 1), ERROR_SUCCESS);
  ASSERT_EQ(key.SetDword("b", 2), ERROR_SUCCESS);
  ASSERT_EQ(tx.Commit(), ERROR_SUCCESS);
  EXPECT_FALSE(tx.active());
  RegCloseStores();  // read back through a fresh connection
  RegKey again;
  ASSERT_EQ(again.Open(Desktop(HKEY_LOCAL_MACHINE), "Tx"), ERROR_SUCCESS);
  EXPECT_EQ(again.DwordOr("a", 0), 1u);
  EXPECT_EQ(again.DwordOr("b", 0), 2u);
}

}  // namespace
}  // namespace platform
