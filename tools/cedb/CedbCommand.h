// The cedb command line: create, add, list, delete and dump object-store records.
#pragma once

#include <iosfwd>

namespace cedb {

// RunCedb: runs one cedb command line against the object store at
// platform::ObjectStorePath(). Results go to out, messages to err. Returns
// the exit status: 0 success, 1 a usage or store error.
int RunCedb(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace cedb
