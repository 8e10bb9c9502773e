// One download attempt from one address, and putting a verified base in place.
#include "scanner/updater/DownloadOne.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/DevicePath.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Internet.h"
#include "platform/Text.h"
#include "scanner/virusbase/CheckSignature.h"

namespace scanner {
namespace {

constexpr int kProgressHigh = 10;
constexpr int kProgressStep = 2;
constexpr size_t kCopyBytes = 64 * 1024;

void Mark(UpdaterState& updater) {
  if (updater.progressWindow) updater.progressWindow->OnProgressAdvance(kProgressStep);
}

// ActiveSession: makes the worker's session reachable for AbortDownload for
// as long as it lives; a session opened after an abort is cancelled at once.
class ActiveSession {
 public:
  ActiveSession(UpdaterState& updater, platform::InternetSession& session) : updater_(updater) {
    std::lock_guard<std::mutex> lock(updater_.mutex);
    updater_.session = &session;
    if (updater_.abortRequested) session.Cancel();
  }
  ~ActiveSession() {
    std::lock_guard<std::mutex> lock(updater_.mutex);
    updater_.session = nullptr;
  }
  ActiveSession(const ActiveSession&) = delete;
  ActiveSession& operator=(const ActiveSession&) = delete;

 private:
  UpdaterState& updater_;
};

bool HoldsPageMark(const std::byte* data, size_t n) {
  const std::string_view piece(reinterpret_cast<const char*>(data), n);
  return piece.find("HTML") != std::string_view::npos;
}

// Fetch: steps 4 and 5 of an attempt, with the address open: the pause, the
// pieces into the temporary file, the check and the replacement.
int32_t Fetch(UpdaterState& updater, platform::InternetRequest& request,
              const platform::FilePath& temp, std::u16string_view destination) {
  platform::File file;
  if (file.Open(temp, platform::GENERIC_WRITE, 0, platform::Disposition::CreateAlways) != 0)
    return kDownloadFailed;

  int32_t result = kDownloadDone;
  if (updater.abortEvent.Wait(updater.pauseMs) == platform::WAIT_OBJECT_0) {
    result = kDownloadCancelled;
  } else {
    std::byte piece[kPieceBytes];
    for (;;) {
      size_t read = 0;
      if (const uint32_t rc = request.Read(piece, read); rc != 0) {
        // A transfer that broke off is no complete base, unlike the end of
        // the body.
        result = rc == platform::ERROR_INTERNET_OPERATION_CANCELLED || updater.abortRequested
                     ? kDownloadCancelled
                     : kDownloadFailed;
        break;
      }
      if (HoldsPageMark(piece, read)) {
        result = kDownloadFailed;
        break;
      }
      size_t written = 0;
      if (file.Write({reinterpret_cast<const uint8_t*>(piece), read}, written) != 0) {
        result = kDownloadFailed;
        break;
      }
      if (read < kPieceBytes) break;
    }
  }
  file.Close();
  Mark(updater);

  if (result == kDownloadDone) {
    if (CheckSignature(temp.host) != 0) {
      if (updater.prompt)
        updater.prompt->Show(kSignatureInvalidText, kSignatureInvalidCaption,
                             platform::MB_ICONERROR | platform::MB_OK);
      result = kDownloadBadSignature;
    } else if (updater.abortRequested) {
      result = kDownloadCancelled;
    } else if (ReplaceBase(temp, destination) != 0) {
      // The original reported success here whatever the copy did.
      result = kDownloadFailed;
    }
  }
  platform::DeleteFile(temp);
  Mark(updater);
  return result;
}

}  // namespace

int32_t DownloadOne(UpdaterState& updater, std::u16string_view url, std::u16string_view destination,
                    std::u16string_view tempFile) {
  if (updater.progressWindow) updater.progressWindow->OnProgressRange(0, kProgressHigh);
  std::unique_ptr<platform::InternetSession> session;
  if (platform::InternetSession::Open(kUpdaterAgent, session, updater.limits) != 0)
    return kDownloadNoInternet;
  ActiveSession active(updater, *session);
  Mark(updater);

  std::unique_ptr<platform::InternetRequest> request;
  if (session->OpenUrl(platform::Utf16ToUtf8(url), request) != 0)
    return updater.abortRequested ? kDownloadCancelled : kDownloadFailed;
  Mark(updater);

  const platform::FilePath temp = platform::ResolveDevicePath(tempFile);
  if (!temp.ok()) return kDownloadFailed;
  return Fetch(updater, *request, temp, destination);
}

uint32_t ReplaceBase(const platform::FilePath& from, std::u16string_view to) {
  const platform::FilePath target = platform::ResolveDevicePath(to);
  if (!target.ok()) return target.error;
  const platform::FilePath fresh = platform::ResolveDevicePath(std::u16string(to) + u".new");
  if (!fresh.ok()) return fresh.error;

  platform::File in;
  if (const uint32_t rc = in.Open(from, platform::GENERIC_READ, platform::FILE_SHARE_READ,
                                  platform::Disposition::OpenExisting);
      rc != 0)
    return rc;
  platform::File out;
  if (const uint32_t rc =
          out.Open(fresh, platform::GENERIC_WRITE, 0, platform::Disposition::CreateAlways);
      rc != 0)
    return rc;
  uint32_t rc = 0;
  std::vector<uint8_t> buffer(kCopyBytes);
  for (;;) {
    size_t read = 0;
    if ((rc = in.Read(buffer, read)) != 0 || read == 0) break;
    size_t written = 0;
    if ((rc = out.Write({buffer.data(), read}, written)) != 0) break;
  }
  // On the disk before the rename, so that the name never points at a file
  // whose data a power loss could still take away.
  if (rc == 0) rc = out.Flush();
  out.Close();
  in.Close();
  if (rc == 0) rc = platform::MoveFile(fresh, target, platform::IfExists::Replace);
  if (rc != 0) platform::DeleteFile(fresh);
  return rc;
}

}  // namespace scanner
