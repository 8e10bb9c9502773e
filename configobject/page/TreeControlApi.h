// What the conduit page relies on of the tree control: its class, members, event and tree data.
#pragma once

#include <cstdint>

#include "configobject/proptree/ItemId.h"
#include "platform/com/Automation.h"
#include "platform/com/Guid.h"

namespace qrx::treectrl {

// CLSID_TreeControl: the control class the page's template names.
inline constexpr platform::com::CLSID CLSID_TreeControl =
    platform::com::MakeGuid("{D2B34AE8-B9CF-11D2-96B0-00104B5B66AA}");

// Members of the control's automation interface. Every method returns a
// status the page ignores; "long" arguments are pointer-sized (Automation.h).
//
// kShowItem (5) (long item, long reserved): shows the working tree from
// `item` (0 shows nothing).
// kTransferTree (8) (long tree, long arg, long* out): with tree 0, copies
// the pattern tree `arg` (0: none) into a new working tree that the control
// owns and returns in *out (it stays valid until the next copy or the
// control's end); with the working tree, ends the access `arg` that
// kAccessTree began: the control shows the tree's values again (*out 0).
// kAccessTree (9) (long tree, long* value, long* reserved): writes every
// pending edit into the working tree and returns an access number in
// *value, to be handed back to kTransferTree.
inline constexpr platform::com::DISPID kShowItem = 5;
inline constexpr platform::com::DISPID kTransferTree = 8;
inline constexpr platform::com::DISPID kAccessTree = 9;

// kGetString (event 5) (long string id, wide buffer) → boolean: the control
// asks its host for a caption; the buffer holds kCaptionUnits units with
// the terminator.
inline constexpr platform::com::DISPID kGetString = 5;
inline constexpr intptr_t kCaptionUnits = 129;  // 128 characters and the terminator

// Tree data the control reads: the property holding a node's caption string
// id (32-bit). Captions may carry "<>" where the value stands.
inline constexpr proptree::ItemId kCaptionProperty = 0x05020001;
inline constexpr char16_t kValuePlaceholder[] = u"<>";

// kTreeHolderId: the group node that holds a pattern or working tree; the
// trees' roots hang below it, so paths start with the root's identifier.
inline constexpr proptree::ItemId kTreeHolderId = 0x01000001;

}  // namespace qrx::treectrl
