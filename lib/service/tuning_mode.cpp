#include "service/tuning_mode.h"

#include <algorithm>

namespace vrl {

namespace {
TuningItem itemOf(bool mobile, int index) {
    const auto items = tuningItems(mobile);
    if (index < 0 || index >= static_cast<int>(items.size())) return items[0];
    return items[static_cast<size_t>(index)];
}
} // namespace

TuningSession::TuningSession(TestModeSession& test, int itemIndex)
    : test_(test), index_(itemIndex), item_(itemOf(test.mobile(), itemIndex)) {
    // A mobile tells its volume with the 0x21 0x0C byte; otherwise the one last set.
    volume_ = std::clamp<int>(
        test.mobile() ? test.mobileByte() : serviceMemory().volume.value_or(0), 0, kVolumeMax);
}

bool TuningSession::ok(bool result) {
    if (!result) failed_ = true;
    return result;
}

int TuningSession::value() const {
    if (static_cast<size_t>(tab_) < values_.size()) return values_[static_cast<size_t>(tab_)];
    return values_.empty() ? 0 : values_[0];
}

bool TuningSession::enterCurrentTab() {
    ServiceLink& c = test_.commands();
    std::vector<uint8_t> got;
    const int count = valuesCount(mobile(), index_, test_.bandwidth());
    if (!test_.retried([&] { return c.enterItem(itemByte()); })) return ok(false);
    if (!test_.retried([&] { return c.readValues(count, got); })) return ok(false);
    values_ = std::move(got);
    return true;
}

bool TuningSession::open() {
    if (!test_.refreshTuningData()) return ok(false);
    if (test_.keyed() && !test_.setKeyed(false)) return ok(false);
    tab_ = 0;
    return enterCurrentTab();
}

bool TuningSession::unkeyWithPause() {
    if (!keyed_) return true;
    if (!test_.retried([&] { return test_.commands().setTransmit(false, test_.signalling()); }))
        return ok(false);
    keyed_ = false;
    test_.commands().link().busyWait(kUnkeyPauseMs);
    return true;
}

bool TuningSession::setValue(int v) {
    // The battery level of a portable is a live reading: there is no value to move,
    // and its item byte with a step would be taken for the reading command.
    if (liveReadingItem()) return true;
    v = std::clamp(v, 0, kValueMax);
    const int delta = v - value();
    if (delta == 0) return true;
    if (!test_.retried([&] { return test_.commands().stepValue(itemByte(), delta); }))
        return ok(false);
    if (static_cast<size_t>(tab_) < values_.size())
        values_[static_cast<size_t>(tab_)] = static_cast<uint8_t>(v);
    else if (!values_.empty())
        values_[0] = static_cast<uint8_t>(v);
    if (const auto place = tuningDataPlace(itemByte()))
        test_.tuningData()[*place] = static_cast<uint8_t>(v);
    return true;
}

bool TuningSession::selectTab(int t) {
    if (t < 0 || t >= tabs()) return true;
    if (!unkeyWithPause()) return false;
    tab_ = t;
    return enterCurrentTab();
}

bool TuningSession::setKeyed(bool keyed) {
    if (keyed && !transmitAllowed()) return true;
    if (!test_.retried([&] { return test_.commands().setTransmit(keyed, test_.signalling()); }))
        return ok(false);
    keyed_ = keyed;
    return true;
}

bool TuningSession::liveReading(uint8_t& value) {
    uint8_t got = 0;
    if (!test_.retried([&] { return test_.commands().liveReading(got); })) return ok(false);
    value = got;
    return true;
}

bool TuningSession::setVolume(int v) {
    v = std::clamp(v, 0, kVolumeMax);
    while (volume_ != v) {
        const bool up = v > volume_;
        if (!test_.retried([&] { return test_.commands().volumeStep(up); })) return ok(false);
        volume_ += up ? 1 : -1;
        serviceMemory().volume = volume_;
    }
    return true;
}

bool TuningSession::keep() {
    if (!unkeyWithPause()) return false;
    if (!test_.retried([&] { return test_.commands().keepItem(itemByte()); })) return ok(false);
    test_.setKeyedFlag(false);
    return true;
}

bool TuningSession::cancel() {
    if (!unkeyWithPause()) return false;
    if (!test_.selectChannel(test_.channel())) return ok(false);
    if (!test_.selectSignalling(test_.signalling())) return ok(false);
    return true;
}

} // namespace vrl
