// Where the suite keeps its state on the host: QM_HOME and the paths below it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// HomeFolder: QM_HOME, else ${XDG_DATA_HOME:-$HOME/.local/share}/quillmark.
std::string HomeFolder();

// StatePath: the value of the environment variable envVar when it is set and
// not empty, else HomeFolder() + "/" + relative. Every state location has its
// own variable so that tests run in a temporary folder.
std::string StatePath(const char* envVar, std::string_view relative);

// OverrideStatePath: makes StatePath(envVar, ...) answer `value` for the rest
// of this process, ahead of the environment (a front-end's --device-root);
// an empty value removes the override. Set it before other threads start.
void OverrideStatePath(const char* envVar, std::string value);

// EnsureFolder: creates a host folder and its parents; 0 or a Win32 code.
uint32_t EnsureFolder(const std::string& hostPath);

}  // namespace platform
