// Argument handling and the reports of qmregsvr.
#include "tools/qmregsvr/QmregsvrCommand.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Errors.h"
#include "platform/com/SelfRegistration.h"

namespace qmregsvr {
namespace {

using platform::com::CallSelfRegistration;
using platform::com::RegistrationCall;
using platform::com::SelfRegistrationResult;

constexpr char kUsage[] =
    "usage: qmregsvr [/u] [/s] MODULE...\n"
    "  registers each in-process server module by calling its DllRegisterServer\n"
    "  /u, -u, --unregister   call DllUnregisterServer instead\n"
    "  /s, -s, --silent       print nothing\n"
    "MODULE is a host path, a desktop path (C:\\...) or a module name (\"X.dll\" finds X.so).\n";

std::string Hex(int32_t hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(hr));
  return text;
}

bool IsOption(std::string_view arg, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (arg == name) return true;
  return false;
}

}  // namespace

int RunQmregsvr(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  RegistrationCall call = RegistrationCall::Register;
  bool silent = false;
  std::vector<std::string> modules;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (IsOption(arg, {"/u", "/U", "-u", "--unregister"})) {
      call = RegistrationCall::Unregister;
    } else if (IsOption(arg, {"/s", "/S", "-s", "--silent"})) {
      silent = true;
    } else if (IsOption(arg, {"/?", "-h", "--help"})) {
      out << kUsage;
      return 0;
    } else if (arg.size() > 1 && (arg[0] == '-' || (arg[0] == '/' && arg.size() == 2))) {
      if (!silent) err << "qmregsvr: unknown option " << arg << "\n" << kUsage;
      return 1;
    } else {
      modules.emplace_back(arg);
    }
  }
  if (modules.empty()) {
    if (!silent) err << "qmregsvr: no module given\n" << kUsage;
    return 1;
  }
  int exitCode = 0;
  for (const std::string& module : modules) {
    const SelfRegistrationResult r = CallSelfRegistration(module, call);
    switch (r.stage) {
      case SelfRegistrationResult::Done:
        if (!silent) out << r.entry << " in " << module << " succeeded.\n";
        break;
      case SelfRegistrationResult::LoadFailed:
        if (!silent)
          err << "The module \"" << module
              << "\" failed to load: " << platform::ErrorText(r.loadError) << " (" << r.loadError
              << ")\n";
        break;
      case SelfRegistrationResult::EntryMissing:
        if (!silent)
          err << "The module \"" << module << "\" was loaded but the entry-point " << r.entry
              << " was not found.\n";
        break;
      case SelfRegistrationResult::CallFailed:
        if (!silent)
          err << "The module \"" << module << "\" was loaded but the call to " << r.entry
              << " failed with error code " << Hex(r.hr) << ".\n";
        break;
    }
    if (exitCode == 0) exitCode = r.stage;
  }
  return exitCode;
}

}  // namespace qmregsvr
