// Lines of standard input read on the main thread on behalf of the scan worker.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

namespace zepscan {

// MainThreadInput: the worker asks, the main thread reads. A stop signal
// interrupts a read only on the thread that receives it, which is the main
// thread; reading there keeps an unanswered question from holding a stop.
class MainThreadInput {
 public:
  explicit MainThreadInput(std::FILE* in) : in_(in) {}

  // ReadLine: (worker) one line without its line end, read by the main
  // thread's Serve; nullopt at the end of the input, after an interrupted
  // read, or once Cancel was called.
  std::optional<std::string> ReadLine();

  // Serve: (main thread) reads the line asked for, if any; returns at once
  // when nothing is asked.
  void Serve();

  // Cancel: answers the pending request and every later one with nullopt.
  void Cancel();

 private:
  std::FILE* in_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool asked_ = false;
  bool answered_ = false;
  bool cancelled_ = false;
  std::optional<std::string> answer_;
};

}  // namespace zepscan
