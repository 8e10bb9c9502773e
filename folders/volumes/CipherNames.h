// The names a cipher number shows under: main list, cipher choice, dialogs.
#pragma once

#include <cstdint>

namespace folders {

// MainListCipherName: "RC5", "RC6", "Rijndael-128", "Rijndael-256" for 3 to
// 6; "None" for RC4 (2) and every number without a cipher.
constexpr const char16_t* MainListCipherName(uint32_t cipherNumber) {
  switch (cipherNumber) {
    case 3:
      return u"RC5";
    case 4:
      return u"RC6";
    case 5:
      return u"Rijndael-128";
    case 6:
      return u"Rijndael-256";
    default:
      return u"None";
  }
}

// DialogCipherName: the main-list name for 3 to 6 and "???" for every other
// number, 2 included (mount and properties dialogs).
constexpr const char16_t* DialogCipherName(uint32_t cipherNumber) {
  return cipherNumber >= 3 && cipherNumber <= 6 ? MainListCipherName(cipherNumber) : u"???";
}

// CipherChoiceName: the name offered when a folder is created, or null for a
// number that is not offered (RC4 included).
constexpr const char16_t* CipherChoiceName(uint32_t cipherNumber) {
  switch (cipherNumber) {
    case 3:
      return u"RC5-32/12/16";
    case 4:
      return u"RC6-32/20/32";
    case 5:
      return u"Rijndael-128";
    case 6:
      return u"Rijndael-256";
    default:
      return nullptr;
  }
}

// kOfferedCiphers: the cipher choice in its order; the first is preselected.
inline constexpr uint16_t kOfferedCiphers[] = {3, 4, 5, 6};

}  // namespace folders
