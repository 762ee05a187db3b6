// The filter driver's entry in the display class's "LowerFilters" list.
#pragma once
#include "platform/registry.h"

namespace drvsetup {

// Takes "ZynKmdFltr" (any letter case) out of the list and writes the rest back; the value
// goes only when nothing is left. A missing value, or one without the entry, is nothing to
// do. false when the key cannot be opened, the value cannot be read, or the change cannot
// be written.
bool RemoveFromDisplayClassFilters(platform::Registry& registry);

}  // namespace drvsetup
