// HTTP downloads over libcurl with the Windows internet library's behaviour.
#include "platform/Internet.h"

#include <new>
#include <utility>

#include "platform/InternetTransfer.h"

namespace platform {
namespace {

// CurlRequest: an opened address; the transfer goes with it.
class CurlRequest : public InternetRequest {
 public:
  explicit CurlRequest(std::unique_ptr<InternetTransfer> transfer)
      : transfer_(std::move(transfer)) {}

  uint32_t Read(std::span<std::byte> buffer, size_t& read) override {
    return transfer_->Read(buffer, read);
  }
  int StatusCode() const override { return transfer_->status(); }
  std::string LastResponseInfo() const override { return transfer_->statusLine(); }

 private:
  std::unique_ptr<InternetTransfer> transfer_;
};

}  // namespace

InternetSession::InternetSession(std::string agent, InternetLimits limits)
    : agent_(std::move(agent)), limits_(limits), cancel_(std::make_shared<InternetCancel>()) {}

InternetSession::~InternetSession() = default;

uint32_t InternetSession::Open(std::string_view agent, std::unique_ptr<InternetSession>& out,
                               InternetLimits limits) {
  out.reset();
  if (CurlGlobalInit() != CURLE_OK) return ERROR_NOT_ENOUGH_MEMORY;
  try {
    out.reset(new InternetSession(std::string(agent), limits));
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  return 0;
}

uint32_t InternetSession::OpenUrl(std::string_view url, std::unique_ptr<InternetRequest>& out) {
  out.reset();
  try {
    auto transfer = std::make_unique<InternetTransfer>(cancel_, limits_);
    if (const uint32_t rc = transfer->Start(url, agent_); rc != 0) return rc;
    out = std::make_unique<CurlRequest>(std::move(transfer));
  } catch (const std::bad_alloc&) {
    return ERROR_INTERNET_INTERNAL_ERROR;
  }
  return 0;
}

void InternetSession::Cancel() {
  cancel_->Cancel();
}

}  // namespace platform
