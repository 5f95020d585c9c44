#include "service/test_mode.h"

#include "link/identity_check.h"
#include "link/texts.h"
#include "model/image_layout.h"
#include "service/tuning_items.h"
#include "util/bytes.h"

#include <algorithm>

namespace vrl {

const std::array<TestSignalling, kTestSignallingCount> kTestSignallings{{
    {"None", "None"},
    {"100Hz Square Wave", "None"},
    {"ST 67.0", "ST 67.0"},
    {"ST 151.4", "ST 151.4"},
    {"ST 210.7", "ST 210.7"},
    {"ST 250.3", "ST 250.3"},
    {"CST D023N", "CST D023N"},
    {"CST D754I", "CST D754I"},
    {"DTMF ENCODE (CODE:159D)", "DTMF DECODE (CODE:159D)"},
    {"DTMF TONE 9", "None"},
    {"2TONE ENCODE (A:321.7Hz, B:928.1Hz)", "2TONE DECODE (A:321.7Hz, B:928.1Hz)"},
    {"SINGLE TONE 1200Hz", "SINGLE TONE 1200Hz"},
}};

ServiceMemory& serviceMemory() {
    static ServiceMemory memory;
    return memory;
}

TestModeSession::TestModeSession(RadioLink& link, RadioData& data, TransferUi& ui)
    : link_(link), data_(data), ui_(ui), commands_(link), table_(data) {}

TestModeSession::~TestModeSession() {
    end();
}

uint8_t TestModeSession::market() const {
    return data_.image.identity().market();
}

int TestModeSession::stop(int result) {
    end();
    return result;
}

void TestModeSession::end() {
    if (!portOpen_) return;
    if (inTestState_) {
        const bool cleanUnkey =
            active_ && keyed_ && retried([&] { return commands_.setTransmit(false, signalling_); });
        // After a failure the radio may be keyed whatever the flag says.
        bool unkeyed = true;
        if (!cleanUnkey && (keyed_ || failed_))
            unkeyed = commands_.setTransmit(false, signalling_);
        keyed_ = false;
        endConfirmed_ = commands_.leave() && unkeyed;
        inTestState_ = false;
    }
    active_ = false;
    link_.setOpen(false);
    portOpen_ = false;
}

int TestModeSession::identify() {
    while (true) {
        IdentityBytes id{};
        if (!retried([&] { return link_.readIdentity(id) == kLinkOk; })) return kTestModeCancelled;
        if (!acceptIdentity(id, IdentityMode::TestMode)) {
            commands_.leave();
            inTestState_ = false;
            if (!ui_.askRetry(texts::kIdentityRejected)) return kTestModeRefused;
            // The radio left its test state: bring it back and ask again.
            if (!retried([&] { return commands_.enterTestState(); })) return kTestModeCancelled;
            inTestState_ = true;
            continue;
        }
        const auto image = data_.image.bytes();
        if (!std::equal(id.begin(), id.begin() + 7, image.begin() + layout::kIdentity)) {
            commands_.leave();
            inTestState_ = false;
            ui_.showError(servicetext::kRadioNotMatching);
            return kTestModeRefused;
        }
        mobile_ = isMobileIdentity(id[0]);
        return kTestModeOk;
    }
}

bool TestModeSession::compareChannels(bool& same) {
    same = true;
    for (int n = 1; n <= kTestChannelCount; ++n) {
        TestChannelBytes got{};
        // A refused channel (blank in the radio) still sends its bytes.
        if (!retried([&] { return commands_.selectTestChannel(n, got) != ChannelReply::Failed; }))
            return false;
        if (got != table_.wireBytes(n)) {
            same = false;
            return true;
        }
    }
    return true;
}

int TestModeSession::searchChannel() {
    int n = serviceMemory().testChannel.value_or(1);
    for (int tries = 0; tries < kTestChannelCount; ++tries) {
        ChannelReply reply = ChannelReply::Failed;
        TestChannelBytes bytes{};
        if (!retried([&] {
                reply = commands_.selectTestChannel(n, bytes);
                return reply != ChannelReply::Failed;
            }))
            return kTestModeCancelled;
        if (reply == ChannelReply::Accepted) {
            channel_ = n;
            serviceMemory().testChannel = n;
            return kTestModeOk;
        }
        n = n % kTestChannelCount + 1;
    }
    return kTestModeNoChannel;
}

int TestModeSession::open() {
    if (link_.openForTestMode() != kLinkOk) {
        link_.setOpen(false);
        ui_.showError(texts::kPortOpenFailed);
        return kTestModePortFailed;
    }
    portOpen_ = true;
    active_ = true;
    failed_ = false;
    keyed_ = false;
    if (!retried([&] { return commands_.enterTestState(); })) return stop(kTestModeCancelled);
    inTestState_ = true;
    if (const int r = identify(); r != kTestModeOk) return stop(r);

    FirmwareVersion version{};
    if (!retried([&] { return link_.readFirmwareVersion(version) == kLinkOk; }))
        return stop(kTestModeCancelled);
    const auto image = data_.image.bytes();
    const bool dataPassword =
        !data_.image.bit(layout::kIdentityFlags, 6) ||
        !bytes::allEqual(image, layout::kRadioPassword, layout::kPasswordSize, 0xFF);
    if (isOldestFirmware(version) && dataPassword) {
        commands_.leave();
        inTestState_ = false;
        ui_.showError(servicetext::kRadioNotMatching);
        return stop(kTestModeRefused);
    }
    if (!refreshTuningData()) return stop(kTestModeCancelled);

    bool same = true;
    if (!compareChannels(same)) return stop(kTestModeCancelled);
    if (!same) {
        commands_.leave();
        inTestState_ = false;
        ui_.showError(servicetext::kTestChannelsDiffer);
        return stop(kTestModeRefused);
    }
    if (const int r = searchChannel(); r != kTestModeOk) {
        // No test channel to work on: the radio was not written with test frequencies.
        if (r == kTestModeNoChannel) ui_.showError(servicetext::kTestChannelsDiffer);
        return stop(r);
    }
    if (!retried([&] { return commands_.selectSignalling(0); })) return stop(kTestModeCancelled);
    signalling_ = 0;
    // The dialog starts at bandwidth index 0: the radio is told so, as it may have
    // kept the other bandwidth from an earlier session (and would then answer the
    // tuning items with another count of values).
    if (!retried([&] { return commands_.selectBandwidth(0); })) return stop(kTestModeCancelled);
    bandwidth_ = 0;
    return kTestModeOk;
}

bool TestModeSession::refreshTuningData() {
    if (!retried([&] { return commands_.readTuningData(tuningData_); })) return false;
    if (mobile_ && !retried([&] { return commands_.readMobileByte(mobileByte_); })) return false;
    return true;
}

int TestModeSession::nextNonBlank(int from, int delta) const {
    int n = from;
    for (int i = 0; i <= kTestChannelCount; ++i) {
        if (!table_.receiveBlank(n)) return n;
        n = delta >= 0 ? n % kTestChannelCount + 1
                       : (n + kTestChannelCount - 2) % kTestChannelCount + 1;
    }
    return from;
}

bool TestModeSession::selectChannel(int n) {
    ChannelReply reply = ChannelReply::Failed;
    TestChannelBytes bytes{};
    if (!retried([&] {
            reply = commands_.selectTestChannel(n, bytes);
            return reply != ChannelReply::Failed;
        }))
        return false;
    if (reply == ChannelReply::Accepted) channel_ = n;
    return true;
}

bool TestModeSession::typeChannel(int typed) {
    return selectChannel(nextNonBlank(std::clamp(typed, 1, kTestChannelCount), 1));
}

bool TestModeSession::stepChannel(int delta) {
    if (delta == 0) return true;
    const int first = delta > 0 ? channel_ % kTestChannelCount + 1
                                : (channel_ + kTestChannelCount - 2) % kTestChannelCount + 1;
    return selectChannel(nextNonBlank(first, delta));
}

bool TestModeSession::selectSignalling(int n) {
    if (!retried([&] { return commands_.selectSignalling(n); })) return false;
    signalling_ = n;
    return true;
}

bool TestModeSession::typeSignalling(int typed) {
    return selectSignalling(std::clamp(typed, 1, kTestSignallingCount));
}

bool TestModeSession::stepSignalling(int delta) {
    if (delta == 0) return true;
    int n = signalling_ + (delta > 0 ? 1 : -1);
    if (n > kTestSignallingCount) n = 1;
    if (n < 1) n = kTestSignallingCount;
    return selectSignalling(n);
}

bool TestModeSession::selectBandwidth(int index) {
    if (!retried([&] { return commands_.selectBandwidth(index); })) return false;
    bandwidth_ = index == 0 ? 0 : 1;
    return true;
}

bool TestModeSession::setKeyed(bool keyed) {
    if (!retried([&] { return commands_.setTransmit(keyed, signalling_); })) return false;
    keyed_ = keyed;
    return true;
}

void TestModeSession::tuningClosed(bool linkFailed) {
    keyed_ = false;
    if (linkFailed) {
        failed_ = true;
        active_ = false;
        return;
    }
    refreshTuningData();
}

} // namespace vrl
