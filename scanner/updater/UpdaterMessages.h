// The numbered messages and fixed texts of the updater's dialogs.
#pragma once

#include <cstdint>

namespace scanner {

// Message numbers (the scanner's string table).
inline constexpr uint32_t kMsgCancelling = 89;
inline constexpr uint32_t kMsgDownloading = 90;
inline constexpr uint32_t kMsgCancel = 116;
inline constexpr uint32_t kMsgGetUpdate = 117;
inline constexpr uint32_t kMsgRemove = 118;
inline constexpr uint32_t kMsgAdd = 119;
inline constexpr uint32_t kMsgConfigureUpdater = 120;
inline constexpr uint32_t kMsgCannotReadUpdater = 121;
inline constexpr uint32_t kMsgScannerRunning = 122;
inline constexpr uint32_t kMsgCannotDownload = 123;

// Fixed texts of the Configure Updater dialog.
inline constexpr char16_t kErrorCaption[] = u"Error!";
inline constexpr char16_t kDuplicateUrlText[] = u"Duplicate Url!";
inline constexpr char16_t kTooManyUrlsText[] = u"Too many Urls";
inline constexpr char16_t kUrlTooLongText[] = u"Url is too long";
inline constexpr char16_t kCannotWriteText[] = u"Error writing settings in registry";
inline constexpr char16_t kScanRunningCaption[] = u"Error";
inline constexpr char16_t kScanRunningText[] = u"Scanner is running.Cannot update bases.";

// Control numbers of the two dialogs.
inline constexpr int kControlCancel = 2;
inline constexpr int kControlUrlList = 1075;
inline constexpr int kControlUrlEdit = 1076;
inline constexpr int kControlGetUpdate = 1077;
inline constexpr int kControlRemove = 1078;
inline constexpr int kControlAdd = 1079;
inline constexpr int kControlProgress = 1080;
inline constexpr int kControlStatus = 1081;

}  // namespace scanner
