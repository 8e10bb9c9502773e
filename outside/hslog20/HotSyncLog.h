// HotSyncLog: the log file behind the log library's stand-in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hslog20 {

// LogFilePath: QM_HOTSYNC_LOG, else $QM_HOME/hotsync.log.
std::string LogFilePath();

// AppendLogLine: appends `text` and a line feed to the log file (line
// breaks inside the text become spaces), creating the file and its folder
// when missing. Safe from several threads. Returns 0 or a Win32 code.
uint32_t AppendLogLine(std::string_view text);

}  // namespace hslog20
