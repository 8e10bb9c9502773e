// hotsync: the HotSync manager: users, the emulated handheld's databases, synchronising and
// configuring.
#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>

#include "conduit/pdb/PdbDatabase.h"
#include "outside/hotsync/HotSyncManager.h"
#include "outside/palmdesktop/PalmUsers.h"
#include "outside/sync20/Handheld.h"
#include "platform/Errors.h"

namespace {

int AddUser(const std::string& name, const std::string& desktopFolder) {
  if (!desktopFolder.empty() || palmdesktop::DesktopFolder().empty()) {
    const std::string folder =
        desktopFolder.empty() ? std::string(hotsync::kDefaultDesktopFolder) : desktopFolder;
    if (const uint32_t rc = palmdesktop::SetDesktopFolder(folder); rc != 0) {
      std::cerr << "hotsync: the Palm Desktop folder cannot be stored (" << rc << ")\n";
      return hotsync::kExitNotRun;
    }
  }
  if (const uint32_t rc = palmdesktop::AddUser(name); rc != 0) {
    std::cerr << "hotsync: cannot add \"" << name << "\": " << platform::ErrorText(rc) << "\n";
    return hotsync::kExitNotRun;
  }
  std::cout << "Added " << name << " (folder " << palmdesktop::UserFolder(name) << ")\n";
  return hotsync::kExitOk;
}

int ListUsers() {
  std::cout << "Palm Desktop folder: " << palmdesktop::DesktopFolder() << "\n";
  for (const auto& user : palmdesktop::ListUsers()) {
    palmdesktop::SyncTypes types;
    palmdesktop::ReadSyncTypes(user.name, types);
    std::cout << user.name << "  id " << user.id << "  sync type " << types.standing << "  next "
              << types.next << "\n";
  }
  return hotsync::kExitOk;
}

int ListDatabases(const std::string& requested) {
  const std::string user = hotsync::ResolveUser(requested, std::cerr);
  if (user.empty()) return hotsync::kExitNotRun;
  for (const auto& name : sync20::ListDatabases(user)) {
    conduit::PdbDatabase db;
    const int32_t rc = sync20::LoadDatabase(sync20::DatabasePath(user, name), db);
    if (rc == 0)
      std::cout << name << "  " << db.records.size() << " records\n";
    else
      std::cout << name << "  unreadable (" << rc << ")\n";
  }
  return hotsync::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"The HotSync manager: runs a conduit against the emulated handheld"};
  app.require_subcommand(1);

  std::string user;
  std::string conduit = hotsync::kDefaultConduit;
  std::optional<int32_t> syncType;
  auto* sync = app.add_subcommand("sync", "synchronise one user's handheld");
  sync->add_option("--user,-u", user, "the HotSync user (may be left out when there is one)");
  sync->add_option("--sync-type,-t", syncType, "0 fast ... 6 do nothing (default: the user's)")
      ->check(CLI::Range(0, 6));
  sync->add_option("--conduit,-c", conduit, "the conduit module");

  auto* configure = app.add_subcommand("configure", "show the conduit's settings for a user");
  configure->add_option("--user,-u", user, "the HotSync user");
  configure->add_option("--conduit,-c", conduit, "the conduit module");

  std::string newUser, desktopFolder;
  auto* addUser = app.add_subcommand("add-user", "add a HotSync user");
  addUser->add_option("name", newUser, "the user's name")->required();
  addUser->add_option("--desktop-folder", desktopFolder,
                      "the Palm Desktop folder (set to C:\\Program Files\\Palm when none is)");

  auto* users = app.add_subcommand("users", "list the HotSync users");
  auto* databases = app.add_subcommand("databases", "list the databases on a user's handheld");
  databases->add_option("--user,-u", user, "the HotSync user");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help is a parse "error" that exits with 0; every real one is a
    // command that did not run.
    return app.exit(e) == 0 ? hotsync::kExitOk : hotsync::kExitNotRun;
  }
  if (*sync) return hotsync::RunSync({user, syncType, conduit}, std::cout, std::cerr);
  if (*configure) return hotsync::Configure(user, conduit, std::cout, std::cerr);
  if (*addUser) return AddUser(newUser, desktopFolder);
  if (*users) return ListUsers();
  if (*databases) return ListDatabases(user);
  return hotsync::kExitNotRun;
}
