// PalmUsers: the Palm Desktop's HotSync users and folders, kept in the desktop registry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace palmdesktop {

// Where the Palm Desktop keeps its state (HKEY_CURRENT_USER of the desktop
// registry): "DesktopPath" in the core key, and one subkey per HotSync user
// below the users key, in the order the users were added, holding the
// user's id ("UserID") and the HotSync manager's sync types for the conduit
// ("SyncType", and "NextSyncType" for the next synchronisation only).
inline constexpr char kCoreKey[] = "SOFTWARE\\U.S. Robotics\\Pilot Desktop\\Core";
inline constexpr char kUsersKey[] = "SOFTWARE\\U.S. Robotics\\Pilot Desktop\\Users";
inline constexpr char kDesktopPathValue[] = "DesktopPath";
inline constexpr char kUserIdValue[] = "UserID";
inline constexpr char kSyncTypeValue[] = "SyncType";
inline constexpr char kNextSyncTypeValue[] = "NextSyncType";

// PalmUser: one HotSync user. `hasId` is false when the stored id is missing.
struct PalmUser {
  std::string name;
  uint32_t id = 0;
  bool hasId = false;
};

// ListUsers: every user in the order they were added (empty when none).
std::vector<PalmUser> ListUsers();

// AddUser: adds a user with a new id (one more than the largest), creating
// the keys as needed. Names are 1 to 63 bytes and may not hold a backslash
// or be "." or "..". Returns 0; ERROR_ALREADY_EXISTS (183) for a user that
// exists; ERROR_INVALID_NAME (123) for a refused name; else a Win32 code.
uint32_t AddUser(std::string_view name);

// DesktopFolder: the Palm Desktop folder (a desktop path) from the core key,
// empty when it is not set.
std::string DesktopFolder();

// SetDesktopFolder: stores the Palm Desktop folder. Returns 0 or a Win32
// code.
uint32_t SetDesktopFolder(std::string_view desktopPath);

// UserFolder: DesktopFolder, a backslash and the user's name; empty when the
// Palm Desktop folder is not set.
std::string UserFolder(std::string_view user);

// SyncTypes: the HotSync manager's choice of sync type for the conduit.
struct SyncTypes {
  int32_t standing = 0;  // "SyncType" (0 when missing)
  int32_t next = 0;      // "NextSyncType", or `standing` when missing
};

// SyncTypeScope: whether a choice holds from now on or for the next
// synchronisation only.
enum class SyncTypeScope { Standing, NextOnly };

// ReadSyncTypes / WriteSyncTypes: a user's sync types. Writing NextOnly
// stores only "NextSyncType"; Standing stores "SyncType" and removes
// "NextSyncType". ClearNextSyncType removes it
// after the synchronisation it was for. Results are 0 or Win32 codes.
uint32_t ReadSyncTypes(std::string_view user, SyncTypes& out);
uint32_t WriteSyncTypes(std::string_view user, int32_t syncType, SyncTypeScope scope);
uint32_t ClearNextSyncType(std::string_view user);

// LogCall: appends a line to QM_PALMDESKTOP_LOG when it is set (the
// stand-ins record every call there for tests and demos).
void LogCall(std::string_view line);

}  // namespace palmdesktop
