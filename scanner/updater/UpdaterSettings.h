// The updater's addresses, base file name and frequency in the device registry.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "scanner/updater/UpdaterState.h"

namespace scanner {

// kUpdaterKey: the updater's key below HKEY_CURRENT_USER of the device registry.
inline constexpr char16_t kUpdaterKey[] = u"Software\\Quillmark Lab\\ZEP PPC\\Updater";

// Value names besides "Url0" … "Url9".
inline constexpr char16_t kFileValue[] = u"File";
inline constexpr char16_t kFrequencyValue[] = u"Frequency";

// kUpdaterReadBytes: how much of a text value is read, terminator included.
inline constexpr uint32_t kUpdaterReadBytes = 520;

// kDefaultFrequency: "Frequency" when it is missing.
inline constexpr uint32_t kDefaultFrequency = 3;

// UrlValueName: "Url" followed by the digit of index (0–9).
std::u16string UrlValueName(size_t index);

// WithTrailingSlash: the address with "/" appended when it ends in neither
// "/" nor a backslash (an empty address stays empty).
std::u16string WithTrailingSlash(std::u16string_view url);

// FitsUrlField: whether the address, after the trailing "/" rule, fits a
// field of kUrlChars with its terminator.
bool FitsUrlField(std::u16string_view url);

// UrlFromValue: the address held by a "UrlN" value's type and bytes (at
// most kUpdaterReadBytes), after the trailing "/" rule. False (out
// untouched) for a value that is not text, is empty or does not fit the field.
bool UrlFromValue(uint32_t type, std::span<const uint8_t> bytes, std::u16string& out);

// LoadUpdaterSettings: reads "Bases" from the scanner's key, then
// "Frequency", "File" and "Url0"… from the Updater key (created when
// missing). The address list ends at the first missing number; a value that
// is not a fitting text is passed over. A missing "Bases" is the scanner's
// own default base folder and a missing or empty "File" the base's name
// ("ZEPBase.zvb"), so that a download lands where start-up looks for it.
// Returns 0, or the platform error code when the Updater key can be neither
// opened nor created (the list is then empty).
uint32_t LoadUpdaterSettings(UpdaterState& updater);

// SaveUpdaterSettings: replaces the address list in the Updater key with the
// first urlCount addresses (at most ten, each after the trailing "/" rule,
// stored without terminator): every "Url0"…"Url9" is deleted first. All of it
// lands or none of it. "File" and "Frequency" are not written. Returns 0 or
// the platform error code.
uint32_t SaveUpdaterSettings(const UpdaterState& updater);

}  // namespace scanner
