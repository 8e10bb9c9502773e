// The HotSync manager's run of one synchronisation and of a conduit's configuration.
#include "outside/hotsync/HotSyncManager.h"

#include <cstring>
#include <vector>

#include "outside/hotsync/ConduitModule.h"
#include "outside/hslog20/HsLog20Library.h"
#include "outside/palmdesktop/InstallFolder.h"
#include "outside/palmdesktop/PalmUsers.h"
#include "outside/sync20/Handheld.h"
#include "outside/sync20/Sync20Library.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/PathName.h"

namespace hotsync {

namespace {

// The progress callback has no context argument: it prints to the stream
// of the synchronisation under way (one at a time per process).
std::ostream* gProgressOut = nullptr;

void PrintProgress(const char* text) {
  if (gProgressOut != nullptr) *gProgressOut << "progress: " << (text ? text : "") << "\n";
}

template <size_t N>
void CopyText(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

uint64_t FileSize(const std::string& hostPath) {
  platform::FileInfo info;
  return platform::GetFileInfo(platform::HostFilePath(hostPath), info) == 0 ? info.size : 0;
}

// LogSince: the lines of the log file after its first `offset` bytes.
std::vector<std::string> LogSince(const std::string& hostPath, uint64_t offset) {
  std::vector<std::string> lines;
  platform::File file;
  if (file.Open(platform::HostFilePath(hostPath), platform::GENERIC_READ,
                platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                platform::Disposition::OpenExisting) != 0 ||
      file.Seek(static_cast<int64_t>(offset), platform::SeekOrigin::Begin) != 0)
    return lines;
  std::string text;
  uint8_t buffer[4096];
  for (size_t got = 0; file.Read(buffer, got) == 0 && got > 0;)
    text.append(reinterpret_cast<const char*>(buffer), got);
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// InstallQueued: moves the user's queued databases onto the handheld.
void InstallQueued(const std::string& user, const hslog20::HsLog20Library& log, std::ostream& out) {
  for (const std::string& file : palmdesktop::QueuedFiles(user)) {
    const std::string fileName(platform::SplitLastComponent(file).second);
    std::string database;
    const int32_t rc = sync20::InstallFile(user, file, database);
    std::string line;
    if (rc == 0) {
      platform::DeleteFile(platform::HostFilePath(file));
      line = "Install - " + fileName + " - OK";
    } else {
      line = "Install - " + fileName + " - failed (" + std::to_string(rc) + ")";
    }
    log.LogAddEntry(line.c_str(), 0, 0);
    out << line << "\n";
  }
}

bool LoadLibraries(sync20::Sync20Library& sync, hslog20::HsLog20Library& log, std::ostream& err) {
  if (const uint32_t rc = sync.Load(); rc != 0) {
    err << "hotsync: the sync manager library Sync20.dll does not load (" << rc << ", "
        << platform::ErrorText(rc) << ")\n";
    return false;
  }
  if (const uint32_t rc = log.Load(); rc != 0) {
    err << "hotsync: the log library HsLog20.dll does not load (" << rc << ", "
        << platform::ErrorText(rc) << ")\n";
    return false;
  }
  return true;
}

bool LoadConduit(ConduitModule& conduit, const std::string& name, std::ostream& err) {
  if (const uint32_t rc = conduit.Load(name); rc != 0) {
    err << "hotsync: the conduit " << name << " does not load (" << rc << ", "
        << platform::ErrorText(rc) << ")\n";
    return false;
  }
  return true;
}

std::string ConduitName(const ConduitModule& conduit) {
  char name[256] = {};
  if (conduit.GetConduitName(name, sizeof name) != 0) return "(no name)";
  name[sizeof name - 1] = '\0';
  return name;
}

}  // namespace

std::string ResolveUser(const std::string& user, std::ostream& err) {
  const auto users = palmdesktop::ListUsers();
  if (user.empty()) {
    if (users.size() == 1) return users[0].name;
    err << "hotsync: "
        << (users.empty() ? "there is no HotSync user (add one with add-user)"
                          : "there are several HotSync users: name one with --user")
        << "\n";
    return {};
  }
  for (const auto& u : users)
    if (u.name == user) return user;
  err << "hotsync: no HotSync user is named \"" << user << "\"\n";
  return {};
}

int RunSync(const SyncRequest& request, std::ostream& out, std::ostream& err) {
  const std::string user = ResolveUser(request.user, err);
  if (user.empty()) return kExitNotRun;
  palmdesktop::SyncTypes types;
  palmdesktop::ReadSyncTypes(user, types);
  const int32_t syncType = request.syncType.value_or(types.next);

  sync20::Sync20Library sync;
  hslog20::HsLog20Library log;
  if (!LoadLibraries(sync, log, err)) return kExitNotRun;
  ConduitModule conduit;
  if (!LoadConduit(conduit, request.conduit, err)) return kExitNotRun;

  char logPath[1024] = {};
  log.LogPath(logPath, sizeof logPath);
  const uint64_t logStart = FileSize(logPath);
  if (const int32_t rc = sync.BeginSession(user.c_str()); rc != 0) {
    err << "hotsync: the handheld of " << user << " cannot be reached (" << rc << ")\n";
    return kExitNotRun;
  }
  out << "HotSync for " << user << ", sync type " << syncType << "\n";
  InstallQueued(user, log, out);

  out << "Conduit: " << ConduitName(conduit) << ", version " << conduit.GetConduitVersion() << "\n";
  ConduitSyncProperties properties{};
  properties.syncType = syncType;
  CopyText(properties.userName, user);
  CopyText(properties.userFolder, palmdesktop::UserFolder(user));
  gProgressOut = &out;
  const int32_t result = conduit.OpenConduit(PrintProgress, &properties);
  gProgressOut = nullptr;
  sync.EndSession();
  if (!request.syncType.has_value()) palmdesktop::ClearNextSyncType(user);

  out << "OpenConduit returned " << result << "\n";
  out << "HotSync log:\n";
  for (const auto& line : LogSince(logPath, logStart)) out << "  " << line << "\n";
  return result == 0 ? kExitOk : kExitConduitFailed;
}

int Configure(const std::string& requested, const std::string& conduitName, std::ostream& out,
              std::ostream& err) {
  const std::string user = ResolveUser(requested, err);
  if (user.empty()) return kExitNotRun;
  ConduitModule conduit;
  if (!LoadConduit(conduit, conduitName, err)) return kExitNotRun;
  palmdesktop::SyncTypes types;
  palmdesktop::ReadSyncTypes(user, types);

  ConduitCfgRecord record{};
  record.version = 1;
  CopyText(record.userName, user);
  CopyText(record.userFolder, palmdesktop::UserFolder(user));
  record.defaultSyncType = types.standing;
  record.nextSyncType = types.next;
  record.chosenSyncType = -1;
  record.defaultFlag = 0;
  uint32_t size = sizeof record;
  const int32_t rc = conduit.CfgConduit(0, &record, &size);
  if (rc != 0) {
    err << "hotsync: CfgConduit returned " << rc << "\n";
    return kExitConduitFailed;
  }
  if (record.defaultFlag != 1 && record.defaultFlag != 2) {
    out << "Unchanged: sync type " << types.standing << ", next " << types.next << "\n";
    return kExitOk;
  }
  const auto scope = record.defaultFlag == 1 ? palmdesktop::SyncTypeScope::Standing
                                             : palmdesktop::SyncTypeScope::NextOnly;
  if (const uint32_t w = palmdesktop::WriteSyncTypes(user, record.chosenSyncType, scope); w != 0) {
    err << "hotsync: the choice cannot be stored (" << w << ", " << platform::ErrorText(w) << ")\n";
    return kExitNotRun;
  }
  out << (scope == palmdesktop::SyncTypeScope::Standing ? "Sync type " : "Next sync type ")
      << record.chosenSyncType << "\n";
  return kExitOk;
}

}  // namespace hotsync
