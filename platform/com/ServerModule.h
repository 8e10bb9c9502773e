// The state every in-process server module keeps: its lock count and its own file.
#pragma once

#include <cstdint>
#include <string>

namespace platform::com {

// Each server module links its own copy of this runtime, so the lock count
// below is that module's alone.

// LockModule / UnlockModule: add one to or take one from the module's lock
// count, atomically (the count is touched from any thread). UnlockModule
// refuses to go below zero and returns false then: an unbalanced unlock
// must not let a later lock read as "unlocked".
void LockModule();
bool UnlockModule();

// ModuleLockCount: the current lock count (objects alive plus server locks).
int32_t ModuleLockCount();

// ModuleFileOf: the absolute host path of the module file that holds
// `address` (a function or object of that module); empty when unknown.
std::string ModuleFileOf(const void* address);

}  // namespace platform::com
