// The folder walk with its fixed directory stack.
#include "scanner/walker/WalkFiles.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/DevicePath.h"
#include "platform/FindFile.h"
#include "platform/MappedFile.h"
#include "platform/Text.h"
#include "scanner/scanrun/InfectedActions.h"
#include "scanner/scanrun/ScanEvents.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/virusbase/FindVirus.h"
#include "scanner/walker/FileSelection.h"

namespace scanner {
namespace {

// ComparablePath: the folded copy used to recognise the Infected folder;
// both separators count as one, as they do in every handheld path.
std::u16string ComparablePath(std::u16string_view path) {
  std::u16string folded = platform::ToLower(path);
  std::replace(folded.begin(), folded.end(), u'/', u'\\');
  return folded;
}

}  // namespace

void ScanFile(Scanner& scanner, std::u16string_view path, std::u16string_view name) {
  SetStatusText(scanner, path);
  const VirusRecord* found = nullptr;
  {
    platform::MappedFile view;
    const uint32_t code = view.Open(platform::ResolveDevicePath(path));
    // A file cut short by another program while it is searched cannot be
    // read to its end: an error like a file that cannot be opened.
    const bool readable =
        code == 0 && view.size() <= std::numeric_limits<uint32_t>::max() && view.Guarded([&] {
          if (scanner.base)
            found = FindVirus(*scanner.base, view.data(), static_cast<uint32_t>(view.size()));
        }) == 0;
    if (!readable) {
      ++scanner.errors;
      ErrorPause(scanner);
      SendProgress(scanner, kProgressFileError, 0);
      AddResultRow(scanner, path, ScannerText(kMsgCannotOpenFile));
      return;
    }
  }  // the view is gone before anything else happens to the file
  if (found) {
    ++scanner.virusesFound;
    HandleInfectedFile(scanner, path, name, *found);
    AddResultRow(scanner, path, ScannerText(kMsgInfectedWith) + std::u16string(found->nameText()));
  }
  // Counted before the message so that a view refreshing on it shows this file.
  ++scanner.files;
  SendProgress(scanner, kProgressFile, 0);
}

int WalkFiles(Scanner& scanner, std::u16string_view startFolder) {
  // Pending folders live in a fixed array so that deep trees need no
  // allocation; each ends in a backslash.
  char16_t stack[kDirectoryStackDepth][kPathChars];
  int pending = 0;
  platform::CopyToField(stack[pending++], kPathChars, startFolder.empty() ? u"\\" : startFolder);
  const std::u16string infected = ComparablePath(platform::FieldText(scanner.infectedPath));

  while (pending > 0) {
    const std::u16string folder(platform::FieldText(stack[--pending]));
    if (!infected.empty() && ComparablePath(folder) == infected) continue;
    ++scanner.folders;
    SendProgress(scanner, kProgressFolder, 0);

    platform::FindFile find;
    platform::FindData entry;
    if (find.FirstDevice(folder + u"*.*", entry) != 0) continue;
    do {
      const std::u16string name = platform::Utf8ToUtf16(entry.name);
      if (entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) {
        if (entry.attributes & platform::FILE_ATTRIBUTE_TEMPORARY) {
          if (!(scanner.flags & kScanCards)) continue;
          ++scanner.cards;
          SendProgress(scanner, kProgressCard, 0);
        }
        const std::u16string sub = folder + name + u'\\';
        // A path that does not fit the stack's fixed slots cannot be named
        // on the handheld either; it is passed over rather than cut short.
        if (sub.size() >= kPathChars) continue;
        if (pending < kDirectoryStackDepth) {
          platform::CopyToField(stack[pending++], kPathChars, sub);
        } else if (WalkFiles(scanner, sub) == kScanStopped) {
          return kScanStopped;
        }
      } else {
        if (!WaitForGo(scanner)) return kScanStopped;
        const std::u16string path = folder + name;
        if (!IsFileSelected(scanner, path, name)) continue;
        ScanFile(scanner, path, name);
      }
    } while (find.Next(entry) == 0);
  }
  return 0;
}

}  // namespace scanner
