// The command line of qm-settings-host.
#pragma once

#include <string>
#include <vector>

namespace settingshost {

inline constexpr char kDefaultProgId[] = "Qrx.QrxConfigurator";

// HostOptions: what one run does.
struct HostOptions {
  std::vector<std::string> registerModules;  // registered before the object is made
  std::string progId = kDefaultProgId;
  std::string screenshot;  // a PNG of the window, taken once it is shown
  bool accept = false;     // press OK as soon as the window is up
  bool cancel = false;     // press Cancel as soon as the window is up
  bool help = false;
};

// kHostModules: what --register registers: the tree control this host
// provides and the configuration object, found as modules are (the
// program's folder first).
inline const std::vector<std::string> kHostModules = {"QmTreeCtrl.dll", "QrxCfgObject.dll"};

// ParseHostOptions: the options of argv; false with `error` set for a bad
// command line.
bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options,
                      std::string* error);

// HostUsage: the help text.
const char* HostUsage();

}  // namespace settingshost
