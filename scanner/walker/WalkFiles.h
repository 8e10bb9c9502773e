// The walk over the handheld's folder tree.
#pragma once

#include <string_view>

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// kDirectoryStackDepth: pending folders kept by one walk call before it
// recurses with a stack of its own.
inline constexpr int kDirectoryStackDepth = 16;

// WalkFiles: walks the folder tree from `startFolder` (a handheld path ending
// in a backslash; empty means the root "\"), scanning each selected file and
// counting folders, cards, files and errors in the scanner. The Infected
// folder and all below it are passed over; card folders (temporary
// attribute) are entered only with flag 0x20. Returns 0 when the walk is
// complete, or kScanStopped when a stop ended it at a wait point (every file
// and listing it held is released by then).
int WalkFiles(Scanner& scanner, std::u16string_view startFolder = {});

// ScanFile: maps one file and searches it; counts it in Files, or in Errors
// with the row "Cannot open file." when it cannot be opened or mapped (an
// empty file included). Runs the infected-file handling on a hit.
void ScanFile(Scanner& scanner, std::u16string_view path, std::u16string_view name);

}  // namespace scanner
