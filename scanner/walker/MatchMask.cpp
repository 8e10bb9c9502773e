// The single-pass mask test.
#include "scanner/walker/MatchMask.h"

namespace scanner {

bool MatchMask(std::u16string_view name, std::u16string_view mask) {
  size_t m = 0;
  for (char16_t n : name) {
    if (m >= mask.size()) return false;  // the mask ended before the name did
    const char16_t mc = mask[m];
    if (mc == u'*') {
      if (m + 1 < mask.size()) {
        const char16_t c = mask[m + 1];
        if (c == u'?' || c == u'*' || c == n) m += 2;
      }
      // A star at the end of the mask, or one whose follower differs from n,
      // absorbs n and stays.
    } else if (mc == u'?') {
      ++m;
    } else if (mc != n) {
      return false;
    } else {
      ++m;
    }
  }
  return m >= mask.size() || mask[m] == u'*';
}

}  // namespace scanner
