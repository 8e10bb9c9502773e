// The fixed identities of QrxCfgObject: class, ProgIDs, interface and type library.
#pragma once

#include "platform/com/Guid.h"
#include "platform/com/TypeLibrary.h"

namespace qrx {

inline constexpr platform::com::CLSID CLSID_QrxConfigurator =
    platform::com::MakeGuid("{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}");
inline constexpr platform::com::IID IID_IQrxConfigurator =
    platform::com::MakeGuid("{3F483B32-A64C-11D3-96B0-00104B5B66AA}");
inline constexpr platform::com::GUID LIBID_QRXCFGOBJECTLib =
    platform::com::MakeGuid("{C17AB681-A70B-11D3-96B0-00104B5B66AA}");

inline constexpr char kClassDescription[] = "QrxConfigurator Class";
inline constexpr char kProgId[] = "Qrx.QrxConfigurator.1";
inline constexpr char kVersionIndependentProgId[] = "Qrx.QrxConfigurator";
inline constexpr char kThreadingModel[] = "Apartment";
inline constexpr char kInterfaceDescription[] = "IQrxConfigurator Interface";

// kTypeLibrary: the module's type-library resource 1.
inline constexpr platform::com::TypeLibrary kTypeLibrary{
    LIBID_QRXCFGOBJECTLib, "QRXCFGOBJECTLib", 1, 0, 1033, "QrxCfgObject 1.0 Type Library"};

// kModuleName: the module as the settings host and the tools name it.
inline constexpr char kModuleName[] = "QrxCfgObject.dll";

}  // namespace qrx
