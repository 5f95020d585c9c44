#include "history/history.h"

#include "util/sha256.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace vrl::history {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool percentDecode(std::string_view in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out.push_back(in[i]);
            continue;
        }
        const int hi = i + 1 < in.size() ? hexValue(in[i + 1]) : -1;
        const int lo = i + 2 < in.size() ? hexValue(in[i + 2]) : -1;
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return true;
}

constexpr std::array<std::string_view, 2> kSchemes{"postgresql://", "postgres://"};

size_t schemeLength(std::string_view location) {
    for (std::string_view s : kSchemes)
        if (location.substr(0, s.size()) == s) return s.size();
    return 0;
}

} // namespace

bool isOperation(std::string_view name) {
    for (std::string_view op : {kRead, kWrite, kTrunkRead, kTrunkWrite, kFleet, kCheckSum, kTestMode})
        if (name == op) return true;
    return false;
}

std::string utcNow() { return utcTime(std::chrono::system_clock::now()); }

std::string utcTime(std::chrono::system_clock::time_point when) {
    const std::time_t now = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

void completeEvent(Event& event) {
    if (event.time.empty()) event.time = utcNow();
    if (event.sha256.empty() && !event.image.empty()) event.sha256 = sha256Hex(event.image);
}

std::string trimSerial(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool isPostgresUri(std::string_view location) {
    return schemeLength(location) != 0;
}

std::optional<PostgresTarget> parsePostgresUri(std::string_view uri, std::string& error) {
    const size_t scheme = schemeLength(uri);
    if (scheme == 0) {
        error = "not a postgresql:// URI";
        return std::nullopt;
    }
    std::string_view rest = uri.substr(scheme);
    std::string_view query;
    if (const size_t q = rest.find('?'); q != std::string_view::npos) {
        query = rest.substr(q + 1);
        rest = rest.substr(0, q);
    }
    std::string_view path;
    if (const size_t slash = rest.find('/'); slash != std::string_view::npos) {
        path = rest.substr(slash + 1);
        rest = rest.substr(0, slash);
    }
    PostgresTarget t;
    auto bad = [&](const std::string& why) {
        error = "malformed PostgreSQL URI: " + why;
        return std::nullopt;
    };
    if (const size_t at = rest.rfind('@'); at != std::string_view::npos) {
        std::string_view userInfo = rest.substr(0, at);
        rest = rest.substr(at + 1);
        std::string_view password;
        bool hasPassword = false;
        if (const size_t colon = userInfo.find(':'); colon != std::string_view::npos) {
            password = userInfo.substr(colon + 1);
            userInfo = userInfo.substr(0, colon);
            hasPassword = true;
        }
        if (!percentDecode(userInfo, t.user)) return bad("bad %-escape in the user name");
        if (hasPassword && !percentDecode(password, t.password)) return bad("bad %-escape in the password");
    }
    std::string_view hostPart = rest;
    if (!hostPart.empty() && hostPart.front() == '[') { // [IPv6]:port
        const size_t close = hostPart.find(']');
        if (close == std::string_view::npos) return bad("unclosed '['");
        t.host = std::string(hostPart.substr(1, close - 1));
        hostPart = hostPart.substr(close + 1);
        if (!hostPart.empty() && hostPart.front() != ':') return bad("junk after ']'");
    }
    if (const size_t colon = hostPart.rfind(':'); colon != std::string_view::npos) {
        const std::string_view portText = hostPart.substr(colon + 1);
        if (t.host.empty()) t.host = std::string(hostPart.substr(0, colon));
        if (portText.empty() || portText.size() > 5 ||
            portText.find_first_not_of("0123456789") != std::string_view::npos)
            return bad("the port must be a number");
        t.port = std::stoi(std::string(portText));
        if (t.port < 1 || t.port > 65535) return bad("the port must be 1 to 65535");
    } else if (t.host.empty()) {
        if (!percentDecode(hostPart, t.host)) return bad("bad %-escape in the host");
    }
    if (!percentDecode(path, t.database)) return bad("bad %-escape in the database name");
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        if (pair.empty()) continue;
        const size_t eq = pair.find('=');
        if (eq == std::string_view::npos || eq == 0) return bad("parameter without a value");
        std::string key, value;
        if (!percentDecode(pair.substr(0, eq), key) || !percentDecode(pair.substr(eq + 1), value))
            return bad("bad %-escape in a parameter");
        if (key == "host")
            t.host = value;
        else if (key == "port") {
            if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos)
                return bad("the port must be a number");
            t.port = std::stoi(value);
        } else if (key == "user")
            t.user = value;
        else if (key == "password")
            t.password = value;
        else if (key == "dbname")
            t.database = value;
        else
            t.options.emplace_back(key, value);
    }
    return t;
}

std::string redactLocation(std::string_view location) {
    const size_t scheme = schemeLength(location);
    if (scheme == 0) return std::string(location);
    std::string out(location);
    // user:password@ in the authority
    const size_t authorityEnd = out.find_first_of("/?", scheme);
    const size_t at = out.rfind('@', authorityEnd == std::string::npos ? out.size() : authorityEnd);
    if (at != std::string::npos && at >= scheme) {
        const size_t colon = out.find(':', scheme);
        if (colon != std::string::npos && colon < at) out.replace(colon + 1, at - colon - 1, "***");
    }
    // password=... among the parameters
    for (size_t p = out.find('?'); p != std::string::npos; p = out.find('&', p + 1)) {
        static constexpr std::string_view kKey = "password=";
        if (out.compare(p + 1, kKey.size(), kKey) != 0) continue;
        const size_t start = p + 1 + kKey.size();
        const size_t end = out.find('&', start);
        out.replace(start, (end == std::string::npos ? out.size() : end) - start, "***");
    }
    return out;
}

} // namespace vrl::history
