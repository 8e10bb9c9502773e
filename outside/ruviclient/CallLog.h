// The client-library stand-in's record of every call, one line each, for tests and the tool.
#pragma once

#include <string_view>

namespace ruviclient {

// LogCall: appends `line` and a line end to the file named by QM_RUVI_LOG
// (read at each call, so a test may point it elsewhere between runs). Lines
// from several threads never interleave. Nothing happens when the variable
// is unset or the file cannot be opened.
void LogCall(std::string_view line);

}  // namespace ruviclient
