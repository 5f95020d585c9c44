#include "channels/chirp_table.h"

#include "model/tone_code.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

namespace vrl {

namespace {

// Tone on one side of a channel as CHIRP sees it.
struct Tone {
    enum Kind { Off, Ctcss, Dcs } kind = Off;
    std::string hz;   // "88.5" for Ctcss
    std::string code; // "023" for Dcs
    bool inverted = false;
};

constexpr const char* kUnusedTone = "88.5";
constexpr const char* kUnusedCode = "023";

Tone toneOf(const std::string& text, const std::string& offText) {
    Tone t;
    if (text.empty() || text == offText) return t;
    if (text[0] == 'D' && text.size() == 5) {
        t.kind = Tone::Dcs;
        t.code = text.substr(1, 3);
        t.inverted = text[4] == 'I';
        return t;
    }
    t.kind = Tone::Ctcss;
    t.hz = text;
    return t;
}

std::string toneText(const Tone& t, const std::string& offText) {
    switch (t.kind) {
    case Tone::Ctcss:
        return t.hz;
    case Tone::Dcs:
        return "D" + t.code + (t.inverted ? "I" : "N");
    default:
        return offText;
    }
}

std::optional<long long> parseMhzAsHz(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v) || v < 0 || v > 100000)
        return std::nullopt;
    return std::llround(v * 1e6);
}

std::string mhzText(long long hz, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(hz) / 1e6);
    return buf;
}

// A tone frequency the radio can hold (67.0 to 250.3 Hz) as it writes it ("88.5"),
// or nullopt.
std::optional<std::string> ctcssText(const std::string& text) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !(v >= 67.0 && v <= 250.3))
        return std::nullopt;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return std::string(buf);
}

// A DCS code as three octal digits ("023"), or nullopt.
std::optional<std::string> dcsText(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '7'; }))
        return std::nullopt;
    return std::string(3 - text.size(), '0') + text;
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// The CHIRP tone columns of a channel's encode (transmit) and decode (receive) tones.
struct ChirpTones {
    std::string mode, rTone = kUnusedTone, cTone = kUnusedTone, code = kUnusedCode, polarity = "NN",
                      rxCode = kUnusedCode, cross = "Tone->Tone";
};

ChirpTones chirpTones(const Tone& tx, const Tone& rx) {
    ChirpTones out;
    auto pol = [](const Tone& t) { return t.kind == Tone::Dcs && t.inverted ? "R" : "N"; };
    out.polarity = std::string(pol(tx)) + pol(rx);
    if (tx.kind == Tone::Off && rx.kind == Tone::Off) return out;
    if (tx.kind == Tone::Ctcss && rx.kind == Tone::Off) {
        out.mode = "Tone";
        out.rTone = tx.hz;
        return out;
    }
    if (tx.kind == Tone::Ctcss && rx.kind == Tone::Ctcss && tx.hz == rx.hz) {
        out.mode = "TSQL";
        out.cTone = tx.hz;
        return out;
    }
    if (tx.kind == Tone::Dcs && rx.kind == Tone::Dcs && tx.code == rx.code) {
        out.mode = "DTCS";
        out.code = tx.code;
        return out;
    }
    out.mode = "Cross";
    auto side = [](const Tone& t) {
        return t.kind == Tone::Ctcss ? "Tone" : t.kind == Tone::Dcs ? "DTCS" : "";
    };
    out.cross = std::string(side(tx)) + "->" + side(rx);
    if (tx.kind == Tone::Ctcss) out.rTone = tx.hz;
    if (tx.kind == Tone::Dcs) out.code = tx.code;
    if (rx.kind == Tone::Ctcss) out.cTone = rx.hz;
    if (rx.kind == Tone::Dcs) out.rxCode = rx.code;
    return out;
}

bool inBand(long long hz, const BandLimits& band) {
    return hz >= band.lowMHz * 1000000LL && hz <= band.highMHz * 1000000LL;
}

} // namespace

bool isChirpHeader(const TextRow& header) {
    auto has = [&](std::string_view name) {
        return std::find(header.begin(), header.end(), name) != header.end();
    };
    return has("Location") && has("Frequency");
}

