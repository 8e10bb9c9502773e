// The conduit's lines in the HotSync log, besides those of the database layer.
#pragma once

namespace conduit {

inline constexpr char kLogDoNothing[] = "Quillmark QRX for PalmOS - configured to Do Nothing";
inline constexpr char kLogCannotRegister[] =
    "Quillmark QRX for PalmOS - Unable to register conduit";
inline constexpr char kLogCannotUnregister[] =
    "Quillmark QRX for PalmOS - Unable to unregister conduit";
inline constexpr char kLogOk[] = "OK Quillmark QRX for PalmOS";
inline constexpr char kLogErrors[] = "Errors - Quillmark QRX for PalmOS";

}  // namespace conduit
