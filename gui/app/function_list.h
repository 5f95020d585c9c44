// The list of function windows that the Edit menu and the tree view offer for the
// current model, with separators between the feature areas.
#pragma once

#include "model/model_info.h"

#include <vector>

namespace vrl::gui {

struct FunctionEntry {
    int command = 0;   // 0 for a separator
    int textIndex = 0; // language text of the entry
    bool isSeparator() const { return command == 0; }
    bool operator==(const FunctionEntry&) const = default;
};

// Built from the current-model flags (refreshed by the caller) and the current row.
std::vector<FunctionEntry> functionWindowList(const CModelInfo& model);

} // namespace vrl::gui
