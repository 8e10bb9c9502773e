// One file over HTTP: session, address, temporary file, pieces, copy into place.
#include "update/fetch/FetchFile.h"

#include <memory>

#include "platform/DesktopPath.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Internet.h"
#include "update/fetch/FetchBody.h"

namespace update {

namespace {

// Report: the control centre hears (a, b) only while it runs the update as a
// task, which the "Tasks" subkey announces.
void Report(const palmsettings::PalmSettings& record, const FetchContext& context, int a, int b) {
  if (record.NoTasksKey == 0 && context.sendStatusEx != nullptr) context.sendStatusEx(a, b);
}

void Advance(const palmsettings::PalmSettings& record) {
  if (record.progressWindow != nullptr) record.progressWindow->OffsetPos(2);
}

// SessionAttachment: keeps the session known to the control for exactly as
// long as it lives, so a stop from another thread can reach it.
class SessionAttachment {
 public:
  SessionAttachment(FetchControl* control, platform::InternetSession* session) : control_(control) {
    if (control_ != nullptr) control_->Attach(session);
  }
  ~SessionAttachment() {
    if (control_ != nullptr) control_->Detach();
  }
  SessionAttachment(const SessionAttachment&) = delete;
  SessionAttachment& operator=(const SessionAttachment&) = delete;

 private:
  FetchControl* control_;
};

}  // namespace

int FetchFile(std::string_view source, std::string_view target, std::string_view temporary,
              palmsettings::PalmSettings& record, const FetchContext& context) {
  if (record.progressWindow != nullptr) record.progressWindow->SetRange(0, 10);
  Report(record, context, 6, 0);

  std::unique_ptr<platform::InternetSession> session;
  if (platform::InternetSession::Open(kAgentName, session, context.limits) != 0) {
    Report(record, context, 8, 0);
    return kFetchNoSession;
  }
  const SessionAttachment attachment(context.control, session.get());
  Advance(record);
  Report(record, context, 6, 20);

  std::unique_ptr<platform::InternetRequest> request;
  if (session->OpenUrl(source, request) != 0) {
    Report(record, context, 8, 0);
    return kFetchNoAddress;
  }
  Advance(record);
  Report(record, context, 1, 40);

  const platform::FilePath temporaryPath = platform::ResolveDesktopPath(temporary);
  platform::File file;
  if (file.Open(temporaryPath, platform::GENERIC_WRITE, 0, platform::Disposition::CreateAlways,
                platform::FILE_ATTRIBUTE_NORMAL) != 0) {
    Report(record, context, 8, 0);
    return kFetchNoTempFile;
  }
  // An error status is an error page whatever its text: a plain "Not Found"
  // must not become a virus base.
  const int status = request->StatusCode();
  int result =
      status >= 200 && status <= 299 ? CopyBody(*request, file, context.control) : kFetchErrorPage;
  file.Close();
  Advance(record);
  Report(record, context, 1, 80);

  // A stop that came after the last piece still keeps the target as it was.
  if (result == kFetchOk && context.control != nullptr && context.control->cancelled())
    result = kFetchBroken;
  if (result == kFetchOk && platform::CopyFile(temporaryPath, platform::ResolveDesktopPath(target),
                                               platform::IfExists::Replace) != 0) {
    context.prompt.Show(kCopyFailedText, kCopyFailedCaption,
                        platform::MB_OK | platform::MB_ICONERROR);
    return kFetchCopyFailed;
  }

  platform::DeleteFile(temporaryPath);
  request.reset();
  Advance(record);
  Report(record, context, 2, 0);
  return result;
}

}  // namespace update
