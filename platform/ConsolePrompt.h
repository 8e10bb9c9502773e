// A prompt for command-line front-ends: messages on stderr, answers by policy
// or from the terminal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "platform/Prompt.h"

namespace platform {

// ConsoleAnswers: how a console prompt answers questions.
enum class ConsoleAnswers {
  Auto,           // Ask when the input is a terminal, else DefaultButton
  Ask,            // read the answer from the input
  AlwaysYes,      // the affirmative answer (OK, Yes, Retry, Continue)
  AlwaysNo,       // the negative answer (Cancel, No, Abort)
  DefaultButton,  // the message's default button
};

// ConsolePrompt: writes "caption: text" and a line end to out for every
// message. A box with OK alone is answered at once; other sets are answered
// by the policy. When asking, the choices are offered as "[Yes/No] (Yes): "
// and a button is chosen by its name or the start of it, ignoring case; an
// empty line takes the default button and the end of input the negative
// answer. The streams are borrowed and must outlive the prompt.
class ConsolePrompt : public Prompt {
 public:
  explicit ConsolePrompt(ConsoleAnswers answers = ConsoleAnswers::Auto, std::FILE* in = stdin,
                         std::FILE* out = stderr);

  using Prompt::Show;

  // Show: prints the message and returns the answer chosen as above.
  int Show(std::string_view text, std::string_view caption, uint32_t flags) override;

 private:
  int Ask(uint32_t flags);

  ConsoleAnswers answers_;
  std::FILE* in_;
  std::FILE* out_;
  std::mutex mutex_;
};

}  // namespace platform
