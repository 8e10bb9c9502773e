// The registrar and type libraries against a private desktop registry.
#include "platform/com/Registrar.h"

#include <gtest/gtest.h>

#include "platform/RegKey.h"
#include "platform/com/TypeLibrary.h"
#include "platform/com/testing/RegistrySnapshot.h"

namespace platform::com {
namespace {

using testing::Snapshot;
using Lines = std::vector<std::string>;

constexpr char kScript[] = R"(HKCR
{
  T.Thing.1 = s 'Thing Class'
  {
    CLSID = s '{126B21E5-48E3-4C3B-96F3-AD892A6F7F2B}'
  }
  NoRemove CLSID
  {
    ForceRemove {126B21E5-48E3-4C3B-96F3-AD892A6F7F2B} = s 'Thing Class'
    {
      InprocServer32 = s '%MODULE%'
      {
        val ThreadingModel = s 'Apartment'
      }
    }
  }
})";

class RegistrarTest : public ::testing::Test {
 protected:
  static HKEY Root() { return RegRootKey(RegStore::Desktop, HKEY_CLASSES_ROOT); }
  static void Put(const std::string& path, const std::string& name, const std::string& text) {
    RegKey key;
    ASSERT_EQ(key.Create(Root(), path), 0u);
    ASSERT_EQ(key.SetString(name, text), 0u);
  }
  static HRESULT Run(ScriptDirection direction, std::string_view script = kScript) {
    return RunRegScript(script, {{"MODULE", "/opt/q/Thing.so"}}, direction);
  }

  testing::DesktopRegistryHome home_;
};

const char kClassKey[] = "CLSID\\{126B21E5-48E3-4C3B-96F3-AD892A6F7F2B}";

TEST_F(RegistrarTest, RegistrationWritesEveryKeyAndValueOfTheScript) {
  ASSERT_EQ(Run(ScriptDirection::Register), S_OK);
  EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, ""),
            (Lines{"CLSID", std::string(kClassKey), std::string(kClassKey) + "\\InprocServer32",
                   std::string(kClassKey) + "\\InprocServer32|@=SZ:/opt/q/Thing.so",
                   std::string(kClassKey) + "\\InprocServer32|ThreadingModel=SZ:Apartment",
                   std::string(kClassKey) + "|@=SZ:Thing Class", "T.Thing.1", "T.Thing.1\\CLSID",
                   "T.Thing.1\\CLSID|@=SZ:{126B21E5-48E3-4C3B-96F3-AD892A6F7F2B}",
                   "T.Thing.1|@=SZ:Thing Class"}));
}

TEST_F(RegistrarTest, ForceRemoveReplacesTheClassKeyWhole) {
  Put(std::string(kClassKey) + "\\Stale", "", "left from an old version");
  Put(std::string(kClassKey), "Extra", "old");
  ASSERT_EQ(Run(ScriptDirection::Register), S_OK);
  const Lines after = Snapshot(HKEY_CLASSES_ROOT, kClassKey);
  for (const std::string& line : after) {
    EXPECT_EQ(line.find("Stale"), std::string::npos) << line;
    EXPECT_EQ(line.find("Extra"), std::string::npos) << line;
  }
  EXPECT_EQ(after.size(), 5u);
}

TEST_F(RegistrarTest, UnregistrationRemovesWhatTheScriptAddedAndNothingElse) {
  Put("CLSID\\{00000000-1111-2222-3333-444444444444}", "", "another server");
  Put("Unrelated", "", "x");
  const Lines before = Snapshot(HKEY_CLASSES_ROOT, "");
  ASSERT_EQ(Run(ScriptDirection::Register), S_OK);
  ASSERT_EQ(Run(ScriptDirection::Unregister), S_OK);
  EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, ""), before);
}

TEST_F(RegistrarTest, AKeyThatHoldsOthersContentStaysWithThatContent) {
  ASSERT_EQ(Run(ScriptDirection::Register), S_OK);
  Put("T.Thing.1\\Shell", "", "someone else's");
  ASSERT_EQ(Run(ScriptDirection::Unregister), S_OK);
  EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, "T.Thing.1"),
            (Lines{"T.Thing.1", "T.Thing.1\\Shell", "T.Thing.1\\Shell|@=SZ:someone else's"}));
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, kClassKey).empty());
}

