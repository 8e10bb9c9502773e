// Small helpers through which the walker and the run report to the window and the list.
#pragma once

#include <cstdint>
#include <string_view>

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// SendProgress: the progress message to notifyWindow, when there is one.
void SendProgress(Scanner& scanner, uint32_t first, uint32_t second);

// SetStatusText: the status window's text, when there is one.
void SetStatusText(Scanner& scanner, std::u16string_view text);

// AddResultRow: a row with item value 1, when there is a list.
void AddResultRow(Scanner& scanner, std::u16string_view object, std::u16string_view result);

// ErrorPause: the sleep after an error (errorPauseMs).
void ErrorPause(const Scanner& scanner);

// WaitForGo: waits on pauseEvent without a time-out; false when a stop was
// requested meanwhile, so the caller unwinds releasing what it holds.
bool WaitForGo(Scanner& scanner);

}  // namespace scanner
