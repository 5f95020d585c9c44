// The list of function windows that the Edit menu and the tree view offer for the
// current model, with separators between the feature areas.
#pragma once

#include "model/model_info.h"

#include <functional>
#include <string_view>
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

// Only the entries whose window can open (`opens` says so for a command): a window
// that is not part of this program yet is not offered. Separators stay between the
// remaining areas, never doubled and never at either end.
std::vector<FunctionEntry> openableEntries(const std::vector<FunctionEntry>& list,
                                           const std::function<bool(int command)>& opens);

// The command of the window that shows an area of the data: a settings area of the
// field table by its name ("dtmf", "group"), and "channel", "key" and "memory".
// 0 for a name no window shows.
int commandOfArea(std::string_view area);

} // namespace vrl::gui
