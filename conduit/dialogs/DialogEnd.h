// How one of the conduit's modal dialogs ended.
#pragma once

namespace conduit {

// DialogEnd: still open, closed with OK, or closed with Cancel.
enum class DialogEnd { Open, Ok, Cancel };

}  // namespace conduit
