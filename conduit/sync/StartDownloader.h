// Starting the downloader Update from the anti-virus directory, without waiting for it.
#pragma once

#include <cstdint>
#include <string>

#include "palmsettings/PalmSettings.h"

namespace conduit {

// kStartFailedPrefix / kStartFailedCaption: the notice for a start that
// failed, shown for kStartFailedSeconds: the prefix directly followed by
// the error code in decimal.
inline constexpr char kStartFailedPrefix[] = "GetLastError() == ";
inline constexpr char kStartFailedCaption[] = "Error";
inline constexpr int32_t kStartFailedSeconds = 10;

// StartDownloader: starts ZEPPDir, a backslash and "Update.exe" with no
// command line, the conduit's environment and ZEPPDir as its working
// folder, and neither waits for it nor looks at it again. Returns 0, or the
// Win32 code of the failure: 206 when the path does not fit in 255 bytes, the
// code of a ZEPPDir that does not resolve, else the process start's code (2
// no such program, 5 not executable, 267 ZEPPDir is not a folder, …).
uint32_t StartDownloader(const palmsettings::PalmSettings& record);

// StartFailedText: the notice's text for a code.
std::string StartFailedText(uint32_t code);

}  // namespace conduit
