// The updater's address list from the command line, under the Configure Updater dialog's rules.
#pragma once

#include <iosfwd>
#include <string>

namespace zepscan {

// UrlsAction: what `zepscan urls` does.
enum class UrlsAction { List, Add, Remove };

// RunUrls: `zepscan urls list` prints the addresses one a line on out; `add`
// and `remove` change the list as the dialog's Add or Remove and OK do
// (duplicates refused regardless of letter case and the trailing "/", at
// most ten, the "/" appended when stored). The dialog's messages go to err
// as "caption: text". Returns kExitClean, or kExitError when the list cannot
// be read or written, the address is refused, or (remove) not listed.
int RunUrls(UrlsAction action, const std::string& url, std::ostream& out, std::ostream& err);

}  // namespace zepscan
