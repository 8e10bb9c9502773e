// QrxCfgObject through the component runtime: registration, creation, unloading and the fixed
// answers.
#include "platform/Module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "configobject/module/IQrxConfigurator.h"
#include "configobject/module/QrxIds.h"
#include "platform/RegKey.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/SelfRegistration.h"
#include "platform/com/testing/KeepLoaded.h"
#include "platform/com/testing/RegistrySnapshot.h"

namespace qrx {
namespace {

using namespace platform::com;
using Lines = std::vector<std::string>;
namespace comtest = platform::com::testing;

const std::string kClass = "CLSID\\{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}";
const std::string kLibrary = "TypeLib\\{C17AB681-A70B-11D3-96B0-00104B5B66AA}";

std::string ModulePath() {
  return std::filesystem::weakly_canonical(QRX_MODULE).string();
}

// CallSlot: a method called by its vtable slot, as a host built elsewhere would.
template <typename R, typename... A>
R CallSlot(IQrxConfigurator* object, int slot, A... args) {
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<R (*)(IQrxConfigurator*, A...)>(table[slot])(object, args...);
}

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(comtest::KeepLoaded(QRX_MODULE));
    const auto r = CallSelfRegistration(QRX_MODULE, RegistrationCall::Register);
    ASSERT_EQ(r.stage, SelfRegistrationResult::Done);
    ASSERT_EQ(r.hr, S_OK);
  }
  void TearDown() override {
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedServerCount(), 0u) << "a test left an object or lock behind";
  }

  static ComPtr<IQrxConfigurator> Create() {
    ComPtr<IQrxConfigurator> object;
    EXPECT_EQ(CoCreateInstance(CLSID_QrxConfigurator, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IQrxConfigurator, object.Put()),
              S_OK);
    return object;
  }

  // CanUnloadNow: the module's own DllCanUnloadNow.
  static HRESULT CanUnloadNow() {
    platform::Module module;
    EXPECT_EQ(module.Load(QRX_MODULE), 0u);
    auto canUnload = module.Function<DllCanUnloadNowFn>(kDllCanUnloadNow);
    return canUnload ? canUnload() : E_FAIL;
  }

  comtest::DesktopRegistryHome home_;
};

TEST_F(ModuleTest, RegistrationAddsExactlyTheKeysOfTheClassAndItsLibrary) {
  const std::string clsid = "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}";
  const std::string v = kLibrary + "\\1.0";
  Lines expected = {
      "CLSID",
      kClass,
      kClass + "|@=SZ:QrxConfigurator Class",
      kClass + "\\ProgID",
      kClass + "\\ProgID|@=SZ:Qrx.QrxConfigurator.1",
      kClass + "\\VersionIndependentProgID",
      kClass + "\\VersionIndependentProgID|@=SZ:Qrx.QrxConfigurator",
      kClass + "\\InprocServer32",
      kClass + "\\InprocServer32|@=SZ:" + ModulePath(),
      kClass + "\\InprocServer32|ThreadingModel=SZ:Apartment",
      kClass + "\\TypeLib",
      kClass + "\\TypeLib|@=SZ:{C17AB681-A70B-11D3-96B0-00104B5B66AA}",
      "Qrx.QrxConfigurator.1",
      "Qrx.QrxConfigurator.1|@=SZ:QrxConfigurator Class",
      "Qrx.QrxConfigurator.1\\CLSID",
      "Qrx.QrxConfigurator.1\\CLSID|@=SZ:" + clsid,
      "Qrx.QrxConfigurator",
      "Qrx.QrxConfigurator|@=SZ:QrxConfigurator Class",
      "Qrx.QrxConfigurator\\CLSID",
      "Qrx.QrxConfigurator\\CLSID|@=SZ:" + clsid,
      "Qrx.QrxConfigurator\\CurVer",
      "Qrx.QrxConfigurator\\CurVer|@=SZ:Qrx.QrxConfigurator.1",
      "TypeLib",
      kLibrary,
      v,
      v + "|@=SZ:QrxCfgObject 1.0 Type Library",
      v + "\\409",
      v + "\\409\\win32",
      v + "\\409\\win32|@=SZ:" + ModulePath(),
      v + "\\FLAGS",
      v + "\\FLAGS|@=SZ:0",
      v + "\\HELPDIR",
      v + "\\HELPDIR|@=SZ:" + std::filesystem::path(ModulePath()).parent_path().string(),
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(comtest::Snapshot(platform::HKEY_CLASSES_ROOT, ""), expected);
}

TEST_F(ModuleTest, UnregistrationRemovesThoseKeysAndNothingElse) {
  ASSERT_EQ(CallSelfRegistration(QRX_MODULE, RegistrationCall::Unregister).stage,
            SelfRegistrationResult::Done);
  // Registered again beside other classes and libraries, then taken away.
  platform::RegKey other;
  ASSERT_EQ(
      other.Create(platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_CLASSES_ROOT),
                   "CLSID\\{00000000-1111-2222-3333-444444444444}\\InprocServer32"),
      0u);
  ASSERT_EQ(other.SetString("", "/opt/other.so"), 0u);
  ASSERT_EQ(
      other.Create(platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_CLASSES_ROOT),
                   kLibrary + "\\2.0"),
      0u);
  const Lines before = comtest::Snapshot(platform::HKEY_CLASSES_ROOT, "");
  ASSERT_EQ(CallSelfRegistration(QRX_MODULE, RegistrationCall::Register).stage,
            SelfRegistrationResult::Done);
  ASSERT_EQ(CallSelfRegistration(QRX_MODULE, RegistrationCall::Unregister).stage,
            SelfRegistrationResult::Done);
  EXPECT_EQ(comtest::Snapshot(platform::HKEY_CLASSES_ROOT, ""), before);
}

