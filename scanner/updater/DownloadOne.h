// One download attempt from one address, and putting a verified base in place.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/FilePath.h"
#include "scanner/updater/UpdaterState.h"

namespace scanner {

// kUpdaterAgent: the agent name sent with every request.
inline constexpr char kUpdaterAgent[] = "ZEP for PocketPC";

// The box shown for a downloaded file that is not genuine.
inline constexpr char16_t kSignatureInvalidText[] = u"Signature INVALID";
inline constexpr char16_t kSignatureInvalidCaption[] = u"GetUpdate";

// kPieceBytes: the size of the pieces the body is read in.
inline constexpr size_t kPieceBytes = 1024;

// DownloadOne: one attempt: fetches `url` into the handheld file `tempFile`
// (after updater.pauseMs), rejects a piece holding "HTML", checks the
// signature ("Signature INVALID" on updater.prompt when it fails) and puts
// the file in place of `destination` with ReplaceBase. The progress bar gets
// the range 0–10 and four steps of 2. Returns kDownloadDone,
// kDownloadNoInternet, kDownloadFailed (address, page, broken transfer,
// temporary file or base not writable), kDownloadCancelled (aborted) or
// kDownloadBadSignature. The temporary file is gone afterwards, and the
// destination is either the old file untouched or the whole new one.
int32_t DownloadOne(UpdaterState& updater, std::u16string_view url, std::u16string_view destination,
                    std::u16string_view tempFile);

// ReplaceBase: copies `from` to a sibling of `to` (its name and ".new"),
// flushes it to the disk and renames it over `to`, so that an interruption at
// any point leaves either the old file or the new one. Returns 0 or the
// platform error code; on failure `to` is untouched and the sibling removed.
uint32_t ReplaceBase(const platform::FilePath& from, std::u16string_view to);

}  // namespace scanner
