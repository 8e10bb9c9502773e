// Copying a property tree: the pattern becomes a working tree of the control's own.
#pragma once

#include "configobject/proptree/Node.h"

namespace treecontrol {

// CopyTree: a new tree holder (identifier `holderId`) with copies of the
// nodes below `source` (a holder), their values and properties. The copy is
// made through the stored form, the one form both sides agree on. Null
// when `source` cannot be copied; with a null source, an empty holder.
proptree::Node* CopyTree(const proptree::Node* source, proptree::ItemId holderId);

}  // namespace treecontrol
