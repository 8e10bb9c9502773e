// A prompt for tests: scripted answers and a record of every message shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompt.h"

namespace platform {

// ShownMessage: one message as the code under test showed it.
struct ShownMessage {
  std::string text;
  std::string caption;
  uint32_t icon = 0;     // flags & MB_ICONMASK
  uint32_t buttons = 0;  // flags & MB_TYPEMASK
  uint32_t flags = 0;    // everything that was passed
  int answer = 0;        // what this prompt answered
};

// ScriptedPrompt: answers from a queue, then with a fixed default answer if
// one is set, else with the default button of each message's set. Safe to
// call from several threads.
class ScriptedPrompt : public Prompt {
 public:
  using Prompt::Show;

  // Show: records the message and returns the next scripted answer.
  int Show(std::string_view text, std::string_view caption, uint32_t flags) override;

  // Answer: queues answers, used in order by the next messages.
  void Answer(int answer);
  void Answer(std::initializer_list<int> answers);

  // SetDefaultAnswer: the answer once the queue is empty; nullopt restores the
  // default button of each message.
  void SetDefaultAnswer(std::optional<int> answer);

  // shown: a copy of every message so far, oldest first.
  std::vector<ShownMessage> shown() const;
  size_t count() const;
  // last: the latest message; an empty record when none was shown.
  ShownMessage last() const;
  // pending: scripted answers not yet used.
  size_t pending() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::optional<int> defaultAnswer_;
  std::vector<ShownMessage> shown_;
};

}  // namespace platform