TEST_F(ModuleTest, TheObjectIsCreatedByEitherProgIdAndByClass) {
  for (const char* progId : {kProgId, kVersionIndependentProgId}) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
    EXPECT_EQ(clsid, CLSID_QrxConfigurator);
  }
  ComPtr<IQrxConfigurator> object = Create();
  ASSERT_TRUE(object);
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, unknown.Put()), S_OK);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
}

TEST_F(ModuleTest, TheFactoryRefusesAggregationAndOtherClasses) {
  ComPtr<IUnknown> outer;
  ASSERT_EQ(CoCreateInstance(CLSID_QrxConfigurator, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             outer.Put()),
            S_OK);
  void* inner = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_QrxConfigurator, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                             &inner),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(inner, nullptr);
  platform::Module module;
  ASSERT_EQ(module.Load(QRX_MODULE), 0u);
  auto get = module.Function<DllGetClassObjectFn>(kDllGetClassObject);
  ASSERT_NE(get, nullptr);
  EXPECT_EQ(get(IID_IQrxConfigurator, IID_IClassFactory, &inner), CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(ModuleTest, UnloadingWaitsForObjectsAndLocks) {
  ComPtr<IQrxConfigurator> first = Create();
  ComPtr<IQrxConfigurator> second = Create();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  first.Reset();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // one object still alive

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_QrxConfigurator, CLSCTX_INPROC_SERVER, nullptr,
                             IID_IClassFactory, factory.Put()),
            S_OK);
  ASSERT_EQ(factory->LockServer(1), S_OK);
  second.Reset();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // locked
  ASSERT_EQ(factory->LockServer(0), S_OK);
  factory.Reset();
  EXPECT_EQ(CanUnloadNow(), S_OK);  // after the last release
  EXPECT_TRUE(CoIsServerLoaded(ModulePath()));
  CoFreeUnusedLibraries();
  EXPECT_FALSE(CoIsServerLoaded(ModulePath()));
}

TEST_F(ModuleTest, TheTitleFillsTheBufferWithoutATerminator) {
  ComPtr<IQrxConfigurator> object = Create();
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(object->GetPageTitle(buffer, 5, 0, 0, 0), 0);
  EXPECT_EQ(std::string(buffer, 8), "Conduxxx");
  char whole[32];
  std::memset(whole, 'x', sizeof whole);
  EXPECT_EQ(object->GetPageTitle(whole, sizeof whole, 0, 0, 0), 0);
  EXPECT_STREQ(whole, "Conduit Properties");
  EXPECT_EQ(whole[31], 0);  // the rest is zero-filled
  EXPECT_EQ(object->GetPageTitle(nullptr, 5, 0, 0, 0), 0);
}

