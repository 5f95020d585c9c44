#include "features/settings_keys_doc.h"

#include "features/field_table.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace vrl {

namespace {

struct KeyInfo {
    std::string label;
    std::string kind;
    std::set<std::string> models; // "M128", "P16", ...
};

// The models a key exists on, short: "all models" or "M8, M128, P16".
std::string modelList(const std::set<std::string>& models, const std::set<std::string>& all) {
    if (models == all) return "all models";
    std::string out;
    for (const std::string& m : models) out += (out.empty() ? "" : ", ") + m;
    return out;
}

} // namespace

std::string settingsKeysMarkdown(const TextSource& texts) {
    std::vector<std::string> order;
    std::map<std::string, KeyInfo> keys;
    std::set<std::string> allModels;
    for (int row = 0; row < kModelRowCount; ++row) {
        const ModelRow& r = modelTable()[static_cast<size_t>(row)];
        std::vector<OptionBoard> boards{OptionBoard::None};
        if (models::trunkingAllowed(r.label)) boards.push_back(OptionBoard::Trunking);
        for (OptionBoard board : boards) {
            RadioData data;
            newDataFor(data, identityOfChoice(ModelChoice{row, 0, board, 1}));
            data.model.refresh();
            const std::string kind =
                std::string(1, r.family()) + std::to_string(models::capacityOfRow(row)) +
                (board == OptionBoard::Trunking ? "T" : "");
            allModels.insert(kind);
            FieldContext ctx{data, texts};
            for (const Field& f : allFields(ctx)) {
                auto [it, added] = keys.try_emplace(f.key);
                if (added) {
                    order.push_back(f.key);
                    it->second.label = f.labelIn(ctx);
                    it->second.kind = fieldKindName(f.kind);
                }
                it->second.models.insert(kind);
            }
        }
    }
    // Areas in the order of their windows; within an area, the order the keys first
    // appeared in (window order), whichever model offered the area first.
    auto areaIndex = [](const std::string& key) {
        const std::string area = key.substr(0, key.find('.'));
        const auto& areas = fieldAreas();
        for (size_t i = 0; i < areas.size(); ++i)
            if (areas[i].name == area) return i;
        return areas.size();
    };
    std::stable_sort(order.begin(), order.end(), [&](const std::string& a, const std::string& b) {
        return areaIndex(a) < areaIndex(b);
    });
    std::string md =
        "# Settings keys\n\n"
        "The keys of `vrl73m-cli settings` and `vrl73m-cli set`, in window order. Generated\n"
        "by `vrl73m-cli settings --keys-doc` from the program's field tables; a test keeps this\n"
        "file in step. Models: M mobile, P portable, the channel count, T with the trunking\n"
        "board. A key is listed for a model only where its window (or its grid row) exists;\n"
        "`settings FILE` shows whether it is enabled there. The group keys `group.G.name`\n"
        "and `group.G.scan_add` (G from 1) exist for every group that holds channels, on\n"
        "the models with groups (128 channels, or 32 with the trunking board).\n\n"
        "Channel keys, on every model: `channel.G.C.COLUMN` is one field of channel C in\n"
        "group G (both from 1) and `channels.COLUMN` that field of every channel in use,\n"
        "where COLUMN is a column of `vrl73m-cli channels --csv` other than Group and\n"
        "Channel (Receive, Transmit, Decode, Encode, Name, OptionSignalling, IdCode,\n"
        "BusyLockout, TxPower, Width, PttId, BeginOfTx, EndOfTx, Scrambler, BeatShift,\n"
        "Compander, Priority, Home, ScanAdd). A value takes the same rules and refusals as\n"
        "that cell of an imported channel CSV; an empty Receive deletes the channel.\n\n"
        "| key | label | kind | models |\n|---|---|---|---|\n";
    for (const std::string& key : order) {
        const KeyInfo& k = keys[key];
        std::string label = k.label;
        for (size_t p = 0; (p = label.find('|', p)) != std::string::npos; p += 2) label.replace(p, 1, "\\|");
        md += "| `" + key + "` | " + label + " | " + k.kind + " | " + modelList(k.models, allModels) + " |\n";
    }
    return md;
}

} // namespace vrl
