// Streaming an answer into the temporary file piece by piece, watching for error pages.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace platform {
class File;
class InternetRequest;
}  // namespace platform

namespace update {

class FetchControl;

// kFetchChunkSize: the one buffer a fetch streams through.
inline constexpr size_t kFetchChunkSize = 1024;

// kErrorPageMarker: a piece holding this text is taken for a server's error
// page rather than the file asked for.
inline constexpr std::string_view kErrorPageMarker = "HTML";

// HoldsErrorPageMarker: whether "HTML" occurs in `piece` before its first
// zero byte (the whole piece when it has none).
bool HoldsErrorPageMarker(std::span<const std::byte> piece);

// CopyBody: reads the answer in pieces of kFetchChunkSize until a read
// delivers less (also 0), appending each piece to `file`. Before each read
// the control's gate is passed (a pause waits there). Returns kFetchOk;
// kFetchErrorPage at the first piece holding the marker (that piece is not
// written); kFetchBroken when a read fails or the fetch was cancelled;
// kFetchWriteFailed when a piece cannot be written. On failure the file holds
// an incomplete answer and must not be used.
int CopyBody(platform::InternetRequest& request, platform::File& file, FetchControl* control);

}  // namespace update