TEST_F(RegistrarTest, TheSharedClassKeyIsNeverRemovedEvenWhenTheScriptForgetsNoRemove) {
  constexpr char careless[] =
      "HKCR { ForceRemove CLSID { ForceRemove {126B21E5-48E3-4C3B-96F3-AD892A6F7F2B} } }";
  Put("CLSID\\{00000000-1111-2222-3333-444444444444}", "", "another server");
  ASSERT_EQ(Run(ScriptDirection::Register, careless), S_OK);
  ASSERT_EQ(Run(ScriptDirection::Unregister, careless), S_OK);
  EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, "CLSID"),
            (Lines{"CLSID", "CLSID\\{00000000-1111-2222-3333-444444444444}",
                   "CLSID\\{00000000-1111-2222-3333-444444444444}|@=SZ:another server"}));
}

TEST_F(RegistrarTest, UnregisteringWhatIsNotThereSucceeds) {
  EXPECT_EQ(Run(ScriptDirection::Unregister), S_OK);
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, "").empty());
}

TEST_F(RegistrarTest, AFailedWriteLeavesTheRegistryAsItWas) {
  // The second key's value is beyond what a value may hold.
  const std::string script =
      "HKCR { First = s 'ok' Second = s '" + std::string(kRegMaxValueDataSize + 1, 'x') + "' }";
  EXPECT_EQ(Run(ScriptDirection::Register, script), REGDB_E_WRITEREGDB);
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, "").empty());
}

TEST_F(RegistrarTest, AScriptThatDoesNotParseWritesNothing) {
  std::string error;
  EXPECT_EQ(RunRegScript("HKCR { First = s 'ok' Second = s '%NOPE%' }", {},
                         ScriptDirection::Register, &error),
            SELFREG_E_CLASS);
  EXPECT_EQ(error, "line 1: unknown replacement %NOPE%");
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, "").empty());
}

constexpr TypeLibrary kLibrary{
    MakeGuid("{C17AB681-A70B-11D3-96B0-00104B5B66AA}"), "LIB", 1, 0, 1033, "Lib 1.0 Type Library"};

TEST_F(RegistrarTest, ATypeLibraryIsRegisteredUnderItsVersionAndLocale) {
  ASSERT_EQ(RegisterTypeLib(kLibrary, "/opt/q/Thing.so", "/opt/q"), S_OK);
  const std::string v = "TypeLib\\{C17AB681-A70B-11D3-96B0-00104B5B66AA}\\1.0";
  EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, v),
            (Lines{v, v + "\\409", v + "\\409\\win32", v + "\\409\\win32|@=SZ:/opt/q/Thing.so",
                   v + "\\FLAGS", v + "\\FLAGS|@=SZ:0", v + "\\HELPDIR",
                   v + "\\HELPDIR|@=SZ:/opt/q", v + "|@=SZ:Lib 1.0 Type Library"}));
}

TEST_F(RegistrarTest, UnregisteringATypeLibraryKeepsOtherVersionsAndTheTypeLibKey) {
  Put("TypeLib\\{00000000-1111-2222-3333-444444444444}\\2.0", "", "other library");
  ASSERT_EQ(RegisterTypeLib(kLibrary, "/opt/q/Thing.so", "/opt/q"), S_OK);
  TypeLibrary older = kLibrary;
  older.majorVersion = 0;
  older.minorVersion = 9;
  ASSERT_EQ(RegisterTypeLib(older, "/opt/q/Old.so", "/opt/q"), S_OK);
  ASSERT_EQ(UnRegisterTypeLib(kLibrary), S_OK);
  const std::string lib = "TypeLib\\{C17AB681-A70B-11D3-96B0-00104B5B66AA}";
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, lib + "\\1.0").empty());
  EXPECT_FALSE(Snapshot(HKEY_CLASSES_ROOT, lib + "\\0.9").empty());
  ASSERT_EQ(UnRegisterTypeLib(older), S_OK);
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, lib).empty());
  EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, "TypeLib").size(),
            4u);  // TypeLib, the other one, its version and value
  EXPECT_EQ(UnRegisterTypeLib(kLibrary), S_OK);
}

}  // namespace
}  // namespace platform::com
