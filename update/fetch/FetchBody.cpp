// The read loop of one fetched file.
#include "update/fetch/FetchBody.h"

#include <algorithm>
#include <array>

#include "platform/File.h"
#include "platform/Internet.h"
#include "update/fetch/FetchControl.h"
#include "update/fetch/FetchResult.h"

namespace update {

bool HoldsErrorPageMarker(std::span<const std::byte> piece) {
  const auto end = std::find(piece.begin(), piece.end(), std::byte{0});
  const std::string_view text(reinterpret_cast<const char*>(piece.data()),
                              static_cast<size_t>(end - piece.begin()));
  return text.find(kErrorPageMarker) != std::string_view::npos;
}

int CopyBody(platform::InternetRequest& request, platform::File& file, FetchControl* control) {
  std::array<std::byte, kFetchChunkSize> buffer;
  size_t got = 0;
  do {
    if (control != nullptr && !control->PassGate()) return kFetchBroken;
    got = 0;
    // A read that fails ends the fetch as failed even when some bytes came:
    // a cut answer must never stand in for the file.
    if (request.Read(buffer, got) != 0) return kFetchBroken;
    const std::span<const std::byte> piece(buffer.data(), got);
    if (HoldsErrorPageMarker(piece)) return kFetchErrorPage;
    if (got > 0) {
      size_t written = 0;
      const uint32_t rc =
          file.Write({reinterpret_cast<const uint8_t*>(piece.data()), piece.size()}, written);
      if (rc != 0 || written != got) return kFetchWriteFailed;
    }
  } while (got == kFetchChunkSize);
  return kFetchOk;
}

}  // namespace update