std::vector<TextRow> exportChirpRows(const ChannelStore& store) {
    std::vector<TextRow> rows;
    const std::string offText = store.text(chtext::kOff);
    const auto powers = store.choices(ChannelField::TxPower);
    int location = 0;
    for (auto [g, c] : store.existingChannels()) {
        const long long rx =
            parseMhzAsHz(trimmed(store.getText(ChannelField::Receive, g, c).value_or("")))
                .value_or(0);
        const auto txHz =
            parseMhzAsHz(trimmed(store.getText(ChannelField::Transmit, g, c).value_or("")));
        std::string duplex, offset = mhzText(0, 6);
        if (!txHz) {
            duplex = "off";
        } else if (inBand(rx, store.band()) != inBand(*txHz, store.band())) {
            duplex = "split";
            offset = mhzText(*txHz, 6);
        } else if (*txHz != rx) {
            duplex = *txHz > rx ? "+" : "-";
            offset = mhzText(std::llabs(*txHz - rx), 6);
        }
        const ChirpTones tones =
            chirpTones(toneOf(store.getText(ChannelField::Encode, g, c).value_or(""), offText),
                       toneOf(store.getText(ChannelField::Decode, g, c).value_or(""), offText));
        const auto record = store.record(g, c);
        char step[16];
        std::snprintf(
            step, sizeof step, "%.2f",
            static_cast<double>(stepHzOfCode(record ? record->bytes[rec::kRxStep] : 0xFF)) /
                1000.0);
        const int power = store.choiceIndex(ChannelField::TxPower, g, c);
        std::string comment = "G" + std::to_string(g + 1) + " C" + std::to_string(c + 1);
        if (store.groupNameLength() > 0) {
            const std::string groupName = trimmed(store.getGroupName(g));
            if (!groupName.empty()) comment += " " + groupName;
        }
        rows.push_back({std::to_string(++location),
                        store.smallModel()
                            ? ""
                            : trimmed(store.getText(ChannelField::Name, g, c).value_or("")),
                        mhzText(rx, 6),
                        duplex,
                        offset,
                        tones.mode,
                        tones.rTone,
                        tones.cTone,
                        tones.code,
                        tones.polarity,
                        tones.rxCode,
                        tones.cross,
                        store.choiceIndex(ChannelField::Width, g, c) == 1 ? "NFM" : "FM",
                        step,
                        store.choiceIndex(ChannelField::ScanAdd, g, c) == 1 ? "S" : "",
                        power >= 0 && power < static_cast<int>(powers.size()) ? powers[power] : "",
                        comment,
                        "",
                        "",
                        "",
                        ""});
    }
    return rows;
}

