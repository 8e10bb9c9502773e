// A group of registry writes that lands whole or not at all.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/RegStore.h"

namespace platform {

class RegistryStore;

// RegTransaction: while active, every write this thread makes to the store
// (through any handle of this process on it) joins one transaction; other
// threads of the process wait for it, other processes see nothing until
// Commit. Destroying an uncommitted transaction rolls it back.
class RegTransaction {
 public:
  explicit RegTransaction(RegStore store) : kind_(store) {}
  RegTransaction(const RegTransaction&) = delete;
  RegTransaction& operator=(const RegTransaction&) = delete;
  ~RegTransaction();

  // Begin: opens the store if needed and starts the transaction (waiting for
  // other writers up to the store's busy time-out). 0 or a Win32 code.
  uint32_t Begin();

  // Commit: makes the writes visible; on failure everything is rolled back
  // and the Win32 code returned.
  uint32_t Commit();

  // Rollback: undoes every write since Begin.
  void Rollback();

  bool active() const { return active_; }

 private:
  RegStore kind_;
  bool active_ = false;
  std::shared_ptr<RegistryStore> store_;
  std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace platform
