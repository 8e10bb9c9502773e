// Starting a program without waiting for it, as CreateProcess does here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ProgramHostPath: the host file of a program: "X.exe" (any case) names the
// file "X"; the name is kept as written when only that file exists. Other
// names are returned unchanged.
std::string ProgramHostPath(std::string_view program);

// StartProcess: starts a program (a host path, by the rule above) with the
// given arguments after its own name, in workingDirectory (empty: the
// caller's), with the caller's environment and only the standard streams
// inherited. Does not wait; the program is never left as a zombie of the
// caller. Returns 0, or the Win32 code, also the thread's last error: 2 the
// program does not exist, 3 its folder does not exist, 5 it is a folder or
// not executable, 193 not a program the host can run, 267 the working
// directory is not a folder.
uint32_t StartProcess(std::string_view program, std::string_view workingDirectory,
                      const std::vector<std::string>& arguments = {});

}  // namespace platform
