// Scripted answers for tests, with the record of what was shown.
#include "platform/ScriptedPrompt.h"

namespace platform {

int ScriptedPrompt::Show(std::string_view text, std::string_view caption, uint32_t flags) {
  std::lock_guard lock(mutex_);
  int answer;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  } else {
    answer = defaultAnswer_ ? *defaultAnswer_ : DefaultAnswer(flags);
  }
  shown_.push_back(ShownMessage{std::string(text), std::string(caption), flags & MB_ICONMASK,
                                flags & MB_TYPEMASK, flags, answer});
  return answer;
}

void ScriptedPrompt::Answer(int answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void ScriptedPrompt::Answer(std::initializer_list<int> answers) {
  std::lock_guard lock(mutex_);
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void ScriptedPrompt::SetDefaultAnswer(std::optional<int> answer) {
  std::lock_guard lock(mutex_);
  defaultAnswer_ = answer;
}

std::vector<ShownMessage> ScriptedPrompt::shown() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

size_t ScriptedPrompt::count() const {
  std::lock_guard lock(mutex_);
  return shown_.size();
}

ShownMessage ScriptedPrompt::last() const {
  std::lock_guard lock(mutex_);
  return shown_.empty() ? ShownMessage{} : shown_.back();
}

size_t ScriptedPrompt::pending() const {
  std::lock_guard lock(mutex_);
  return answers_.size();
}

void ScriptedPrompt::Clear() {
  std::lock_guard lock(mutex_);
  answers_.clear();
  shown_.clear();
  defaultAnswer_.reset();
}

}  // namespace platform
