// The zepscan command line: scanning, scan control, settings, base update and its addresses.
#pragma once

#include <iosfwd>

namespace zepscan {

// Exit statuses, as other command-line scanners have them.
inline constexpr int kExitClean = 0;     // the scan ran and found nothing
inline constexpr int kExitInfected = 1;  // something infected was found
inline constexpr int kExitError = 2;     // an error (or a stop) kept the job from being done

// RunZepscan: runs one zepscan command line. Result rows and the summary go
// to out; messages, the title and the progress line to err (questions read
// standard input). Returns one of the exit statuses above; never throws.
int RunZepscan(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace zepscan
