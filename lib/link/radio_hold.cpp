#include "link/radio_hold.h"

#include <algorithm>
#include <vector>

namespace vrl {

namespace {
std::vector<RadioHold*>& holds() {
    static std::vector<RadioHold*> list;
    return list;
}
} // namespace

RadioHold::RadioHold(std::function<void()> end) : end_(std::move(end)) {
    holds().push_back(this);
}

RadioHold::~RadioHold() {
    holds().erase(std::remove(holds().begin(), holds().end(), this), holds().end());
}

void RadioHold::end() {
    if (end_) end_();
}

int endAllRadioHolds() {
    // A copy: an end may unregister a hold.
    const std::vector<RadioHold*> now = holds();
    for (auto it = now.rbegin(); it != now.rend(); ++it)
        if (std::find(holds().begin(), holds().end(), *it) != holds().end()) (*it)->end();
    return static_cast<int>(now.size());
}

} // namespace vrl
