#include "channels/chirp_table.h"

#include "channels/channel_codes.h"
#include "model/tone_code.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

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

// MHz as CHIRP and this program write it ("162.4", "151.820000", "150") in Hz:
// up to five digits, and up to six decimals (more only as trailing zeros).
std::optional<long long> parseMhzAsHz(std::string_view text) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    size_t i = 0;
    long long mhz = 0;
    for (; i < text.size() && digit(text[i]); ++i) {
        if (i == 5) return std::nullopt;
        mhz = mhz * 10 + (text[i] - '0');
    }
    if (i == 0) return std::nullopt;
    long long micro = 0;
    int decimals = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && digit(text[i]); ++i) {
            if (decimals == 6) {
                if (text[i] != '0') return std::nullopt;
                continue;
            }
            micro = micro * 10 + (text[i] - '0');
            ++decimals;
        }
    }
    if (i != text.size()) return std::nullopt;
    for (; decimals < 6; ++decimals)
        micro *= 10;
    return mhz * 1000000 + micro;
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

// Without the blanks (spaces, tabs) around it.
std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

std::string trimmedEnd(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The CHIRP column a header cell names, in CHIRP's spelling; empty when none.
std::string_view chirpColumn(std::string_view cell) {
    const std::string name = trimmed(cell);
    for (std::string_view column : kChirpColumns)
        if (sameName(name, column)) return column;
    return {};
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

// The place a Comment names as the export writes it: "G2 C5", then optionally a
// blank and the group name.
struct Place {
    int group = 0, channel = 0; // 0-based
    std::string groupName;
};
std::optional<Place> placeOf(const std::string& comment) {
    auto number = [&](size_t& i) -> int {
        int n = 0;
        const size_t start = i;
        while (i < comment.size() && i - start < 4 && comment[i] >= '0' && comment[i] <= '9')
            n = n * 10 + (comment[i++] - '0');
        return i == start ? 0 : n;
    };
    size_t i = 1;
    if (comment.empty() || comment[0] != 'G') return std::nullopt;
    const int group = number(i);
    if (group < 1 || comment.compare(i, 2, " C") != 0) return std::nullopt;
    i += 2;
    const int channel = number(i);
    if (channel < 1 || (i < comment.size() && comment[i] != ' ')) return std::nullopt;
    return Place{group - 1, channel - 1,
                 i < comment.size() ? trimmedEnd(comment.substr(i + 1)) : std::string()};
}

// The CHIRP header's columns by CHIRP name, with the messages about the header.
struct ChirpColumns {
    std::map<std::string_view, int> index;
    std::vector<std::string> names; // the header's own spelling, trimmed

    bool has(std::string_view name) const { return index.count(name) != 0; }
    // "3 (Frequency)", in the file's spelling; empty when the column is missing.
    std::string where(std::string_view name) const {
        const auto it = index.find(name);
        return it == index.end() ? std::string()
                                 : std::to_string(it->second + 1) + " (" + names[it->second] + ")";
    }
    // A row's cell without its surrounding blanks (a Name keeps its leading ones);
    // missing fields are empty.
    std::string cell(const TableRow& row, std::string_view name) const {
        const auto it = index.find(name);
        if (it == index.end() || it->second >= static_cast<int>(row.cells.size())) return {};
        const std::string& text = row.cells[it->second];
        return name == "Name" ? trimmedEnd(text) : trimmed(text);
    }
};

ChirpColumns chirpColumns(const TextRow& header, int headerLine, ImportReport& report) {
    ChirpColumns out;
    std::string unknown;
    for (size_t i = 0; i < header.size(); ++i) {
        out.names.push_back(trimmed(header[i]));
        const std::string_view known = chirpColumn(header[i]);
        if (known.empty()) {
            if (!out.names.back().empty())
                unknown += (unknown.empty() ? "" : ", ") + out.names.back();
            continue;
        }
        if (!out.index.emplace(known, static_cast<int>(i)).second)
            report.errors.push_back({headerLine, std::to_string(i + 1) + " (" + out.names[i] + ")",
                                     "column named twice"});
    }
    if (!unknown.empty())
        report.warnings.push_back({headerLine, "", "columns not read: " + unknown});
    if (!out.has("Frequency"))
        report.errors.push_back({headerLine, "", "the header has no Frequency column"});
    return out;
}

std::optional<std::vector<Place>> placesOfRows(const ChannelStore& store, const ChirpColumns& columns,
                                               const std::vector<TableRow>& rows) {
    std::vector<Place> places;
    std::set<std::pair<int, int>> taken;
    for (const TableRow& row : rows) {
        auto place = placeOf(columns.cell(row, "Comment"));
        if (!place || place->group >= store.groupCount() ||
            place->channel >= store.channelsInGroup(place->group) ||
            store.exists(place->group, place->channel) ||
            !taken.emplace(place->group, place->channel).second)
            return std::nullopt;
        places.push_back(std::move(*place));
    }
    if (rows.empty() || static_cast<int>(places.size()) > store.maxChannels() - store.channelsInUse())
        return std::nullopt;
    return places;
}

// Free channel numbers of groups first to last in turn, at most `wanted` and at
// most as many as the channel memory still takes.
std::vector<Place> freePlaces(const ChannelStore& store, int first, int last, size_t wanted) {
    std::vector<Place> places;
    const size_t memory = static_cast<size_t>(std::max(store.maxChannels() - store.channelsInUse(), 0));
    wanted = std::min(wanted, memory);
    for (int g = std::max(first, 0); g <= last && places.size() < wanted; ++g)
        for (int c = 0; c < store.channelsInGroup(g) && places.size() < wanted; ++c)
            if (!store.exists(g, c)) places.push_back({g, c, {}});
    return places;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A power in watts as CHIRP radios name their levels ("5.0W", "50W", "0.5 W").
std::optional<double> wattsOf(const std::string& text) {
    std::string t = upper(text);
    if (t.empty() || t.back() != 'W') return std::nullopt;
    t = trimmed(std::string_view(t).substr(0, t.size() - 1));
    char* end = nullptr;
    const double w = std::strtod(t.c_str(), &end);
    if (t.empty() || end != t.c_str() + t.size() || !(w >= 0 && w < 10000)) return std::nullopt;
    return w;
}

} // namespace

bool isChirpHeader(const TextRow& header) {
    auto has = [&](std::string_view name) {
        return std::any_of(header.begin(), header.end(),
                           [&](const std::string& cell) { return chirpColumn(cell) == name; });
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
            const std::string groupName = trimmedEnd(store.getGroupName(g));
            if (!groupName.empty()) comment += " " + groupName;
        }
        rows.push_back({std::to_string(++location),
                        store.smallModel()
                            ? ""
                            : trimmedEnd(store.getText(ChannelField::Name, g, c).value_or("")),
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

bool chirpRowsCarryPlaces(const ChannelStore& store, const TextRow& header,
                          const std::vector<TableRow>& rows) {
    ImportReport ignored;
    const ChirpColumns columns = chirpColumns(header, 1, ignored);
    return ignored.ok() && placesOfRows(store, columns, rows).has_value();
}

ImportReport importChirpRows(ChannelStore& store, const TextRow& header,
                             const std::vector<TableRow>& rows, int group, int headerLine) {
    return importChirpRows(store, header, rows, ChirpTarget{group, -1, false}, headerLine);
}

ImportReport importChirpRows(ChannelStore& store, const TextRow& header,
                             const std::vector<TableRow>& rows, const ChirpTarget& target,
                             int headerLine) {
    ImportReport report;
    const ChirpColumns columns = chirpColumns(header, headerLine, report);
    if (!report.ok()) return report;
    auto has = [&](std::string_view name) { return columns.has(name); };

    // Where the rows go; rows that do not all fit are refused with one message.
    std::vector<Place> places;
    if (auto own = target.byPlace ? placesOfRows(store, columns, rows) : std::nullopt) {
        places = std::move(*own);
    } else {
        const int last = target.last < 0 ? store.groupCount() - 1
                                         : std::min(target.last, store.groupCount() - 1);
        places = freePlaces(store, target.first, last, rows.size());
        if (places.size() < rows.size()) {
            const int memory = store.maxChannels() - store.channelsInUse();
            const std::string groups =
                last > target.first ? "groups " + std::to_string(target.first + 1) + " to " +
                                          std::to_string(last + 1)
                                    : "group " + std::to_string(target.first + 1);
            report.errors.push_back(
                {rows[places.size()].line, "",
                 "only " + std::to_string(places.size()) + " of the " +
                     std::to_string(rows.size()) + " rows fit: " +
                     (static_cast<int>(places.size()) == memory
                          ? "the radio holds " + std::to_string(store.maxChannels()) +
                                " channels and " + std::to_string(store.channelsInUse()) +
                                " are in use"
                          : "that many channel numbers are free in " + groups)});
            return report;
        }
    }

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
    // Powers in watts: the file's highest is the radio's high power, others low.
    double topWatts = -1;
    for (const TableRow& row : rows)
        if (auto w = wattsOf(columns.cell(row, "Power"))) topWatts = std::max(topWatts, *w);

    std::vector<TableRow> converted;
    for (size_t r = 0; r < rows.size(); ++r) {
        const TableRow& row = rows[r];
        auto cell = [&](std::string_view name) { return columns.cell(row, name); };
        const size_t errorsBefore = report.errors.size();
        auto error = [&](std::string_view name, std::string text) {
            report.errors.push_back({row.line, columns.where(name), std::move(text)});
        };
        // CHIRP writes some rows with an empty field more than the header has.
        for (size_t i = header.size(); i < row.cells.size(); ++i) {
            if (trimmed(row.cells[i]).empty()) continue;
            report.errors.push_back({row.line, std::to_string(i + 1),
                                     "the header names " + std::to_string(header.size()) +
                                         " columns; a field after them must be empty"});
            break;
        }

        const auto rx = parseMhzAsHz(cell("Frequency"));
        if (!rx) error("Frequency", "\"" + cell("Frequency") + "\" is not a frequency in MHz");

        std::string transmit;
        const std::string duplex = lower(cell("Duplex"));
        const auto offset = parseMhzAsHz(cell("Offset").empty() ? "0" : cell("Offset"));
        if (duplex == "off") {
            transmit = "";
        } else if (duplex != "" && duplex != "+" && duplex != "-" && duplex != "split") {
            error("Duplex", "\"" + cell("Duplex") +
                                "\" is not one of \"\", \"+\", \"-\", \"split\", \"off\"");
        } else if (!offset) {
            error("Offset", "\"" + cell("Offset") + "\" is not a frequency in MHz");
        } else if (rx) {
            // An empty Duplex is simplex whatever Offset holds.
            const long long tx = duplex == "split" ? *offset
                                 : duplex == "+"   ? *rx + *offset
                                 : duplex == "-"   ? *rx - *offset
                                                   : *rx;
            if (tx <= 0) error("Offset", "the transmit frequency would be below zero");
            transmit = mhzText(tx, 5);
        }

        // Tones: CHIRP's transmit (encode) and receive (decode) side.
        Tone tx, rxTone;
        auto ctcss = [&](std::string_view column, Tone& side) {
            if (auto hz = ctcssText(cell(column))) {
                side.kind = Tone::Ctcss;
                side.hz = *hz;
            } else {
                error(column,
                      "\"" + cell(column) +
                          "\" is not a tone frequency the radio can hold (67.0 to 250.3 Hz)");
            }
        };
        const std::string polarity =
            cell("DtcsPolarity").empty() ? "NN" : upper(cell("DtcsPolarity"));
        const bool polarityOk = polarity.size() == 2 &&
                                (polarity[0] == 'N' || polarity[0] == 'R') &&
                                (polarity[1] == 'N' || polarity[1] == 'R');
        auto dcs = [&](std::string_view column, Tone& side, int polarityIndex) {
            if (!polarityOk) return;
            if (auto code = dcsText(cell(column))) {
                side.kind = Tone::Dcs;
                side.code = *code;
                side.inverted = polarity[polarityIndex] == 'R';
            } else {
                error(column, "\"" + cell(column) + "\" is not a DCS code (three octal digits)");
            }
        };
        const std::string mode = upper(cell("Tone"));
        // Files of older CHIRP versions have no CrossMode column: Tone->Tone.
        const std::string cross =
            has("CrossMode") ? upper(cell("CrossMode")) : std::string("TONE->TONE");
        if ((mode == "DTCS" || (mode == "CROSS" && cross.find("DTCS") != std::string::npos)) &&
            !polarityOk)
            error("DtcsPolarity",
                  "\"" + polarity + "\" is not one of \"NN\", \"NR\", \"RN\", \"RR\"");
        if (mode == "TONE") {
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
        } else if (mode == "CROSS") {
            const auto arrow = cross.find("->");
            const std::string from = arrow == std::string::npos ? "" : cross.substr(0, arrow);
            const std::string to = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
            const bool known =
                arrow != std::string::npos && (from == "" || from == "TONE" || from == "DTCS") &&
                (to == "" || to == "TONE" || to == "DTCS") && cross != "->" && cross != "TONE->";
            if (!known) {
                error("CrossMode",
                      "\"" + cell("CrossMode") + "\" is not a cross mode the radio can hold");
            } else {
                if (from == "TONE") ctcss("rToneFreq", tx);
                if (from == "DTCS") dcs("DtcsCode", tx, 0);
                if (to == "TONE") ctcss("cToneFreq", rxTone);
                if (to == "DTCS") dcs("RxDtcsCode", rxTone, 1);
            }
        } else if (!mode.empty()) {
            error("Tone", "\"" + cell("Tone") + "\" is not a tone mode the radio can hold");
        }

        std::string width;
        const std::string chirpMode = upper(cell("Mode"));
        if (chirpMode.empty() || chirpMode == "FM")
            width = widths.at(0);
        else if (chirpMode == "NFM")
            width = widths.at(1);
        else
            error("Mode", "\"" + cell("Mode") + "\" is not a mode the radio can hold (FM or NFM)");

        // S skips the channel in scans; P (priority) keeps it in the scan list.
        std::string scan;
        const std::string skip = upper(cell("Skip"));
        if (skip.empty() || skip == "P")
            scan = scans.at(0);
        else if (skip == "S")
            scan = scans.at(1);
        else
            error("Skip", "\"" + cell("Skip") + "\" is not one of \"\", \"S\", \"P\"");

        // A power list text of the model, High/Low, or watts; empty is the power a
        // new channel starts with (high).
        std::string power = powers.empty() ? std::string() : powers.front();
        if (has("Power") && !cell("Power").empty()) {
            const std::string wanted = upper(cell("Power"));
            auto it = std::find_if(powers.begin(), powers.end(),
                                   [&](const std::string& p) { return upper(p) == wanted; });
            const auto watts = wattsOf(wanted);
            if (it != powers.end())
                power = *it;
            else if ((wanted == "HIGH" || wanted == "HI" || wanted == "H") && !powers.empty())
                power = powers.front();
            else if ((wanted == "LOW" || wanted == "LO" || wanted == "L") && powers.size() > 1)
                power = powers.at(1);
            else if (watts && powers.size() > 1)
                power = *watts >= topWatts ? powers.front() : powers.at(1);
            else {
                std::string list;
                for (const auto& p : powers)
                    list += (list.empty() ? "\"" : ", \"") + p + "\"";
                error("Power", "\"" + cell("Power") + "\" is not one of " + list +
                                   ", High, Low or watts");
            }
        }

        // Upper case; characters the radio cannot show become blanks.
        std::string name = upper(cell("Name"));
        if (named) {
            bool replaced = false;
            for (char& c : name)
                if (filterNameChar(c) == 0) {
                    c = ' ';
                    replaced = true;
                }
            name = trimmedEnd(name);
            if (replaced)
                report.warnings.push_back({row.line, columns.where("Name"),
                                           "characters the radio cannot show became blanks"});
            if (static_cast<int>(name.size()) > store.nameLength()) {
                report.warnings.push_back(
                    {row.line, columns.where("Name"),
                     "cut to the radio's " + std::to_string(store.nameLength()) + " characters"});
                name.resize(static_cast<size_t>(std::max(store.nameLength(), 0)));
            }
        }

        if (report.errors.size() != errorsBefore) continue;
        TextRow cells{std::to_string(places[r].group + 1), std::to_string(places[r].channel + 1),
                      mhzText(*rx, 5),                      transmit,
                      toneText(rxTone, offText),            toneText(tx, offText)};
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
        m.column = columns.where(source);
    };
    for (auto& m : applied.errors)
        rename(m);
    for (auto& m : applied.warnings)
        rename(m);
    // Group names come back with the places the export wrote.
    for (const Place& p : places)
        if (applied.ok() && !p.groupName.empty() && store.getGroupName(p.group) != p.groupName &&
            !store.setGroupName(p.groupName, p.group))
            applied.warnings.push_back({headerLine, "", "group name \"" + p.groupName +
                                                            "\" not stored"});
    applied.warnings.insert(applied.warnings.begin(), report.warnings.begin(),
                            report.warnings.end());
    return applied;
}

} // namespace vrl
