// Folder listings in the manner of FindFirstFile / FindNextFile.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileAttributes.h"
#include "platform/FilePath.h"

namespace platform {

// FindFile: one listing of a folder's entries that match a pattern, in the
// host's order (not sorted), "." and ".." left out. The handheld root lists
// its host entries and then its mounts (a card's folder with the temporary
// attribute; a card whose host folder is missing is left out); a host entry
// with a mount's name is hidden by the mount. Entries below a ROM mount carry
// in-ROM and read-only. Every call stores its result as the last error.
class FindFile {
 public:
  FindFile();
  FindFile(FindFile&&) noexcept;
  FindFile& operator=(FindFile&&) noexcept;
  ~FindFile();

  // First: starts listing `folder` with `pattern` (see MatchPattern: "*" and
  // "*.*" match all) and fills `out` with the first match. Returns 0,
  // ERROR_PATH_NOT_FOUND (3) when the folder is missing or is a file,
  // ERROR_FILE_NOT_FOUND (2) when nothing matches, or the resolution error.
  // A failure leaves the listing closed.
  uint32_t First(const FilePath& folder, std::string_view pattern, FindData& out);

  // FirstDevice / FirstDesktop: First for a handheld or desktop path whose
  // last component is the pattern ("\My Documents\*.*", "C:\base\*.pdb").
  uint32_t FirstDevice(std::string_view pathAndPattern, FindData& out);
  uint32_t FirstDevice(std::u16string_view pathAndPattern, FindData& out);
  uint32_t FirstDesktop(std::string_view pathAndPattern, FindData& out);

  // Next: the next match. Returns 0, or ERROR_NO_MORE_FILES (18) at the end
  // and on every later call, or 6 when no listing is open.
  uint32_t Next(FindData& out);

  // Close: ends the listing; harmless when none is open.
  void Close();

  bool isOpen() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
