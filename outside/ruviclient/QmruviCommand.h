// The qmruvi command line: a small control centre that starts a downloader task and commands it.
#pragma once

#include <iosfwd>

namespace ruviclient {

// RunQmruvi: runs one qmruvi command line. Results go to out, messages to
// err. Returns the exit status: 0 success (a command carried out), 1 failure
// or refusal.
int RunQmruvi(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace ruviclient
