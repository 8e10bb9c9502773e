// qm-settings-host: the outer settings host, showing a configuration object's pages.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "outside/settingshost/HostOptions.h"
#include "outside/settingshost/SettingsHostWindow.h"
#include "outside/settingshost/SettingsSession.h"
#include "platform/Errors.h"
#include "platform/com/SelfRegistration.h"

namespace {

using namespace settingshost;

// Exit codes: 0 OK pressed, 1 cancelled, 2 bad command line, 3 the object
// could not be made, 4 a module did not register.
int Fail(int code, const std::string& message, bool interactive) {
  std::fprintf(stderr, "qm-settings-host: %s\n", message.c_str());
  if (interactive)
    QMessageBox::critical(nullptr, QStringLiteral("Settings"), QString::fromStdString(message));
  return code;
}

std::string Hex(int32_t hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(hr));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  HostOptions options;
  std::string error;
  const QStringList arguments = QApplication::arguments();
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  if (!ParseHostOptions(args, &options, &error)) {
    std::fprintf(stderr, "qm-settings-host: %s\n%s", error.c_str(), HostUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(HostUsage(), stdout);
    return 0;
  }
  const bool interactive = !options.accept && !options.cancel && options.screenshot.empty();

  for (const std::string& module : options.registerModules) {
    const auto r =
        platform::com::CallSelfRegistration(module, platform::com::RegistrationCall::Register);
    if (r.stage == platform::com::SelfRegistrationResult::LoadFailed)
      return Fail(4, module + " did not load: " + platform::ErrorText(r.loadError), interactive);
    if (r.stage != platform::com::SelfRegistrationResult::Done)
      return Fail(4, module + ": " + r.entry + " failed (" + Hex(r.hr) + ")", interactive);
  }

  SettingsSession session;
  if (const int32_t hr = session.Open(options.progId); platform::com::FAILED(hr))
    return Fail(3,
                "the settings object " + options.progId + " could not be created (" + Hex(hr) +
                    "); register it with qmregsvr QrxCfgObject.dll or start with --register",
                interactive);
  int result = 1;
  {
    SettingsHostWindow window(session);
    window.show();
    QTimer::singleShot(0, &window, [&] {
      if (!options.screenshot.empty()) {
        QApplication::processEvents();
        if (!window.grab().save(QString::fromStdString(options.screenshot)))
          std::fprintf(stderr, "qm-settings-host: could not write %s\n",
                       options.screenshot.c_str());
        if (!options.accept) window.reject();
      }
      if (options.accept) window.accept();
      if (options.cancel) window.reject();
    });
    result = window.exec() == QDialog::Accepted ? 0 : 1;
  }
  session.Close();
  return result;
}
