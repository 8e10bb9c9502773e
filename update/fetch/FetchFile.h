// FetchFile: one file from one address, through a temporary file, into its target.
#pragma once

#include <string_view>

#include "palmsettings/PalmSettings.h"
#include "update/fetch/FetchContext.h"
#include "update/fetch/FetchResult.h"

namespace update {

// kAgentName: the agent the internet connection announces.
inline constexpr char kAgentName[] = "ZEP for PalmOS";

// The message shown when a fetched file cannot be put in place.
inline constexpr char kCopyFailedText[] = "Cannot copy temp file!";
inline constexpr char kCopyFailedCaption[] = "GetUpdate()";

// FetchFile: fetches `source` (an address) into the desktop path `target`
// through the desktop path `temporary`. The record's progress bar gets the
// range 0-10 and moves by 2 at four steps; the control centre hears (6, 0),
// (6, 20), (1, 40), (1, 80) and (2, 0) on success, (8, 0) when the internet
// library, the address or the temporary file fails (see FetchContext for
// when it hears anything).
//
// Returns kFetchOk with the target replaced by the complete answer; else a
// FetchResult with the target untouched: kFetchNoSession, kFetchNoAddress
// and kFetchNoTempFile before anything is written; kFetchErrorPage (a piece
// holding "HTML", or an answer whose status is not 2xx, read no further),
// kFetchBroken and kFetchWriteFailed with the temporary file removed;
// kFetchCopyFailed after the message "Cannot copy temp file!" captioned
// "GetUpdate()", leaving the temporary file with the fetched answer.
int FetchFile(std::string_view source, std::string_view target, std::string_view temporary,
              palmsettings::PalmSettings& record, const FetchContext& context);

}  // namespace update
