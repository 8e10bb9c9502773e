// Button sets and their default, affirmative and negative answers.
#include "platform/Prompt.h"

#include "platform/Text.h"

namespace platform {

int Prompt::Show(std::u16string_view text, std::u16string_view caption, uint32_t flags) {
  return Show(std::string_view(Utf16ToUtf8(text)), std::string_view(Utf16ToUtf8(caption)), flags);
}

std::vector<int> Buttons(uint32_t flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
      return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
      return {IDOK};
  }
}

int DefaultAnswer(uint32_t flags) {
  const auto buttons = Buttons(flags);
  const size_t index = (flags & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int AffirmativeAnswer(uint32_t flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
    case MB_RETRYCANCEL:
      return IDRETRY;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDYES;
    case MB_CANCELTRYCONTINUE:
      return IDCONTINUE;
    default:
      return IDOK;
  }
}

int NegativeAnswer(uint32_t flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
    case MB_CANCELTRYCONTINUE:
      return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDNO;
    default:
      return IDOK;
  }
}

const char* AnswerName(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDABORT:
      return "Abort";
    case IDRETRY:
      return "Retry";
    case IDIGNORE:
      return "Ignore";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    case IDTRYAGAIN:
      return "Try Again";
    case IDCONTINUE:
      return "Continue";
    default:
      return "?";
  }
}

}  // namespace platform
