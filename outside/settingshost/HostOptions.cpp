// Parsing the settings host's options.
#include "outside/settingshost/HostOptions.h"

namespace settingshost {

const char* HostUsage() {
  return "usage: qm-settings-host [--register] [--register-module MODULE]... [--prog-id PROGID]\n"
         "                        [--screenshot FILE.png] [--accept | --cancel]\n"
         "  Shows the pages of a configuration object (default Qrx.QrxConfigurator)\n"
         "  with OK and Cancel; OK stores what the pages hold.\n"
         "  --register              register QmTreeCtrl.dll and QrxCfgObject.dll first\n"
         "  --register-module M     register module M first (may repeat)\n"
         "  --prog-id P             the object's programmatic identifier\n"
         "  --screenshot F          save the window as a PNG once it is shown\n"
         "  --accept, --cancel      press OK or Cancel once the window is up\n";
}

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options,
                      std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        *error = arg + " needs a value";
        return false;
      }
      *out = args[++i];
      return true;
    };
    if (arg == "--register") {
      options->registerModules.insert(options->registerModules.end(), kHostModules.begin(),
                                      kHostModules.end());
    } else if (arg == "--register-module") {
      std::string module;
      if (!value(&module)) return false;
      options->registerModules.push_back(module);
    } else if (arg == "--prog-id") {
      if (!value(&options->progId)) return false;
    } else if (arg == "--screenshot") {
      if (!value(&options->screenshot)) return false;
    } else if (arg == "--accept") {
      options->accept = true;
    } else if (arg == "--cancel") {
      options->cancel = true;
    } else if (arg == "-h" || arg == "--help") {
      options->help = true;
    } else {
      *error = "unknown argument " + arg;
      return false;
    }
  }
  if (options->accept && options->cancel) {
    *error = "--accept and --cancel exclude each other";
    return false;
  }
  return true;
}

}  // namespace settingshost
