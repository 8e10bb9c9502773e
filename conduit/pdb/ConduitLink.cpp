// Adding a line to the HotSync log through the linked log library.
#include "conduit/pdb/ConduitLink.h"

namespace conduit {

void AddLogLine(const ConduitLink& link, const char* text) {
  if (link.log != nullptr && link.log->LogAddEntry != nullptr) link.log->LogAddEntry(text, -1, 0);
}

}  // namespace conduit
