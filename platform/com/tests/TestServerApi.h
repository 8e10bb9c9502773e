// What the runtime tests know of their server module: its class, interface and script.
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"

namespace comtest {

inline constexpr platform::com::CLSID kTestClsid =
    platform::com::MakeGuid("{126B21E5-48E3-4C3B-96F3-AD892A6F7F2B}");
inline constexpr char kTestClsidText[] = "{126B21E5-48E3-4C3B-96F3-AD892A6F7F2B}";
inline constexpr char kTestProgId[] = "ComTest.Answer.1";
inline constexpr char kTestVersionIndependentProgId[] = "ComTest.Answer";

inline constexpr platform::com::IID IID_ITestAnswer =
    platform::com::MakeGuid("{6F1C39A2-5E1B-4D8C-9A44-2B0C7A1D3E55}");

// ITestAnswer: the test class's one interface.
struct ITestAnswer : platform::com::IUnknown {
  virtual int32_t Answer() = 0;

 protected:
  ~ITestAnswer() = default;
};

// TestServerLockCount: exported by the module, its own lock count.
using TestServerLockCountFn = int32_t (*)();

}  // namespace comtest