ImportReport importChirpRows(ChannelStore& store, const TextRow& header,
                             const std::vector<TableRow>& rows, int group, int headerLine) {
    ImportReport report;
    std::map<std::string, int> columnOf;
    for (size_t i = 0; i < header.size(); ++i) {
        if (std::find(kChirpColumns.begin(), kChirpColumns.end(), header[i]) == kChirpColumns.end())
            continue;
        if (!columnOf.emplace(header[i], static_cast<int>(i)).second)
            report.errors.push_back(
                {headerLine, std::to_string(i + 1) + " (" + header[i] + ")", "column named twice"});
    }
    if (!columnOf.count("Frequency"))
        report.errors.push_back({headerLine, "", "the header has no Frequency column"});
    if (!report.ok()) return report;
    auto has = [&](const std::string& name) { return columnOf.count(name) != 0; };
    auto columnName = [&](const std::string& name) {
        return has(name) ? std::to_string(columnOf.at(name) + 1) + " (" + name + ")"
                         : std::string();
    };

    // The plain table built from the CHIRP rows, and where each of its columns came from.
    const bool named = has("Name") && !store.smallModel();
    TextRow plain{"Group", "Channel", "Receive", "Transmit", "Decode", "Encode"};
    if (named) plain.push_back("Name");
    if (has("Power")) plain.push_back("TxPower");
    plain.push_back("Width");
    plain.push_back("ScanAdd");
    const std::map<std::string, std::string> sourceOf{
        {"Group", "Location"},  {"Channel", "Location"}, {"Receive", "Frequency"},
        {"Transmit", "Duplex"}, {"Decode", "Tone"},      {"Encode", "Tone"},
        {"Name", "Name"},       {"TxPower", "Power"},    {"Width", "Mode"},
        {"ScanAdd", "Skip"}};

    const std::string offText = store.text(chtext::kOff);
    const auto powers = store.choices(ChannelField::TxPower);
    const auto widths = store.choices(ChannelField::Width);
    const auto scans = store.choices(ChannelField::ScanAdd);
    int nextChannel = 0;
    std::vector<TableRow> converted;
    for (const TableRow& row : rows) {
        if (row.cells.size() != header.size()) {
            report.errors.push_back({row.line, "",
                                     "has " + std::to_string(row.cells.size()) +
                                         " fields, the header " + std::to_string(header.size())});
            continue;
        }
        auto cell = [&](const std::string& name) -> std::string {
            return has(name) ? row.cells[columnOf.at(name)] : std::string();
        };
        const size_t errorsBefore = report.errors.size();
        auto error = [&](const std::string& name, std::string text) {
            report.errors.push_back({row.line, columnName(name), std::move(text)});
        };

        while (nextChannel < store.channelsInGroup(group) && store.exists(group, nextChannel))
            ++nextChannel;
        if (nextChannel >= store.channelsInGroup(group)) {
            report.errors.push_back(
                {row.line, "",
                 "no free channel number left in group " + std::to_string(group + 1)});
            continue;
        }
        const int channel = nextChannel++;

        const auto rx = parseMhzAsHz(cell("Frequency"));
        if (!rx) error("Frequency", "\"" + cell("Frequency") + "\" is not a frequency in MHz");

        std::string transmit;
        const std::string duplex = cell("Duplex");
        const auto offset = parseMhzAsHz(cell("Offset").empty() ? "0" : cell("Offset"));
        if (duplex == "off") {
            transmit = "";
        } else if (duplex != "" && duplex != "+" && duplex != "-" && duplex != "split") {
            error("Duplex",
                  "\"" + duplex + "\" is not one of \"\", \"+\", \"-\", \"split\", \"off\"");
        } else if (!offset) {
            error("Offset", "\"" + cell("Offset") + "\" is not a frequency in MHz");
        } else if (rx) {
            const long long tx = duplex == "split" ? *offset
                                 : duplex == "+"   ? *rx + *offset
                                 : duplex == "-"   ? *rx - *offset
                                                   : *rx;
            if (tx <= 0) error("Offset", "the transmit frequency would be below zero");
            transmit = mhzText(tx, 5);
        }

        // Tones: CHIRP's transmit (encode) and receive (decode) side.
        Tone tx, rxTone;
        auto ctcss = [&](const std::string& column, Tone& side) {
            if (auto hz = ctcssText(cell(column))) {
                side.kind = Tone::Ctcss;
                side.hz = *hz;
            } else {
                error(column,
                      "\"" + cell(column) +
                          "\" is not a tone frequency the radio can hold (67.0 to 250.3 Hz)");
            }
        };
        const std::string polarity = cell("DtcsPolarity").empty() ? "NN" : cell("DtcsPolarity");
        const bool polarityOk = polarity.size() == 2 &&
                                (polarity[0] == 'N' || polarity[0] == 'R') &&
                                (polarity[1] == 'N' || polarity[1] == 'R');
        auto dcs = [&](const std::string& column, Tone& side, int polarityIndex) {
            if (!polarityOk) return;
            if (auto code = dcsText(cell(column))) {
                side.kind = Tone::Dcs;
                side.code = *code;
                side.inverted = polarity[polarityIndex] == 'R';
            } else {
                error(column, "\"" + cell(column) + "\" is not a DCS code (three octal digits)");
            }
        };
        const std::string mode = cell("Tone");
        const std::string cross = cell("CrossMode");
        if ((mode == "DTCS" || (mode == "Cross" && cross.find("DTCS") != std::string::npos)) &&
            !polarityOk)
            error("DtcsPolarity",
                  "\"" + polarity + "\" is not one of \"NN\", \"NR\", \"RN\", \"RR\"");
        if (mode == "Tone") {
            ctcss("rToneFreq", tx);
        } else if (mode == "TSQL") {
            ctcss("cToneFreq", tx);
            rxTone = tx;
        } else if (mode == "DTCS") {
            dcs("DtcsCode", tx, 0);
            if (tx.kind == Tone::Dcs) {
                rxTone = tx;
                rxTone.inverted = polarity[1] == 'R';
            }
        } else if (mode == "Cross") {
            const auto arrow = cross.find("->");
            const std::string from = arrow == std::string::npos ? "" : cross.substr(0, arrow);
            const std::string to = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
            const bool known =
                arrow != std::string::npos && (from == "" || from == "Tone" || from == "DTCS") &&
                (to == "" || to == "Tone" || to == "DTCS") && cross != "->" && cross != "Tone->";
            if (!known) {
                error("CrossMode", "\"" + cross + "\" is not a cross mode the radio can hold");
            } else {
                if (from == "Tone") ctcss("rToneFreq", tx);
                if (from == "DTCS") dcs("DtcsCode", tx, 0);
                if (to == "Tone") ctcss("cToneFreq", rxTone);
                if (to == "DTCS") dcs("RxDtcsCode", rxTone, 1);
            }
        } else if (!mode.empty()) {
            error("Tone", "\"" + mode + "\" is not a tone mode the radio can hold");
        }

        std::string width;
        const std::string chirpMode = cell("Mode");
        if (chirpMode.empty() || chirpMode == "FM")
            width = widths.at(0);
        else if (chirpMode == "NFM")
            width = widths.at(1);
        else
            error("Mode", "\"" + chirpMode + "\" is not a mode the radio can hold (FM or NFM)");

        std::string scan;
        const std::string skip = cell("Skip");
        if (skip.empty())
            scan = scans.at(0);
        else if (skip == "S")
            scan = scans.at(1);
        else
            error("Skip", "\"" + skip + "\" is not one of \"\", \"S\"");

        std::string power;
        if (has("Power")) {
            const std::string wanted = upper(cell("Power"));
            auto it = std::find_if(powers.begin(), powers.end(),
                                   [&](const std::string& p) { return upper(p) == wanted; });
            if (it == powers.end()) {
                std::string list;
                for (const auto& p : powers)
                    list += (list.empty() ? "\"" : ", \"") + p + "\"";
                error("Power", "\"" + cell("Power") + "\" is not one of " + list);
            } else {
                power = *it;
            }
        }

        std::string name = upper(cell("Name"));
        if (named && static_cast<int>(name.size()) > store.nameLength()) {
            report.warnings.push_back(
                {row.line, columnName("Name"),
                 "cut to the radio's " + std::to_string(store.nameLength()) + " characters"});
            name.resize(static_cast<size_t>(std::max(store.nameLength(), 0)));
        }

        if (report.errors.size() != errorsBefore) continue;
        TextRow cells{std::to_string(group + 1), std::to_string(channel + 1),
                      mhzText(*rx, 5),           transmit,
                      toneText(rxTone, offText), toneText(tx, offText)};
        if (named) cells.push_back(name);
        if (has("Power")) cells.push_back(power);
        cells.push_back(width);
        cells.push_back(scan);
        converted.push_back({row.line, std::move(cells)});
    }
    if (!report.ok()) return report;

    ImportReport applied = importChannelRows(store, plain, converted, headerLine);
    // Messages of the plain table name its columns; name the CHIRP file's instead.
    auto rename = [&](ImportMessage& m) {
        const auto open = m.column.find('(');
        if (open == std::string::npos) return;
        const std::string plainName = m.column.substr(open + 1, m.column.size() - open - 2);
        auto it = sourceOf.find(plainName);
        if (it == sourceOf.end()) return;
        std::string source = it->second;
        if (source == "Duplex" && !has("Duplex")) source = "Offset";
        m.column = columnName(source);
    };
    for (auto& m : applied.errors)
        rename(m);
    for (auto& m : applied.warnings)
        rename(m);
    applied.warnings.insert(applied.warnings.begin(), report.warnings.begin(),
                            report.warnings.end());
    return applied;
}

} // namespace vrl
