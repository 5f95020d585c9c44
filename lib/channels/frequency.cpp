#include "channels/frequency.h"

#include "model/model_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vrl {

long stepHzOfCode(uint8_t code) {
    if (code < kStepCodeBase || code >= kStepCodeBase + kStepHz.size()) return 0;
    return kStepHz[code - kStepCodeBase];
}

BandLimits bandLimitsOf(std::string_view bandText, bool vhf) {
    return {models::bandLowMHz(bandText), models::bandHighMHz(bandText), vhf};
}

std::optional<double> parseFrequencyText(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == ',') c = '.';
    size_t start = s.find_first_not_of(' ');
    if (start == std::string::npos) return std::nullopt;
    const char* begin = s.c_str() + start;
    char* end = nullptr;
    double v = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(v)) return std::nullopt;
    return v;
}

CheckedFrequency checkFrequency(double mhz, const BandLimits& band) {
    CheckedFrequency out{mhz, false, {}};
    if (mhz < band.outerLowMHz()) {
        out.mhz = band.lowMHz;
        out.outOfBand = true;
    } else if (mhz < band.lowMHz) {
        out.outOfBand = true;
    } else if (mhz > band.outerHighMHz()) {
        out.mhz = band.highMHz;
        out.outOfBand = true;
    } else if (mhz > band.highMHz) {
        out.outOfBand = true;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%9.5f", out.mhz);
    out.text = buf;
    // The encoding works on the rewritten text, so a sixth decimal rounds here
    // (148.012499 is 148.01250) instead of being cut off later.
    out.mhz = std::strtod(buf, nullptr);
    return out;
}

std::array<uint8_t, 4> packFrequencyHz(long hz) {
    long units = (hz / 10) % 100000000L; // eight decimal digits of 10 Hz
    std::array<uint8_t, 4> out{};
    for (int i = 0; i < 4; ++i) {
        int two = static_cast<int>(units % 100);
        units /= 100;
        out[i] = static_cast<uint8_t>((two / 10) << 4 | (two % 10));
    }
    return out;
}

EncodedFrequency encodeFrequency(double mhz, FreqSide side, bool vhf, bool fineStep) {
    const long hz = static_cast<long>(mhz * 1000000.0 + 0.1);
    const int top = side == FreqSide::Receive ? 7 : (vhf ? 4 : 3);
    const int bottom = vhf ? (fineStep ? 0 : 1) : 2;
    EncodedFrequency out;
    for (int i = top; i >= bottom; --i) {
        if (!vhf && i == 4) continue; // 7.5 kHz is a VHF step only
        if (hz % kStepHz[i] == 0) {
            out.stepCode = static_cast<uint8_t>(kStepCodeBase + i);
            out.hz = hz;
            out.bytes = packFrequencyHz(hz);
            return out;
        }
    }
    const long step = vhf ? 5000 : 6250;
    out.hz = hz - hz % step;
    out.stepCode = static_cast<uint8_t>(vhf ? 0x31 : 0x32);
    out.bytes = packFrequencyHz(out.hz);
    return out;
}

std::string formatFrequency(std::span<const uint8_t> b) {
    if (b.size() < 4 || (b[0] == 0xFF && b[1] == 0xFF && b[2] == 0xFF && b[3] == 0xFF)) return {};
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    for (int i = 3; i >= 0; --i) {
        digits.push_back(kDigits[b[i] >> 4]);
        digits.push_back(kDigits[b[i] & 0xF]);
    }
    return digits.substr(0, 3) + "." + digits.substr(3);
}

std::optional<long> frequencyHz(std::span<const uint8_t> b) {
    if (b.size() < 4) return std::nullopt;
    long units = 0;
    for (int i = 3; i >= 0; --i) {
        int hi = b[i] >> 4, lo = b[i] & 0xF;
        if (hi > 9 || lo > 9) return std::nullopt;
        units = units * 100 + hi * 10 + lo;
    }
    return units * 10;
}

} // namespace vrl
