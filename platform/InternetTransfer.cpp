// One HTTP GET driven by a libcurl multi handle, pulled piece by piece.
#include "platform/InternetTransfer.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

namespace platform {
namespace {

// How long one wait for the network lasts at most: it bounds how late a
// time-out is noticed. A cancel wakes the wait at once.
constexpr int kPollMs = 50;

constexpr size_t kStatusLineChars = 128;
constexpr long kMaxRedirects = 10;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

// CheckUrl: what the Windows library says about an address before any
// connection: malformed, or a scheme other than http and https.
uint32_t CheckUrl(std::string_view url) {
  if (url.find('\0') != std::string_view::npos) return ERROR_INTERNET_INVALID_URL;
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return ERROR_INTERNET_INTERNAL_ERROR;
  const std::string text(url);
  uint32_t rc = 0;
  const CURLUcode set = curl_url_set(parsed, CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME);
  if (set == CURLUE_BAD_SCHEME || set == CURLUE_UNSUPPORTED_SCHEME) {
    rc = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  } else if (set != CURLUE_OK) {
    rc = ERROR_INTERNET_INVALID_URL;
  } else {
    char* scheme = nullptr;
    char* host = nullptr;
    if (curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK || scheme == nullptr) {
      rc = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    } else if (std::strcmp(scheme, "http") != 0 && std::strcmp(scheme, "https") != 0) {
      rc = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    } else if (curl_url_get(parsed, CURLUPART_HOST, &host, 0) != CURLUE_OK || host == nullptr ||
               *host == '\0') {
      rc = ERROR_INTERNET_INVALID_URL;
    }
    curl_free(scheme);
    curl_free(host);
  }
  curl_url_cleanup(parsed);
  return rc;
}

}  // namespace

void InternetCancel::Cancel() {
  cancelled_.store(true);
  std::lock_guard<std::mutex> lock(mutex_);
  for (CURLM* multi : multis_) curl_multi_wakeup(multi);
}

void InternetCancel::Attach(CURLM* multi) {
  std::lock_guard<std::mutex> lock(mutex_);
  multis_.push_back(multi);
}

void InternetCancel::Detach(CURLM* multi) {
  std::lock_guard<std::mutex> lock(mutex_);
  multis_.erase(std::remove(multis_.begin(), multis_.end(), multi), multis_.end());
}

CURLcode CurlGlobalInit() {
  static std::once_flag once;
  static CURLcode result = CURLE_FAILED_INIT;
  std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
  return result;
}

uint32_t InternetErrorFromCurl(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return 0;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_ABORTED_BY_CALLBACK:
      return ERROR_INTERNET_OPERATION_CANCELLED;
    case CURLE_PARTIAL_FILE:
      return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_BAD_CONTENT_ENCODING:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_TOO_MANY_REDIRECTS:
      return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
      return ERROR_INTERNET_SECURE_FAILURE;
    default:
      return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

InternetTransfer::InternetTransfer(std::shared_ptr<InternetCancel> cancel, InternetLimits limits)
    : cancel_(std::move(cancel)), limits_(limits) {}

InternetTransfer::~InternetTransfer() {
  if (attached_) {
    cancel_->Detach(multi_);
    curl_multi_remove_handle(multi_, easy_);
  }
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  if (multi_ != nullptr) curl_multi_cleanup(multi_);
  curl_slist_free_all(headers_);
}

uint32_t InternetTransfer::Configure(std::string_view url, const std::string& agent) {
  multi_ = curl_multi_init();
  easy_ = curl_easy_init();
  if (multi_ == nullptr || easy_ == nullptr) return ERROR_INTERNET_INTERNAL_ERROR;
  // Caching off as the Windows library's no-cache flags ask for it: every
  // cache on the way is told to go back to the server.
  for (const char* header : {"Cache-Control: no-cache", "Pragma: no-cache"}) {
    curl_slist* more = curl_slist_append(headers_, header);
    if (more == nullptr) return ERROR_INTERNET_INTERNAL_ERROR;
    headers_ = more;
  }
  const std::string address(url);
  bool ok = curl_easy_setopt(easy_, CURLOPT_URL, address.c_str()) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent.c_str()) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, long{limits_.connectTimeoutMs}) ==
        CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, static_cast<long>(kHoldLimit)) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &InternetTransfer::OnBody) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &InternetTransfer::OnHeader) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  ok &=
      curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &InternetTransfer::OnProgress) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &InternetTransfer::OnConnected) == CURLE_OK;
  ok &= curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this) == CURLE_OK;
  if (!ok) return ERROR_INTERNET_INTERNAL_ERROR;
  if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return ERROR_INTERNET_INTERNAL_ERROR;
  cancel_->Attach(multi_);
  attached_ = true;
  return 0;
}

