// LeakCheckPause: keeps the leak checker from counting what the registry keeps for the process's
// lifetime.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define PALMDESKTOP_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PALMDESKTOP_LEAK_CHECKER 1
#endif
#endif

#ifdef PALMDESKTOP_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
#endif

namespace palmdesktop {

// LeakCheckPause: for the lifetime of the object, allocations are not
// reported as leaks. The stand-in libraries read the registry, whose layer
// keeps a few tables on the heap for the whole process; once a library is
// unloaded, its copies of those tables can no longer be reached, and the
// sanitizer build would count them as leaks at exit. Elsewhere it does
// nothing.
class LeakCheckPause {
 public:
  LeakCheckPause() {
#ifdef PALMDESKTOP_LEAK_CHECKER
    __lsan_disable();
#endif
  }
  ~LeakCheckPause() {
#ifdef PALMDESKTOP_LEAK_CHECKER
    __lsan_enable();
#endif
  }
  LeakCheckPause(const LeakCheckPause&) = delete;
  LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};

}  // namespace palmdesktop
