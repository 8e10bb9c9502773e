// Creating containers from "New...": one worker per creation, serialised by the creation lock.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "folders/dialogs/NewFolderRequest.h"
#include "platform/Prompt.h"

namespace folders {

// CreationMessageId: the string shown for a CreateContainer result: 51, 52,
// 55 (empty password), 83 for every other failure; 0 for success.
uint32_t CreationMessageId(int result);

// CreateFolder: the creation job: CreateContainer with the request's record,
// size and password, then the list entry. A failure is shown on `prompt`
// under "Quillmark Coffer" and leaves no entry. Returns CreateContainer's
// result, or the Win32 code of a failed entry write (shown as its text: the
// file exists but the list would not show it).
int CreateFolder(const NewFolderRequest& request, platform::Prompt& prompt);

// CreationWorkers: owns the creation lock and the running workers. Each
// worker holds its own copy of the request, so a second "New..." cannot
// change what a running creation writes. The destructor joins every worker.
class CreationWorkers {
 public:
  // Finished: called on the worker thread with the job's result, after the
  // lock is released and the worker no longer counts in Running().
  using Finished = std::function<void(int result)>;

  CreationWorkers() = default;
  CreationWorkers(const CreationWorkers&) = delete;
  CreationWorkers& operator=(const CreationWorkers&) = delete;
  ~CreationWorkers();

  // Start: starts a worker that takes the creation lock, runs CreateFolder
  // and calls `finished`. The prompt must outlive the worker.
  void Start(NewFolderRequest request, platform::Prompt& prompt, Finished finished);

  // Running: the number of workers that have not finished their job (their
  // `finished` call may still be under way; JoinAll waits for it).
  size_t Running() const { return running_.load(); }

  // JoinAll: waits for every worker. A worker may be showing a message, so
  // the caller must not block the thread that shows it (see Running).
  void JoinAll();

  // Lock: the creation lock, also taken by the command line's creation.
  std::mutex& Lock() { return lock_; }

 private:
  std::mutex lock_;
  std::mutex threadsMutex_;
  std::vector<std::thread> threads_;
  std::atomic<size_t> running_{0};
};

}  // namespace folders
