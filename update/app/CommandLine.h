// The downloader's command line: only whether the control centre started it.
#pragma once

#include <string>
#include <string_view>

namespace update {

// kControlCentreSwitch: the control centre puts this on a task's command line.
inline constexpr std::string_view kControlCentreSwitch = "IPCSERVNAME";

// JoinCommandLine: the arguments after the program's name, joined by spaces
// into the one text a Windows program receives.
std::string JoinCommandLine(int argc, const char* const* argv);

// IsControlCentreMode: whether "IPCSERVNAME" occurs anywhere in the command
// line changed to upper case.
bool IsControlCentreMode(std::string_view commandLine);

}  // namespace update
