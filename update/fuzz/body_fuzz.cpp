// Fuzz target: any answer streamed into the temporary file is kept whole, or refused as an error
// page.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>

#include "platform/File.h"
#include "platform/Internet.h"
#include "platform/ProcessId.h"
#include "update/fetch/FetchBody.h"
#include "update/fetch/FetchResult.h"

namespace {

// PieceRequest: the fuzz input as an answer that fills whole pieces, as the
// internet library does.
class PieceRequest final : public platform::InternetRequest {
 public:
  explicit PieceRequest(std::span<const uint8_t> body) : body_(body) {}
  uint32_t Read(std::span<std::byte> buffer, std::size_t& read) override {
    read = std::min(buffer.size(), body_.size() - offset_);
    if (read > 0) std::memcpy(buffer.data(), body_.data() + offset_, read);
    offset_ += read;
    return 0;
  }
  int StatusCode() const override { return 200; }
  std::string LastResponseInfo() const override { return "HTTP/1.1 200 OK"; }

 private:
  std::span<const uint8_t> body_;
  size_t offset_ = 0;
};

// Expected: whether some piece holds "HTML" before its first zero byte.
bool HoldsMarkerSomewhere(std::span<const uint8_t> body) {
  for (size_t at = 0; at < body.size(); at += update::kFetchChunkSize) {
    const auto piece = body.subspan(at, std::min(update::kFetchChunkSize, body.size() - at));
    const auto zero = std::find(piece.begin(), piece.end(), uint8_t{0});
    const std::string text(piece.begin(), zero);
    if (text.find("HTML") != std::string::npos) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() /
       ("update_body_fuzz_" + std::to_string(platform::CurrentProcessId()) + ".tmp"))
          .string();
  const std::span<const uint8_t> body(data, size);
  platform::File file;
  if (file.Open(platform::HostFilePath(path), platform::GENERIC_WRITE, 0,
                platform::Disposition::CreateAlways) != 0)
    return 0;
  PieceRequest request(body);
  const int result = update::CopyBody(request, file, nullptr);
  file.Close();
  if (HoldsMarkerSomewhere(body)) {
    if (result != update::kFetchErrorPage) std::abort();
  } else {
    if (result != update::kFetchOk) std::abort();
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (written.size() != size || (size > 0 && std::memcmp(written.data(), data, size) != 0))
      std::abort();
  }
  return 0;
}
