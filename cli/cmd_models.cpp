// vrl73m-cli models / identify: the model table and identity look-ups.
#include "commands.h"
#include "json_out.h"
#include "options.h"

#include "model/model_table.h"

#include <iostream>

namespace vrl::cli {

namespace {
nlohmann::json bandsJson(const ModelRow& row) {
    nlohmann::json bands = nlohmann::json::array();
    for (int pos = 0; pos < row.bandCount; ++pos)
        bands.push_back({{"text", std::string(row.band(pos))}, {"code", row.bandCode(pos)}});
    return bands;
}

const char* optionBoardName(OptionBoard board) {
    switch (board) {
    case OptionBoard::Trunking: return "trunking";
    case OptionBoard::Scr: return "scr";
    case OptionBoard::None: break;
    }
    return "none";
}
} // namespace

int cmdModels(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli models [--json]\n"
        "Lists the 38 supported model variants: index, label, model code, market code,\n"
        "channel capacity, feature class and the bands each carries.\n";
    Options opts({}, {"--json"});
    if (auto code = startCommand("models", kUsage, opts, args)) return *code;
    if (!opts.positional().empty()) return fail("models", "unexpected argument", kExitUsage);

    const auto& table = modelTable();
    if (opts.has("--json")) {
        nlohmann::json out = nlohmann::json::array();
        for (int i = 0; i < kModelRowCount; ++i) {
            const ModelRow& r = table[i];
            out.push_back({{"index", i},
                           {"label", std::string(r.label)},
                           {"code", std::string(r.code)},
                           {"market", r.market},
                           {"capacity", models::capacityOfRow(i)},
                           {"class", models::featureClass(i)},
                           {"bands", bandsJson(r)}});
        }
        std::cout << jsonText(out) << '\n';
        return kExitOk;
    }
    for (int i = 0; i < kModelRowCount; ++i) {
        const ModelRow& r = table[i];
        std::cout << (i < 10 ? " " : "") << i << "  " << r.label;
        for (size_t pad = r.label.size(); pad < 26; ++pad) std::cout << ' ';
        std::cout << r.code << "  market " << int(r.market) << "  " << models::capacityOfRow(i)
                  << " ch  class " << models::featureClass(i) << " ";
        for (int pos = 0; pos < r.bandCount; ++pos)
            std::cout << ' ' << r.band(pos) << "(" << int(r.bandCode(pos)) << ")";
        std::cout << '\n';
    }
    return kExitOk;
}

int cmdIdentify(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli identify HEX [--json]\n"
        "Names the model variant of an identity given as 16 hex digits (the 8 identity\n"
        "bytes, e.g. 4D31343030 04 FF F1 -> 4D3134303004FFF1). Exits 2 when the identity\n"
        "names no model, market or band of the table.\n";
    Options opts({}, {"--json"});
    if (auto code = startCommand("identify", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1)
        return fail("identify", "expected one identity of 16 hex digits", kExitUsage);
    auto id = ModelIdentity::fromHex(opts.positional()[0]);
    if (!id) return fail("identify", "the identity must be exactly 16 hex digits", kExitUsage);

    const int row = models::findRow(*id);
    const bool known = row != kNoRow;
    const int position = known ? models::bandPosition(row, id->band()) : -1;
    const std::string label = known ? std::string(modelTable()[row].label) : "";
    const std::string band = position >= 0 ? std::string(modelTable()[row].band(position)) : "";

    if (opts.has("--json")) {
        nlohmann::json out;
        out["row"] = known ? nlohmann::json(row) : nlohmann::json(nullptr);
        out["label"] = label;
        out["band"] = band;
        out["band_position"] = position >= 0 ? nlohmann::json(position) : nlohmann::json(nullptr);
        out["vhf_uhf"] = std::string(models::vhfUhfText(id->band()));
        out["capacity"] = known ? nlohmann::json(models::capacityOfRow(row)) : nlohmann::json(nullptr);
        out["option_board"] = optionBoardName(id->optionBoard());
        out["mobile"] = id->family() == 'M';
        out["class"] = known ? nlohmann::json(models::featureClass(row)) : nlohmann::json(nullptr);
        std::cout << jsonText(out) << '\n';
    } else if (known) {
        std::cout << "row " << row << ": " << label << ", " << (band.empty() ? "?" : band) << " ("
                  << models::vhfUhfText(id->band()) << "), " << models::capacityOfRow(row)
                  << " channels, option board " << optionBoardName(id->optionBoard()) << '\n';
    }
    if (!known) return fail("identify", "no model variant has the identity " + id->hex(), kExitRefused);
    if (position < 0)
        return fail("identify",
                    "band code " + std::to_string(id->band()) + " is not carried by " + label,
                    kExitRefused);
    return kExitOk;
}

} // namespace vrl::cli
