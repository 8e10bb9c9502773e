// ZEPPalm.so: the five exports that the HotSync manager calls, over one settings record that
// lives as long as the library.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

#include "conduit/dialogs/HeadlessUi.h"
#include "conduit/dialogs/qt/QtConduitUi.h"
#include "conduit/sync/ConduitQueries.h"
#include "conduit/sync/Synchronisation.h"
#include "outside/hotsync/ConduitApi.h"
#include "platform/ConsolePrompt.h"

#define CONDUIT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace conduit;

// The settings record of the library: built when the library is loaded and
// destroyed (its language library unloaded) when the library leaves the
// process. The library is linked to stay once loaded (Qt and the registry's
// caches cannot be unloaded cleanly), so that is when the process ends. The
// manager calls the exports on one thread, so nothing guards it.
palmsettings::PalmSettings g_settings;

// kHeadlessVariable: set (and not "0"), every dialog takes its default at
// once and messages go to standard error, for runs without anyone watching.
constexpr char kHeadlessVariable[] = "QM_CONDUIT_HEADLESS";

bool HeadlessAsked() {
  const char* value = std::getenv(kHeadlessVariable);
  return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

// CallUi: the dialogs of one export call. Qt when windows can be shown from
// this thread, else headless; the Qt application it may have made goes with
// it at the end of the call.
class CallUi {
 public:
  CallUi() {
    if (!HeadlessAsked() && QtConduitUi::Usable()) {
      qt_.emplace();
    } else {
      console_.emplace(platform::ConsoleAnswers::DefaultButton);
      headless_.emplace(*console_);
    }
  }
  ConduitUi& ui() { return qt_ ? static_cast<ConduitUi&>(*qt_) : *headless_; }

 private:
  std::optional<QtConduitUi> qt_;
  std::optional<platform::ConsolePrompt> console_;
  std::optional<HeadlessUi> headless_;
};

int32_t OpenConduitCall(ConduitProgressFn progress, ConduitSyncProperties* properties) {
  if (progress == nullptr) return kSyncRefused;
  // The manager loaded the same libraries: loading them again gives its
  // instances and its session.
  sync20::Sync20Library sync;
  hslog20::HsLog20Library log;
  sync.Load();
  log.Load();
  CallUi call;
  SyncEnvironment environment{call.ui(), &sync, log.loaded() ? &log : nullptr};
  return Synchronise(g_settings, environment, progress, properties);
}

int32_t CfgConduitCall(int32_t kind, void* argument, uint32_t* argumentSize) {
  CallUi call;
  return ConfigureConduit(g_settings, call.ui(), kind, argument, argumentSize);
}

}  // namespace

// OpenConduit: one synchronisation; 0, -1 or -2 (see Synchronise).
CONDUIT_EXPORT int32_t OpenConduit(ConduitProgressFn progress, ConduitSyncProperties* properties) {
  try {
    return OpenConduitCall(progress, properties);
  } catch (...) {
    return kSyncErrors;  // nothing may reach the manager but a result
  }
}

// GetConduitName: the conduit's name from its own table; 0 or -1.
CONDUIT_EXPORT int32_t GetConduitName(char* buffer, uint32_t size) {
  return ConduitName(buffer, size);
}

// GetConduitVersion: 258.
CONDUIT_EXPORT uint32_t GetConduitVersion() {
  return kConduitVersion;
}

// GetConduitInfo: the name and two further values; 0 or 4208-4215.
CONDUIT_EXPORT int32_t GetConduitInfo(int32_t kind, void* input, void* output,
                                      uint32_t* outputSize) {
  return ConduitInfo(kind, input, output, outputSize);
}

// CfgConduit: the settings dialog for the next synchronisation; 0 or 4212-4219.
CONDUIT_EXPORT int32_t CfgConduit(int32_t kind, void* argument, uint32_t* argumentSize) {
  try {
    return CfgConduitCall(kind, argument, argumentSize);
  } catch (...) {
    return -1;  // nothing may reach the manager but a result
  }
}

// The exports keep the manager's types.
static_assert(std::is_same_v<decltype(&OpenConduit), OpenConduitFn>);
static_assert(std::is_same_v<decltype(&GetConduitName), GetConduitNameFn>);
static_assert(std::is_same_v<decltype(&GetConduitVersion), GetConduitVersionFn>);
static_assert(std::is_same_v<decltype(&GetConduitInfo), GetConduitInfoFn>);
static_assert(std::is_same_v<decltype(&CfgConduit), CfgConduitFn>);
