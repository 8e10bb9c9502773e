// The report file written at the end of every run.
#pragma once

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// kReportTextChars: each row text is read into this many characters,
// terminator included, before it is written.
inline constexpr size_t kReportTextChars = 128;

// WriteReport: writes the rows of item value 1 and the counters to
// reportPath as 8-bit (UTF-8) text ended by line feeds, appended with flag
// 0x200 and replacing the file otherwise. Returns 1, also when flag 0x100 is
// clear and nothing is written; 0 when there is no list, or when the file
// cannot be opened, after the message "Cannot open report file.".
int WriteReport(Scanner& scanner);

}  // namespace scanner
