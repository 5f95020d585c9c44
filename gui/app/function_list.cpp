#include "app/function_list.h"

#include "app/commands.h"

#include <utility>

namespace vrl::gui {

std::vector<FunctionEntry> functionWindowList(const CModelInfo& model) {
    const ModelFlags& f = model.flags();
    const bool wide = f.capacity == 32 || f.capacity == 128;
    const int kind = models::marketKind(model.label());
    const FunctionEntry sep{};

    std::vector<FunctionEntry> list;
    list.push_back({cmd::kChannelInformation, 538});
    list.push_back(sep);
    list.push_back({cmd::kOptionalFeatures, 539});
    list.push_back({cmd::kKeyAssignment, 540});
    if (wide) list.push_back({cmd::kScan, 541});
    list.push_back(sep);
    list.push_back({cmd::kDtmf, 542});
    list.push_back({cmd::kTwoTone, 543});
    if (f.trunking) list.push_back({cmd::kTrunking, 544});
    list.push_back(sep);
    const bool emergency = f.mobile && kind != kKindK;
    const bool operatorTone = wide && kind == kKindK;
    if (emergency) list.push_back({cmd::kEmergency, 545});
    if (operatorTone) list.push_back({cmd::kOperatorSelTone, 546});
    if (emergency || operatorTone) list.push_back(sep);
    list.push_back({cmd::kTestFrequency, 547});
    list.push_back({cmd::kEmbeddedMessage, 548});
    const int cls = model.featureClass();
    if (cls == 1 || cls == 2) {
        list.push_back(sep);
        list.push_back({cmd::kExtendedFunction, 549});
    }
    return list;
}

std::vector<FunctionEntry> openableEntries(const std::vector<FunctionEntry>& list,
                                           const std::function<bool(int command)>& opens) {
    std::vector<FunctionEntry> out;
    for (const FunctionEntry& e : list) {
        if (e.isSeparator()) {
            if (!out.empty() && !out.back().isSeparator()) out.push_back(e);
        } else if (opens(e.command)) {
            out.push_back(e);
        }
    }
    if (!out.empty() && out.back().isSeparator()) out.pop_back();
    return out;
}

int commandOfArea(std::string_view area) {
    static constexpr std::pair<std::string_view, int> kAreas[] = {
        {"optional", cmd::kOptionalFeatures},
        {"scan", cmd::kScan},
        {"dtmf", cmd::kDtmf},
        {"twotone", cmd::kTwoTone},
        {"trunking", cmd::kTrunking},
        {"emergency", cmd::kEmergency},
        {"ost", cmd::kOperatorSelTone},
        {"test_frequency", cmd::kTestFrequency},
        {"message", cmd::kEmbeddedMessage},
        {"extended", cmd::kExtendedFunction},
        {"group", cmd::kGroupEdit},
        {"channel", cmd::kChannelInformation},
        {"key", cmd::kKeyAssignment},
        {"memory", cmd::kMemoryMap},
    };
    for (const auto& [name, command] : kAreas)
        if (name == area) return command;
    return 0;
}

} // namespace vrl::gui
