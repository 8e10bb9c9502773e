// Where each setting sits in the property tree: paths of item identifiers.
#pragma once

#include "configobject/proptree/ItemId.h"

namespace qrx::paths {

using proptree::ItemId;

// Each path is zero-terminated and starts at the tree holder's child.
inline constexpr ItemId kRoot[] = {0x01080001, 0};
inline constexpr ItemId kSyncShowDlg[] = {0x01080001, 0x01010001, 0x0A010002, 0};
inline constexpr ItemId kSyncWaitTime[] = {0x01080001, 0x01010001, 0x0A010002, 0x08010003, 0};
inline constexpr ItemId kDefaultAction[] = {0x01080001, 0x01010001, 0x01010004, 0x07010005, 0};
inline constexpr ItemId kZeppDir[] = {0x01080001, 0x01010006, 0x28010006, 0};
inline constexpr ItemId kDesktopPath[] = {0x01080001, 0x01010006, 0x28010007, 0};
inline constexpr ItemId kUpdateAddresses[] = {0x01080001, 0x01010002, 0x68010001, 0};

}  // namespace qrx::paths
