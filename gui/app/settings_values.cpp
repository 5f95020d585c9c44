#include "app/settings_values.h"

#include <cctype>
#include <cstdio>

namespace vrl::gui {

namespace {

std::vector<std::string_view> splitColon(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    return parts;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::optional<int> hexByte(std::string_view s) {
    s = trimmed(s);
    if (s.empty() || s.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 16 + (std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
    }
    return value;
}

std::optional<int> decimal(std::string_view s) {
    s = trimmed(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

} // namespace

std::optional<ModelIdentity> parseLastModel(std::string_view text) {
    const auto parts = splitColon(text);
    if (parts.size() != 8) return std::nullopt;
    ModelIdentity id;
    for (size_t i = 0; i < 8; ++i) {
        auto b = hexByte(parts[i]);
        if (!b) return std::nullopt;
        id.bytes[i] = static_cast<uint8_t>(*b);
    }
    id.bytes[6] |= 0xA0;
    return id;
}

std::string formatLastModel(const ModelIdentity& id) {
    char buf[40];
    const auto& b = id.bytes;
    std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%01X:%02X:%02X:%02X", b[0], b[1], b[2],
                  b[3], b[4], b[5], b[6], b[7]);
    return buf;
}

int comPortFromSetting(std::optional<long long> stored) {
    if (!stored || *stored < kMinComPort || *stored > kMaxComPort) return kMinComPort;
    return static_cast<int>(*stored);
}

int languageFromSetting(std::optional<long long> stored) {
    if (!stored || *stored < 0 || *stored > 1000) return 0;
    return static_cast<int>(*stored);
}

std::optional<WindowPlacement> parseWindowPlacement(std::string_view text) {
    const auto parts = splitColon(text);
    if (parts.size() != 10) return std::nullopt;
    std::array<int, 10> v{};
    for (size_t i = 0; i < 10; ++i) {
        auto n = decimal(parts[i]);
        if (!n) return std::nullopt;
        v[i] = *n;
    }
    return WindowPlacement{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]};
}

std::string formatWindowPlacement(const WindowPlacement& p) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", p.flags, p.showState, p.minX,
                  p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return buf;
}

StartShow startShowFor(const WindowPlacement& p) {
    int show = p.showState;
    if (show == WindowPlacement::kShowMinimized)
        show = p.flags == WindowPlacement::kRestoreToMaximized ? WindowPlacement::kShowMaximized
                                                               : WindowPlacement::kShowNormal;
    if (show == WindowPlacement::kShowMaximized) return StartShow::Maximized;
    if (p.width() <= 0 || p.height() <= 0) return StartShow::Maximized;
    return StartShow::Normal;
}

StartOptions parseSwitches(const std::vector<std::string>& args) {
    StartOptions options;
    for (const std::string& arg : args) {
        const std::string u = upper(arg);
        if (u == "/STEP" || u == "--STEP") options.fineStep = true;
        if (u == "/SCR" || u == "--SCR") options.scrOffered = true;
    }
    return options;
}

std::string folderWithSeparator(std::string_view filePath) {
    size_t i = filePath.size();
    while (i > 0 && !isSeparator(filePath[i - 1])) --i;
    return std::string(filePath.substr(0, i));
}

std::string dataFolder(std::string_view lastFilePath, std::string_view exeDir,
                       const std::function<bool(const std::string&)>& isDirectory,
                       std::string_view userFolder,
                       const std::function<bool(const std::string&)>& usable) {
    auto withSeparator = [](std::string s) {
        if (!s.empty() && !isSeparator(s.back())) s += '/';
        return s;
    };
    if (!lastFilePath.empty() && isDirectory(std::string(lastFilePath)))
        return withSeparator(std::string(lastFilePath));
    std::string exe = withSeparator(std::string(exeDir));
    if (isDirectory(exe + "DATA")) exe += "DATA/";
    if (!userFolder.empty() && usable && !usable(exe))
        return withSeparator(std::string(userFolder));
    return exe;
}

std::string buildTitle(std::string_view label, std::string_view vhfUhf, std::string_view band,
                       std::string_view fileCaption, std::string_view fileName) {
    std::string shownLabel;
    for (char c : label) {
        if (c == ':') shownLabel += " : ";
        else shownLabel += c;
    }
    std::string title = "VRL-73M  [ ";
    title += shownLabel;
    title += ' ';
    title += vhfUhf;
    title += " : ";
    title += band;
    title += " ] [ ";
    title += fileCaption;
    title += " : ";
    title += fileName;
    title += ']';
    return title;
}

} // namespace vrl::gui
