// What a page or the window answers to the apply command and the commands around it.
#pragma once

#include <cstdint>

#include "platform/Prompt.h"

namespace scanner {

// Results of applying a page or the window's settings.
inline constexpr int kApplied = 0;
inline constexpr int kApplyInvalid = -1;   // a page refused its controls (message shown)
inline constexpr int kApplyRunning = -2;   // a scan is not Idle (message 93 shown)
inline constexpr int kApplyNotSaved = -3;  // applied to the scanner, but SaveSettings failed

// Message numbers of the window and its pages.
inline constexpr uint32_t kMsgApply = 3;
inline constexpr uint32_t kMsgApplySettings = 4;
inline constexpr uint32_t kMsgSaveSettings = 6;
inline constexpr uint32_t kMsgCannotApply = 93;
inline constexpr uint32_t kMsgUserMaskEmpty = 100;
inline constexpr uint32_t kMsgExcludeMaskEmpty = 101;

// The boxes the window shows: errors with the error icon, questions with the
// question icon.
inline constexpr uint32_t kErrorBox = platform::MB_ICONERROR | platform::MB_OK;
inline constexpr uint32_t kYesNoQuestion = platform::MB_ICONQUESTION | platform::MB_YESNO;
inline constexpr uint32_t kYesNoCancelQuestion =
    platform::MB_ICONQUESTION | platform::MB_YESNOCANCEL;

}  // namespace scanner