TEST_F(ModuleTest, TheOtherTextsAreCopiedTheSameWay) {
  ComPtr<IQrxConfigurator> object = Create();
  char buffer[64] = {};
  EXPECT_EQ(object->GetPageDescription(buffer, sizeof buffer, 1, 2, 3), 0);
  EXPECT_STREQ(buffer, "This is a Page Description");
  EXPECT_EQ(object->GetUserInterfaceLevelName(9, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "This is an UserInterface Level Name");
  EXPECT_EQ(object->GetUserInterfaceLevelDescription(9, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "This is an UserInterface Level Description");
  std::memset(buffer, 'x', sizeof buffer);
  object->GetUserInterfaceLevelName(0, buffer, 7);
  EXPECT_EQ(std::string(buffer, 8), "This isx");
}

TEST_F(ModuleTest, TheFixedAnswersStandInTheirSlotsWhateverTheArguments) {
  ComPtr<IQrxConfigurator> object = Create();
  IQrxConfigurator* o = object.get();
  for (uint32_t a : {0u, 1u, 7u, 0xFFFFFFFFu}) {
    EXPECT_EQ((CallSlot<int32_t, uint32_t, uint32_t>(o, kSlotGetPageCount, a, a + 1)), 1);
    EXPECT_EQ((CallSlot<int32_t, uint32_t>(o, kSlotGetUserInterfaceLevelsCount, a)), 1);
    EXPECT_EQ((CallSlot<int32_t, uint32_t>(o, kSlotGetTabLookType, a)), 1);
    EXPECT_EQ(
        (CallSlot<int32_t, uint32_t, uint32_t>(o, kSlotNotifyUserInterfaceLevelChanging, a, a)), 1);
    EXPECT_EQ((CallSlot<int32_t, HWND, HWND>(o, kSlotNotifyPageSelchanging, nullptr, nullptr)), 1);
    EXPECT_EQ((CallSlot<int32_t, uint32_t>(o, kSlotGetUserInterfaceLevelIcon, a)), 0);
  }
  EXPECT_EQ(
      (CallSlot<int32_t, void*, uint32_t, HWND*>(o, kSlotSetDataToPages, nullptr, 0, nullptr)), 0);
  EXPECT_EQ((CallSlot<int32_t, uint32_t, void**>(o, kSlotGetDefaultPolicy, 0, nullptr)), 0);
  EXPECT_EQ(
      (CallSlot<int32_t, void*, uint32_t, void**>(o, kSlotSerializeData, nullptr, 0, nullptr)), 0);
  EXPECT_EQ((CallSlot<int32_t, QrxAllocFn, QrxFreeFn>(o, kSlotInit, nullptr, nullptr)), 0);
  EXPECT_EQ((CallSlot<int32_t, HWND, void*, uint32_t>(o, kSlotSetKeyInfo, nullptr, nullptr, 0)), 0);
  EXPECT_EQ((CallSlot<int32_t, IUnknown*>(o, kSlotSetParentSideInterface, nullptr)), 0);
  CallSlot<void>(o, kSlotDone);
  CallSlot<void, uint32_t, uint32_t>(o, kSlotNotifyUserInterfaceLevelChanged, 1u, 2u);
  char title[6] = {};
  EXPECT_EQ((CallSlot<int32_t, char*, uint32_t, uint32_t, uint32_t, uint32_t>(o, kSlotGetPageTitle,
                                                                              title, 5, 0, 0, 0)),
            0);
  EXPECT_STREQ(title, "Condu");
  uint32_t helpId = 77;
  EXPECT_EQ(o->GetHelpInfo(nullptr, 0, &helpId, 0, 0, 0), 0);
  EXPECT_EQ(helpId, 77u);  // untouched
}

TEST_F(ModuleTest, DeletingAndCollectingNoPagesDoesNothing) {
  ComPtr<IQrxConfigurator> object = Create();
  HWND onlyTheEnd[] = {nullptr};
  EXPECT_EQ(object->DeletePages(onlyTheEnd), 0);
  EXPECT_EQ(object->DeletePages(nullptr), 0);
  // A handle that is no page of this module is passed over.
  HWND stranger[] = {reinterpret_cast<HWND>(&onlyTheEnd), nullptr};
  EXPECT_EQ(object->DeletePages(stranger), 0);
  EXPECT_EQ(object->GetDataFromPages(nullptr, stranger), 0);
  EXPECT_EQ(object->GetDataFromPages(nullptr, nullptr), 0);
  EXPECT_TRUE(comtest::Snapshot(platform::HKEY_LOCAL_MACHINE, "").empty());
}

TEST_F(ModuleTest, WithoutAnApplicationNoPageIsMade) {
  ComPtr<IQrxConfigurator> object = Create();
  int parent = 0;
  EXPECT_EQ(object->PageCreate(reinterpret_cast<HWND>(&parent), 0, 0, 0), nullptr);
  EXPECT_EQ(object->PageCreate(nullptr, 0, 0, 0), nullptr);
}

TEST_F(ModuleTest, ThePageIconIsTheModulesIcon1217) {
  ComPtr<IQrxConfigurator> object = Create();
  HICON icon = object->GetPageIcon(0, 0, 0);
  ASSERT_NE(icon, nullptr);
  const auto* resource = reinterpret_cast<const IconResource*>(icon);
  EXPECT_STREQ(resource->format, "XPM");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(resource->bytes), 9), "/* XPM */");
  EXPECT_EQ(object->GetPageIcon(5, 6, 7), icon);
}

}  // namespace
}  // namespace qrx
