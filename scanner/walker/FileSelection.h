// Which files a scan examines: the option filter and the program test.
#pragma once

#include <string_view>

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// Results of IsProgramFile besides a platform error code.
inline constexpr int kIsProgram = -1;
inline constexpr int kNotProgram = -2;

// IsProgramFile: the program test on a handheld path: the file starts with
// "MZ", the 32-bit value at offset 60 is at least 64, and the 4 bytes there
// are "PE\0\0". Returns -1 for a program, -2 for another file (a file too
// short for a test counts as another file), or the platform's error code when
// the file cannot be opened or read. The file is opened without sharing and
// closed in all cases.
int IsProgramFile(std::u16string_view path);

// IsFileSelected: the file filter of the scan options, in this order:
// exclude mask (0x8), ROM files (0x10), all files (0x1), program test (0x2),
// user mask (0x4). `path` is the handheld path, `name` the file's name in its
// real letter case; the masks are compared with a lower-case copy of it. A
// program test that cannot read the file counts an error (row "Cannot open
// file." and the file error message with the code) and answers false.
bool IsFileSelected(Scanner& scanner, std::u16string_view path, std::u16string_view name);

}  // namespace scanner
