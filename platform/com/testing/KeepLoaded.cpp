// Modules the component tests keep mapped until the process ends.
#include "platform/com/testing/KeepLoaded.h"

#include <memory>
#include <vector>

#include "platform/Module.h"

namespace platform::com::testing {

bool KeepLoaded(std::string_view path) {
  // Held through a pointer that is never freed: nothing unloads them at exit.
  static auto* kept = new std::vector<std::unique_ptr<Module>>();
  auto module = std::make_unique<Module>();
  if (module->Load(path) != 0) return false;
  kept->push_back(std::move(module));
  return true;
}

}  // namespace platform::com::testing
