// The captions of the conduit page's tree, by string id.
#include "configobject/page/PageStrings.h"

namespace qrx {
namespace {

constexpr platform::DeviceString kStrings[] = {
    {30002, u"Conduit"},
    {30003, u"Show Dialog"},
    {30004, u"During <> seconds"},
    {30005, u"Sync-time Action"},
    {30007, u"Do Nothing"},
    {30008, u"Update Now"},
    {30009, u"Update At Schedule"},
    {30010, u"Directories"},
    {30011, u"ZEPPalm Directory - <>"},
    {30012, u"Palm Desktop Directory - <>"},
    {30013, u"Update URLs"},
};
static_assert(platform::HasUniqueIds(kStrings));

}  // namespace

std::span<const platform::DeviceString> PageStrings() {
  return kStrings;
}

}  // namespace qrx
