// Console messages and answers for command-line front-ends.
#include "platform/ConsolePrompt.h"

#include <unistd.h>

#include <string>

#include "platform/Text.h"

namespace platform {

ConsolePrompt::ConsolePrompt(ConsoleAnswers answers, std::FILE* in, std::FILE* out)
    : answers_(answers), in_(in), out_(out) {
  if (answers_ == ConsoleAnswers::Auto)
    answers_ = in_ && isatty(fileno(in_)) ? ConsoleAnswers::Ask : ConsoleAnswers::DefaultButton;
}

int ConsolePrompt::Show(std::string_view text, std::string_view caption, uint32_t flags) {
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
  std::fflush(out_);
  if (Buttons(flags).size() == 1) return Buttons(flags).front();
  switch (answers_) {
    case ConsoleAnswers::AlwaysYes:
      return AffirmativeAnswer(flags);
    case ConsoleAnswers::AlwaysNo:
      return NegativeAnswer(flags);
    case ConsoleAnswers::Ask:
      return Ask(flags);
    default:
      return DefaultAnswer(flags);
  }
}

int ConsolePrompt::Ask(uint32_t flags) {
  const auto buttons = Buttons(flags);
  std::string choices;
  for (int b : buttons) choices += std::string(choices.empty() ? "" : "/") + AnswerName(b);
  for (;;) {
    std::fprintf(out_, "[%s] (%s): ", choices.c_str(), AnswerName(DefaultAnswer(flags)));
    std::fflush(out_);
    std::string line;
    int c;
    while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) {
      std::fputc('\n', out_);
      return NegativeAnswer(flags);
    }
    const std::string reply = ToLower(Trim(line));
    if (reply.empty()) return DefaultAnswer(flags);
    int match = 0;
    int matches = 0;
    for (int b : buttons) {
      const std::string name = ToLower(std::string_view(AnswerName(b)));
      if (name == reply) return b;  // a whole name wins over prefixes
      if (name.compare(0, reply.size(), reply) == 0) {
        match = b;
        ++matches;
      }
    }
    if (matches == 1) return match;
    if (c == EOF) return NegativeAnswer(flags);
  }
}

}  // namespace platform
