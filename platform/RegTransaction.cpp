// Explicit registry transactions.
#include "platform/RegTransaction.h"

#include "platform/Errors.h"
#include "platform/RegistryStore.h"

namespace platform {

RegTransaction::~RegTransaction() {
  Rollback();
}

uint32_t RegTransaction::Begin() {
  if (active_) return ERROR_INVALID_FUNCTION;
  uint32_t error = ERROR_SUCCESS;
  store_ = RegistryStore::ForStore(kind_, &error);
  if (!store_) return error;
  lock_ = std::unique_lock<std::recursive_mutex>(store_->lock());
  if (uint32_t e = store_->BeginTransaction()) {
    lock_.unlock();
    return e;
  }
  active_ = true;
  return ERROR_SUCCESS;
}

uint32_t RegTransaction::Commit() {
  if (!active_) return ERROR_INVALID_FUNCTION;
  active_ = false;
  uint32_t e = store_->CommitTransaction();
  lock_.unlock();
  return e;
}

void RegTransaction::Rollback() {
  if (!active_) return;
  active_ = false;
  store_->RollbackTransaction();
  lock_.unlock();
}

}  // namespace platform
