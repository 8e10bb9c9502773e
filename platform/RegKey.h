// RegKey: an owned registry key with typed, store-aware value access.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegText.h"
#include "platform/Registry.h"

namespace platform {

// RegName: a key path or value name given as UTF-8 or UTF-16 text, so that
// handheld code can pass its char16_t names unchanged. Empty is the default
// value.
class RegName {
 public:
  RegName() = default;
  RegName(const char* name) : utf8_(name ? name : "") {}
  RegName(std::string_view name) : utf8_(name) {}
  RegName(const std::string& name) : utf8_(name) {}
  RegName(const char16_t* name);
  RegName(std::u16string_view name);
  RegName(const std::u16string& name);

  const char* c_str() const { return utf8_.c_str(); }
  const std::string& utf8() const { return utf8_; }

 private:
  std::string utf8_;
};

// RegAccess: the rights a key is opened with (checked by the desktop store).
enum class RegAccess : uint32_t { Read = KEY_READ, Write = KEY_WRITE, All = KEY_ALL_ACCESS };

struct RegValue {
  uint32_t type = REG_NONE;
  std::vector<uint8_t> data;
};

// RegKey: owns one open key handle and closes it when destroyed. Text helpers
// encode for the key's store: UTF-16LE bytes on the device, UTF-8 on the
// desktop; either kind of string may be passed or asked for on both.
// Every uint32_t result is 0 or a Win32 code as from the Reg… functions.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY adopted) : key_(adopted) {}
  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey();

  // Open: opens an existing key below parent (a root or an open key); a
  // failure leaves this object closed.
  uint32_t Open(HKEY parent, const RegName& path, RegAccess access = RegAccess::Read);

  // Create: opens the key, creating it and its parents when missing; the
  // class string goes to a key that is created. *disposition (optional)
  // receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
  uint32_t Create(HKEY parent, const RegName& path, RegAccess access = RegAccess::All,
                  const RegName& className = {}, uint32_t* disposition = nullptr);

  // Close: closes the handle; a closed key stays usable for Open/Create.
  void Close();

  // Release: gives up ownership of the handle to the caller.
  HKEY Release();

  HKEY handle() const { return key_; }
  bool isOpen() const { return key_ != nullptr; }

  // store: the store the key lives in (Desktop for a closed key).
  RegStore store() const;

  // QueryValue: the value's type and bytes as stored.
  uint32_t QueryValue(const RegName& name, RegValue* out) const;

  // QueryDword: a REG_DWORD (or 4-byte REG_BINARY) value; other types or
  // sizes give ERROR_INVALID_DATA and leave *out unchanged.
  uint32_t QueryDword(const RegName& name, uint32_t* out) const;

  // QueryString: a REG_SZ or REG_EXPAND_SZ value up to its first NUL, with or
  // without a stored terminator; other types give ERROR_INVALID_DATA.
  uint32_t QueryString(const RegName& name, std::string* out) const;
  uint32_t QueryString(const RegName& name, std::u16string* out) const;

  // QueryMultiString: the texts of a REG_MULTI_SZ value.
  uint32_t QueryMultiString(const RegName& name, std::vector<std::string>* out) const;

  // QueryBinary: the bytes of a value of any type.
  uint32_t QueryBinary(const RegName& name, std::vector<uint8_t>* out) const;

  // DwordOr / StringOr: the value, or fallback when it is missing or unfit.
  uint32_t DwordOr(const RegName& name, uint32_t fallback) const;
  std::string StringOr(const RegName& name, std::string_view fallback) const;
  std::u16string StringOr(const RegName& name, std::u16string_view fallback) const;

  // HasValue: whether the value exists (any type).
  bool HasValue(const RegName& name) const;

  // SetValue: stores the bytes as given under the type.
  uint32_t SetValue(const RegName& name, uint32_t type, std::span<const uint8_t> data);

  // SetDword: a REG_DWORD of 4 little-endian bytes.
  uint32_t SetDword(const RegName& name, uint32_t value);

  // SetString: a REG_SZ value (or REG_EXPAND_SZ with type) in the store's
  // encoding, with or without the terminator.
  uint32_t SetString(const RegName& name, std::string_view text,
                     RegTerminator term = RegTerminator::Include, uint32_t type = REG_SZ);
  uint32_t SetString(const RegName& name, std::u16string_view text,
                     RegTerminator term = RegTerminator::Include, uint32_t type = REG_SZ);

  // SetMultiString: a REG_MULTI_SZ of the items. An empty item would end the
  // list for every reader, so it is refused (87) rather than losing the rest.
  uint32_t SetMultiString(const RegName& name, const std::vector<std::string>& items);

  // SetBinary: a REG_BINARY value.
  uint32_t SetBinary(const RegName& name, std::span<const uint8_t> data);

  // DeleteValue: removes one value (2 when missing).
  uint32_t DeleteValue(const RegName& name);

  // DeleteSubKey: removes the subkey and everything below it.
  uint32_t DeleteSubKey(const RegName& path);

  // EnumValue / EnumSubKey: the entry at index in creation order; 259 past
  // the end. value may be null.
  uint32_t EnumValue(uint32_t index, std::string* name, RegValue* value = nullptr) const;
  uint32_t EnumSubKey(uint32_t index, std::string* name, std::string* className = nullptr) const;

  // ValueNames / SubKeyNames: every name in enumeration order.
  uint32_t ValueNames(std::vector<std::string>* names) const;
  uint32_t SubKeyNames(std::vector<std::string>* names) const;

 private:
  HKEY key_ = nullptr;
};

}  // namespace platform
