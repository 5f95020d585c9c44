#include "service/test_frequency.h"

#include "channels/frequency.h"
#include "model/image_layout.h"
#include "model/test_frequency_defaults.h"

#include <algorithm>

namespace vrl {

namespace {
constexpr size_t kRxStepByte = 8;
constexpr size_t kTxStepByte = 9;
bool validEntry(int n) {
    return n >= 1 && n <= kTestChannelCount;
}
} // namespace

size_t TestFrequencyTable::entryOffset(int n) const {
    return layout::kTestFrequencies + static_cast<size_t>(n - 1) * layout::kTestFrequencyEntrySize;
}

std::string TestFrequencyTable::receiveText(int n) const {
    if (!validEntry(n)) return {};
    return formatFrequency(data_.image.bytes().subspan(entryOffset(n), 4));
}

std::string TestFrequencyTable::transmitText(int n) const {
    if (!validEntry(n)) return {};
    return formatFrequency(data_.image.bytes().subspan(entryOffset(n) + 4, 4));
}

bool TestFrequencyTable::receiveBlank(int n) const {
    if (!validEntry(n)) return true;
    const auto b = data_.image.bytes().subspan(entryOffset(n), 4);
    return std::all_of(b.begin(), b.end(), [](uint8_t x) { return x == 0xFF; });
}

bool TestFrequencyTable::allBlank() const {
    for (int n = 1; n <= kTestChannelCount; ++n) {
        const auto b = data_.image.bytes().subspan(entryOffset(n), 8);
        if (!std::all_of(b.begin(), b.end(), [](uint8_t x) { return x == 0xFF; })) return false;
    }
    return true;
}

TestFrequencyResult TestFrequencyTable::setReceiveText(int n, const std::string& text) {
    return store(n, text, true);
}

TestFrequencyResult TestFrequencyTable::setTransmitText(int n, const std::string& text) {
    return store(n, text, false);
}

TestFrequencyResult TestFrequencyTable::store(int n, const std::string& text, bool receive) {
    defaultsLoaded_ = false;
    if (!validEntry(n)) return TestFrequencyResult::Invalid;
    CDataImage& image = data_.image;
    const size_t at = entryOffset(n);
    TestFrequencyResult result = TestFrequencyResult::Ok;
    if (text.find_first_not_of(' ') == std::string::npos) {
        if (receive) {
            image.fill(at, 8, 0xFF);
            image.setU8(at + kRxStepByte, 0xFF);
        } else {
            image.fill(at + 4, 4, 0xFF);
        }
        image.setU8(at + kTxStepByte, 0xFF);
    } else {
        const auto value = parseFrequencyText(text);
        if (!value) return TestFrequencyResult::Invalid;
        const BandLimits band = bandLimits();
        const CheckedFrequency checked = checkFrequency(*value, band);
        const EncodedFrequency enc =
            encodeFrequency(checked.mhz, receive ? FreqSide::Receive : FreqSide::Transmit, band.vhf,
                            data_.model.options.fineStep);
        const size_t field = at + (receive ? 0 : 4);
        for (size_t i = 0; i < 4; ++i)
            image.setU8(field + i, enc.bytes[i]);
        image.setU8(at + (receive ? kRxStepByte : kTxStepByte), enc.stepCode);
        if (checked.outOfBand) result = TestFrequencyResult::OutOfBand;
    }
    if (allBlank()) {
        loadDefaultTestFrequencies(image);
        defaultsLoaded_ = true;
    }
    return result;
}

BandLimits TestFrequencyTable::bandLimits() const {
    return bandLimitsOf(data_.model.bandText(), data_.model.isVhf());
}

bool TestFrequencyTable::outOfBand(const std::string& text) const {
    const auto value = parseFrequencyText(text);
    return value && checkFrequency(*value, bandLimits()).outOfBand;
}

TestChannelBytes TestFrequencyTable::wireBytes(int n) const {
    TestChannelBytes entry{};
    if (!validEntry(n)) {
        entry.fill(0xFF);
        return entry;
    }
    const auto b = data_.image.bytes().subspan(entryOffset(n), 8);
    std::copy(b.begin(), b.end(), entry.begin());
    return reverseGroups(entry);
}

TestChannelBytes reverseGroups(const TestChannelBytes& bytes) {
    TestChannelBytes out{};
    for (size_t i = 0; i < 4; ++i) {
        out[i] = bytes[3 - i];
        out[4 + i] = bytes[7 - i];
    }
    return out;
}

} // namespace vrl
