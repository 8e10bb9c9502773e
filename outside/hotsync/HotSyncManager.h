// HotSyncManager: one synchronisation or one configuration of a conduit for a HotSync user.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace hotsync {

// Exit statuses of the manager's commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitConduitFailed = 1;  // the conduit answered something other than 0
inline constexpr int kExitNotRun = 2;         // no such user, or a library did not load

// kDefaultConduit: the conduit the manager runs unless told otherwise.
inline constexpr char kDefaultConduit[] = "ZEPPalm.dll";

// kDefaultDesktopFolder: the Palm Desktop folder set when none is.
inline constexpr char kDefaultDesktopFolder[] = "C:\\Program Files\\Palm";

// SyncRequest: who synchronises, with which sync type (the user's next sync
// type when none is given) and which conduit (a module name or a path).
struct SyncRequest {
  std::string user;
  std::optional<int32_t> syncType;
  std::string conduit = kDefaultConduit;
};

// RunSync: one synchronisation, as the HotSync manager runs it: starts a
// session of the sync manager for the user, installs the files queued in the
// user's Install folder onto the handheld (each one is removed from the
// queue once installed), loads the conduit and calls OpenConduit with the
// sync type and a progress callback that prints to `out`, ends the session,
// drops a next-only sync type, and prints the HotSync log lines the
// synchronisation added. Problems go to `err`. Returns a kExit* status.
int RunSync(const SyncRequest& request, std::ostream& out, std::ostream& err);

// Configure: shows the conduit's settings through CfgConduit for the user
// (the user's standing and next sync types in the record) and stores what
// the conduit chose: as the standing type when it set the default flag to 1,
// for the next synchronisation only when it set 2, nothing when it left the
// record unchanged (Cancel). Returns a kExit* status.
int Configure(const std::string& user, const std::string& conduit, std::ostream& out,
              std::ostream& err);

// ResolveUser: `user` when given and known; the only user when none is
// given and there is exactly one; else empty with the reason in `err`.
std::string ResolveUser(const std::string& user, std::ostream& err);

}  // namespace hotsync
