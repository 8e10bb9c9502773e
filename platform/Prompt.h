// The injected message box: every question or notice to the user goes here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Answers, numbered as on Windows.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

// Button sets (the low four bits of the flags).
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_RETRYCANCEL = 0x5;
inline constexpr uint32_t MB_CANCELTRYCONTINUE = 0x6;
inline constexpr uint32_t MB_TYPEMASK = 0xF;

// Icons.
inline constexpr uint32_t MB_ICONHAND = 0x10;
inline constexpr uint32_t MB_ICONERROR = MB_ICONHAND;
inline constexpr uint32_t MB_ICONSTOP = MB_ICONHAND;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr uint32_t MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr uint32_t MB_ICONASTERISK = 0x40;
inline constexpr uint32_t MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr uint32_t MB_ICONMASK = 0xF0;

// Default button.
inline constexpr uint32_t MB_DEFBUTTON1 = 0x000;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t MB_DEFBUTTON3 = 0x200;
inline constexpr uint32_t MB_DEFBUTTON4 = 0x300;
inline constexpr uint32_t MB_DEFMASK = 0xF00;

// Prompt: shows a message and returns the user's answer. The core calls it;
// the Qt view, a console front-end or a test script implements it. It may
// be called from any thread; an implementation serialises what it needs.
class Prompt {
 public:
  virtual ~Prompt() = default;

  // Show: shows text under caption with the icon, buttons and default button
  // of flags (MB_*); returns the ID* of the button chosen. Texts are UTF-8.
  virtual int Show(std::string_view text, std::string_view caption, uint32_t flags) = 0;

  // Show: the same for UTF-16 texts of handheld callers.
  int Show(std::u16string_view text, std::u16string_view caption, uint32_t flags);
};

// Buttons: the answers of a button set in their order on screen; an unknown
// set counts as MB_OK.
std::vector<int> Buttons(uint32_t flags);

// DefaultAnswer: the answer of the default button (MB_DEFBUTTONn); a default
// beyond the set's last button falls back to the first, as Windows does.
int DefaultAnswer(uint32_t flags);

// AffirmativeAnswer / NegativeAnswer: the answer that goes on (OK, Yes,
// Retry, Continue) and the one that holds back (Cancel, No, Abort; OK for a
// box with OK alone).
int AffirmativeAnswer(uint32_t flags);
int NegativeAnswer(uint32_t flags);

// AnswerName: "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No",
// "Try Again", "Continue"; "?" for another number.
const char* AnswerName(int answer);

}  // namespace platform
