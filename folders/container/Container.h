// Operations of the folder program on a container file.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "folders/volumes/VolumeRecord.h"

namespace folders {

// Results beyond the cipher library's -1 and -2.
inline constexpr int kCannotCreateFile = -3;  // CreateContainer
inline constexpr int kCannotOpenFile = -3;    // ChangeContainerPassword
inline constexpr int kNotEnoughRoom = -4;     // ChangeContainerPassword: no room for the new copy
inline constexpr int kEmptyPassword = -5;     // an empty password never reaches the ciphers

// PasswordBytes: the password's UTF-16 code units in little-endian order,
// without terminator: the key, and what the digest covers.
std::span<const uint8_t> PasswordBytes(std::u16string_view password);

// CreateContainer: creates the file at record.path (replacing one there) with
// a header from the record (cipher number, time-out) and `sizeKb` KB of
// password-keyed RC4 fill. 0, kCipherLibraryMissing, kCipherNotSupported,
// kCannotCreateFile (a failed or empty write also ends here and removes the
// partial file), kEmptyPassword.
int CreateContainer(const VolumeRecord& record, uint32_t sizeKb, std::u16string_view password);

// ReadContainerHeader: 1 when the file at `path` is a container, filling the
// record's digest, cipher number, size in KB and time-out; else 0 with the
// record's size and cipher number set to 0.
int ReadContainerHeader(VolumeRecord& record, std::u16string_view path);

// VerifyPassword: true when the password's digest equals the record's; an
// empty password is never right.
bool VerifyPassword(const VolumeRecord& record, std::u16string_view password);

// ChangeContainerPassword: re-enciphers every sector from the old password to
// the new one, all or nothing: 0, kCipherLibraryMissing, kCipherNotSupported,
// kCannotOpenFile, kNotEnoughRoom, kEmptyPassword.
int ChangeContainerPassword(const VolumeRecord& record, std::u16string_view oldPassword,
                            std::u16string_view newPassword);

// WriteContainerTimeout: stores the time-out at offset 32; 1 or 0.
int WriteContainerTimeout(const VolumeRecord& record, uint32_t seconds);

}  // namespace folders
