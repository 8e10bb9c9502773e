// The results of fetching one file.
#pragma once

namespace update {

// FetchFile's results. -1 to -5 are the long-standing ones; -6 and -7 tell
// apart failures that would otherwise pass for a complete file.
enum FetchResult : int {
  kFetchOk = 0,
  kFetchNoSession = -1,    // the internet library did not open
  kFetchNoAddress = -2,    // the address did not open (bad address, no answer, cancelled)
  kFetchNoTempFile = -3,   // the temporary file could not be created
  kFetchErrorPage = -4,    // an error page: a piece held "HTML", or the status was not 2xx
  kFetchCopyFailed = -5,   // the temporary file could not be copied over the target
  kFetchBroken = -6,       // the transfer broke off, timed out or was stopped
  kFetchWriteFailed = -7,  // the temporary file could not be written (disk full)
};

}  // namespace update
