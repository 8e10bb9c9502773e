// The creation job of "New..." and the workers that run it.
#include "folders/ui/CreationWorkers.h"

#include <algorithm>
#include <string>
#include <utility>

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/VolumeList.h"
#include "platform/Errors.h"
#include "platform/Text.h"

namespace folders {

uint32_t CreationMessageId(int result) {
  switch (result) {
    case 0:
      return 0;
    case kCipherLibraryMissing:
      return kIdsNoCipherLibrary;
    case kCipherNotSupported:
      return kIdsCipherNotSupported;
    case kEmptyPassword:
      return kIdsPasswordRequired;
    default:
      return kIdsCannotFindFile;
  }
}

int CreateFolder(const NewFolderRequest& request, platform::Prompt& prompt) {
  const int result = CreateContainer(request.record, request.sizeKb, request.password);
  if (result != 0) {
    prompt.Show(FoldersText(CreationMessageId(result)), FoldersText(kIdsCaption),
                platform::MB_OK | platform::MB_ICONERROR);
    return result;
  }
  if (const uint32_t error = WriteVolumeEntry(request.record)) {
    prompt.Show(platform::Utf8ToUtf16(platform::ErrorText(error)), FoldersText(kIdsCaption),
                platform::MB_OK | platform::MB_ICONERROR);
    return static_cast<int>(error);
  }
  return 0;
}

CreationWorkers::~CreationWorkers() {
  JoinAll();
}

void CreationWorkers::Start(NewFolderRequest request, platform::Prompt& prompt, Finished finished) {
  ++running_;
  std::thread worker(
      [this, request = std::move(request), &prompt, finished = std::move(finished)]() mutable {
        int result = 0;
        {
          std::lock_guard<std::mutex> hold(lock_);
          result = CreateFolder(request, prompt);
        }
        // The password is no longer needed; do not leave it in the copy.
        std::fill(request.password.begin(), request.password.end(), u'\0');
        // Counted out before `finished`: what it triggers (the window's busy
        // bar) must already see this creation as done.
        --running_;
        if (finished) finished(result);
      });
  std::lock_guard<std::mutex> hold(threadsMutex_);
  threads_.push_back(std::move(worker));
}

void CreationWorkers::JoinAll() {
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> hold(threadsMutex_);
    threads.swap(threads_);
  }
  for (std::thread& t : threads)
    if (t.joinable()) t.join();
}

}  // namespace folders
