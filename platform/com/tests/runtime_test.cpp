// The runtime with a real server module: lookup, creation, self-registration and unloading.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Module.h"
#include "platform/RegKey.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/SelfRegistration.h"
#include "platform/com/testing/KeepLoaded.h"
#include "platform/com/testing/RegistrySnapshot.h"
#include "platform/com/tests/TestServerApi.h"

namespace platform::com {
namespace {

using comtest::ITestAnswer;
using comtest::kTestClsid;

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::KeepLoaded(COM_TEST_SERVER));
    const SelfRegistrationResult r =
        CallSelfRegistration(COM_TEST_SERVER, RegistrationCall::Register);
    ASSERT_EQ(r.stage, SelfRegistrationResult::Done);
    ASSERT_EQ(r.hr, S_OK);
  }
  void TearDown() override {
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedServerCount(), 0u) << "a test left an object or lock behind";
  }

  // LockCount: the server module's own count, read through a second load.
  static int32_t LockCount() {
    Module m;
    EXPECT_EQ(m.Load(COM_TEST_SERVER), 0u);
    auto count = m.Function<comtest::TestServerLockCountFn>("TestServerLockCount");
    return count ? count() : -1;
  }

  testing::DesktopRegistryHome home_;
};

TEST_F(RuntimeTest, RegistrationNamesTheModuleByItsFullPath) {
  std::string path;
  ASSERT_EQ(InprocServerPath(kTestClsid, &path), S_OK);
  EXPECT_EQ(path, std::filesystem::weakly_canonical(COM_TEST_SERVER).string());
}

TEST_F(RuntimeTest, CreatesByClassAndByProgIdAndAnswersOnlyItsInterfaces) {
  ComPtr<ITestAnswer> byClass;
  ASSERT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, comtest::IID_ITestAnswer,
                             byClass.Put()),
            S_OK);
  EXPECT_EQ(byClass->Answer(), 42);

  for (const char* progId : {comtest::kTestProgId, comtest::kTestVersionIndependentProgId}) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
    EXPECT_EQ(clsid, kTestClsid);
  }
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.Put()), S_OK);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(unknown->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(CoLoadedServerCount(), 1u);  // one module, loaded once
}

TEST_F(RuntimeTest, UnknownClassesAndProgIdsAreReportedAsSuch) {
  void* object = reinterpret_cast<void*>(1);
  const CLSID missing = MakeGuid("{00000000-1111-2222-3333-444444444444}");
  EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID("No.Such.1", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID("ComTest.Answer.1\\CLSID", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromString("not a class", &clsid), CO_E_CLASSSTRING);
}

TEST_F(RuntimeTest, ABrokenRegistrationNamesTheLoaderFailure) {
  const std::string server = "CLSID\\" + FormatGuid(kTestClsid) + "\\InprocServer32";
  RegKey key;
  ASSERT_EQ(key.Open(RegRootKey(RegStore::Desktop, HKEY_CLASSES_ROOT), server, RegAccess::All), 0u);
  void* object = nullptr;

  ASSERT_EQ(key.SetString("", home_.folder().Path("Missing.so")), 0u);
  EXPECT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));

  ASSERT_EQ(key.SetString("", home_.folder().Write("Text.so", "not a module")), 0u);
  EXPECT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT));

  ASSERT_EQ(key.SetString("", COM_SAMPLE_MODULE), 0u);  // a module without DllGetClassObject
  EXPECT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CO_E_ERRORINDLL);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoLoadedServerCount(), 0u);
}

TEST_F(RuntimeTest, TheFactoryRefusesAggregation) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(
      CoGetClassObject(kTestClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.Put()),
      S_OK);
  ComPtr<IUnknown> outer;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, outer.Put()), S_OK);
  void* inner = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, &inner), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(inner, nullptr);
  EXPECT_EQ(CoCreateInstance(kTestClsid, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &inner),
            CLASS_E_NOAGGREGATION);
}

TEST_F(RuntimeTest, AModuleStaysWhileObjectsOrLocksLiveAndGoesAfterward) {
  ComPtr<ITestAnswer> answer;
  ASSERT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, comtest::IID_ITestAnswer,
                             answer.Put()),
            S_OK);
  const std::string path = std::filesystem::weakly_canonical(COM_TEST_SERVER).string();
  EXPECT_EQ(LockCount(), 1);
  CoFreeUnusedLibraries();
  EXPECT_TRUE(CoIsServerLoaded(path));

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(
      CoGetClassObject(kTestClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.Put()),
      S_OK);
  ASSERT_EQ(factory->LockServer(1), S_OK);
  factory.Reset();
  answer.Reset();
  EXPECT_EQ(LockCount(), 1);  // the server lock alone
  CoFreeUnusedLibraries();
  EXPECT_TRUE(CoIsServerLoaded(path));

  ASSERT_EQ(
      CoGetClassObject(kTestClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.Put()),
      S_OK);
  ASSERT_EQ(factory->LockServer(0), S_OK);
  // An unbalanced unlock is refused rather than leaving a count below zero.
  EXPECT_EQ(factory->LockServer(0), E_UNEXPECTED);
  EXPECT_EQ(LockCount(), 0);
  factory.Reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(CoIsServerLoaded(path));
}

TEST_F(RuntimeTest, UnregistrationTakesTheClassAway) {
  const SelfRegistrationResult r =
      CallSelfRegistration(COM_TEST_SERVER, RegistrationCall::Unregister);
  EXPECT_EQ(r.stage, SelfRegistrationResult::Done);
  EXPECT_EQ(r.entry, "DllUnregisterServer");
  EXPECT_EQ(testing::Snapshot(HKEY_CLASSES_ROOT, ""), std::vector<std::string>{"CLSID"});
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(comtest::kTestProgId, &clsid), CO_E_CLASSSTRING);
}

TEST_F(RuntimeTest, SelfRegistrationReportsHowFarItCame) {
  SelfRegistrationResult r =
      CallSelfRegistration(home_.folder().Path("Missing.so"), RegistrationCall::Register);
  EXPECT_EQ(r.stage, SelfRegistrationResult::LoadFailed);
  EXPECT_EQ(r.loadError, ERROR_MOD_NOT_FOUND);
  r = CallSelfRegistration(COM_SAMPLE_MODULE, RegistrationCall::Register);
  EXPECT_EQ(r.stage, SelfRegistrationResult::EntryMissing);
  EXPECT_EQ(r.entry, "DllRegisterServer");
}

}  // namespace
}  // namespace platform::com
