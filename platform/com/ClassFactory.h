// ClassFactory: the class object of one class of a server module.
#pragma once

#include <atomic>
#include <new>

#include "platform/com/ServerModule.h"
#include "platform/com/Unknown.h"

namespace platform::com {

// CreateObjectFn: makes a new object of the class and answers `iid` on it
// (E_OUTOFMEMORY when it cannot be allocated).
using CreateObjectFn = HRESULT (*)(REFIID iid, void** object);

// ClassFactory: refuses aggregation, creates objects through `create`, and
// adds to or takes from the module's lock count on LockServer. Each factory
// is its own heap object with a plain reference count; it does not lock the
// module, as clients that keep a factory call LockServer.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateObjectFn create) : create_(create) {}

  // Create: a new factory's interface `iid` in *object.
  static HRESULT Create(CreateObjectFn create, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    auto* factory = new (std::nothrow) ClassFactory(create);
    if (factory == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
  }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
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

  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(iid, object);
  }

  HRESULT LockServer(BOOL lock) override {
    if (lock) {
      LockModule();
      return S_OK;
    }
    return UnlockModule() ? S_OK : E_UNEXPECTED;
  }

 private:
  ~ClassFactory() = default;

  CreateObjectFn create_;
  std::atomic<ULONG> refs_{1};
};

}  // namespace platform::com
