// "Get update now": starting the downloader from the anti-virus directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// UpdateProgramPath: the record's ZEPPDir, a backslash and "Update.exe";
// nullopt when that does not fit in 256 bytes with the terminator (a cut
// path would name another program).
std::optional<std::string> UpdateProgramPath(const palmsettings::PalmSettings& record);

// StartUpdate: starts the downloader named by UpdateProgramPath with no
// command line and ZEPPDir as its working folder, and neither waits for it
// nor looks at it again. Returns 0, or the Win32 code of the failure: 206
// for a path too long, the code of a directory that does not resolve, else
// the process start's code (2 no such program, 5 not executable, 267
// ZEPPDir is not a folder, …).
uint32_t StartUpdate(const palmsettings::PalmSettings& record);

// ReportStartFailure: the box for a start that failed: "GetLastError() == "
// and the code in decimal, captioned "Error creating child process", icon
// error, OK.
void ReportStartFailure(platform::Prompt& prompt, uint32_t code);

}  // namespace configapp
