// The qmreg command line: query, set, delete, export and import.
#pragma once

#include <iosfwd>

namespace qmreg {

// RunQmreg: runs one qmreg command line. Results go to out, messages to err.
// Returns the exit status: 0 success, 1 failure.
int RunQmreg(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace qmreg
