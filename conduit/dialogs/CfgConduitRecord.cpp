// The user name of CfgConduit's argument record, kept within its field.
#include "conduit/dialogs/CfgConduitRecord.h"

#include <cstring>

namespace conduit {

std::string_view UserName(const CfgConduitRecord& record) {
  const void* end = std::memchr(record.userName, '\0', sizeof record.userName);
  const size_t n = end ? static_cast<size_t>(static_cast<const char*>(end) - record.userName)
                       : sizeof record.userName;
  return {record.userName, n};
}

}  // namespace conduit