uint32_t InternetTransfer::Start(std::string_view url, const std::string& agent) {
  if (cancel_->cancelled()) return ERROR_INTERNET_OPERATION_CANCELLED;
  if (const uint32_t rc = CheckUrl(url); rc != 0) return rc;
  if (const uint32_t rc = Configure(url, agent); rc != 0) return rc;
  while (!headersDone_ && !done_)
    if (const uint32_t rc = Pump(); rc != 0) return rc;
  if (headersDone_) return 0;
  // Ended before a final response arrived. The scheme was checked, so an
  // unsupported protocol now is a redirect elsewhere or a reply that is no
  // HTTP at all.
  if (doneCode_ == CURLE_UNSUPPORTED_PROTOCOL)
    return sawLocation_ ? ERROR_HTTP_REDIRECT_FAILED : ERROR_HTTP_INVALID_SERVER_RESPONSE;
  if (doneCode_ == CURLE_OK) return status_ > 0 ? 0 : ERROR_HTTP_INVALID_SERVER_RESPONSE;
  return InternetErrorFromCurl(doneCode_);
}

uint32_t InternetTransfer::Read(std::span<std::byte> buffer, size_t& read) {
  read = 0;
  if (cancel_->cancelled()) return ERROR_INTERNET_OPERATION_CANCELLED;
  for (;;) {
    const size_t take = std::min(Buffered(), buffer.size() - read);
    std::copy_n(buffer_.begin() + static_cast<std::ptrdiff_t>(head_), take, buffer.begin() + read);
    head_ += take;
    read += take;
    if (head_ == buffer_.size()) {
      buffer_.clear();
      head_ = 0;
    }
    if (read == buffer.size()) return 0;
    // Whatever arrived before a failure is handed out first; the failure
    // itself comes with the piece that could not be filled.
    if (done_) return InternetErrorFromCurl(doneCode_);
    if (paused_) Resume();
    if (const uint32_t rc = Pump(); rc != 0) return rc;
  }
}

void InternetTransfer::Resume() {
  paused_ = false;
  // The peer was not silent while the reader kept it waiting.
  lastActivity_ = Clock::now();
  curl_easy_pause(easy_, CURLPAUSE_CONT);
}

// Pump: one round of the transfer: lets libcurl work, then waits a short
// while for the network. Returns 0 (check done_), or the code that ends the
// transfer for good (cancelled, timed out).
uint32_t InternetTransfer::Pump() {
  if (cancel_->cancelled()) return ERROR_INTERNET_OPERATION_CANCELLED;
  const size_t bufferedBefore = buffer_.size();
  const bool headersBefore = headersDone_;
  int running = 0;
  if (curl_multi_perform(multi_, &running) != CURLM_OK) {
    done_ = true;
    doneCode_ = CURLE_FAILED_INIT;
    return ERROR_INTERNET_INTERNAL_ERROR;
  }
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg == CURLMSG_DONE) {
      done_ = true;
      doneCode_ = message->data.result;
    }
  }
  // Something for the caller: no wait.
  if (done_ || paused_ || headersDone_ != headersBefore || buffer_.size() != bufferedBefore)
    return cancel_->cancelled() ? ERROR_INTERNET_OPERATION_CANCELLED : 0;
  curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
  if (cancel_->cancelled()) return ERROR_INTERNET_OPERATION_CANCELLED;
  if (connected_ &&
      Clock::now() - lastActivity_ > std::chrono::milliseconds(limits_.receiveTimeoutMs)) {
    done_ = true;
    doneCode_ = CURLE_OPERATION_TIMEDOUT;
    return ERROR_INTERNET_TIMEOUT;
  }
  return 0;
}

size_t InternetTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<InternetTransfer*>(self);
  const size_t n = size * count;
  t->lastActivity_ = Clock::now();
  if (t->Buffered() > 0 && t->Buffered() + n > kHoldLimit) {
    t->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  const auto* bytes = reinterpret_cast<const std::byte*>(data);
  try {
    t->buffer_.insert(t->buffer_.end(), bytes, bytes + n);
  } catch (const std::bad_alloc&) {
    return 0;  // no exception may pass through libcurl; this fails the transfer
  }
  return n;
}

size_t InternetTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<InternetTransfer*>(self);
  const size_t n = size * count;
  const std::string_view line(data, n);
  t->lastActivity_ = Clock::now();
  if (StartsWithNoCase(line, "HTTP/")) {
    // A new response (after an interim one or a redirect): only the final
    // response's page is the body.
    try {
      t->statusLine_ = std::string(WithoutLineEnd(line).substr(0, kStatusLineChars));
    } catch (const std::bad_alloc&) {
      return 0;
    }
    t->sawLocation_ = false;
    t->buffer_.clear();
    t->head_ = 0;
  } else if (StartsWithNoCase(line, "Location:")) {
    t->sawLocation_ = true;
  } else if (WithoutLineEnd(line).empty()) {
    long code = 0;
    curl_easy_getinfo(t->easy_, CURLINFO_RESPONSE_CODE, &code);
    t->status_ = static_cast<int>(code);
    const bool followed = code / 100 == 3 && t->sawLocation_;
    if (code >= 200 && !followed) t->headersDone_ = true;
  }
  return n;
}

int InternetTransfer::OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<InternetTransfer*>(self)->cancel_->cancelled() ? 1 : 0;
}

int InternetTransfer::OnConnected(void* self, char*, char*, int, int) {
  auto* t = static_cast<InternetTransfer*>(self);
  t->connected_ = true;
  t->lastActivity_ = Clock::now();
  return CURL_PREREQFUNC_OK;
}

}  // namespace platform
