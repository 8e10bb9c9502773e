// A server module for the runtime tests: one class, a script, and its lock count exported.
#include <atomic>
#include <new>

#include "platform/com/ClassFactory.h"
#include "platform/com/Registrar.h"
#include "platform/com/ServerModule.h"
#include "platform/com/tests/TestServerApi.h"

namespace {

using namespace platform::com;

constexpr char kScript[] = R"(HKCR
{
  ComTest.Answer.1 = s 'Answer Class'
  {
    CLSID = s '{126B21E5-48E3-4C3B-96F3-AD892A6F7F2B}'
  }
  ComTest.Answer = s 'Answer Class'
  {
    CurVer = s 'ComTest.Answer.1'
  }
  NoRemove CLSID
  {
    ForceRemove {126B21E5-48E3-4C3B-96F3-AD892A6F7F2B} = s 'Answer Class'
    {
      ProgID = s 'ComTest.Answer.1'
      InprocServer32 = s '%MODULE%'
      {
        val ThreadingModel = s 'Apartment'
      }
    }
  }
})";

class AnswerObject final : public comtest::ITestAnswer {
 public:
  AnswerObject() { LockModule(); }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == comtest::IID_ITestAnswer) {
      *object = static_cast<comtest::ITestAnswer*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  int32_t Answer() override { return 42; }

 private:
  ~AnswerObject() { UnlockModule(); }
  std::atomic<ULONG> refs_{1};
};

HRESULT CreateAnswer(REFIID iid, void** object) {
  auto* answer = new (std::nothrow) AnswerObject();
  if (answer == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = answer->QueryInterface(iid, object);
  answer->Release();
  return hr;
}

HRESULT Script(ScriptDirection direction) {
  const std::string self = ModuleFileOf(reinterpret_cast<const void*>(&CreateAnswer));
  return RunRegScript(kScript, {{"MODULE", self}}, direction);
}

}  // namespace

COM_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid != comtest::kTestClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return ClassFactory::Create(&CreateAnswer, iid, object);
}

COM_EXPORT HRESULT DllCanUnloadNow() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

COM_EXPORT HRESULT DllRegisterServer() {
  return Script(ScriptDirection::Register);
}

COM_EXPORT HRESULT DllUnregisterServer() {
  return Script(ScriptDirection::Unregister);
}

COM_EXPORT int32_t TestServerLockCount() {
  return ModuleLockCount();
}
