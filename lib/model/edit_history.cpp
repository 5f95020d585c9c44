#include "model/edit_history.h"

#include <algorithm>

namespace vrl {

namespace {
const std::string kNoLabel;
}

EditHistory::EditHistory(size_t depth) : depth_(std::max<size_t>(depth, 1)) {}

EditHistory::State EditHistory::copyOf(const CDataImage& image) {
    auto bytes = std::make_shared<CDataImage::Bytes>();
    std::copy(image.bytes().begin(), image.bytes().end(), bytes->begin());
    return bytes;
}

void EditHistory::apply(const State& state, CDataImage& image) {
    std::copy(state->begin(), state->end(), image.bytes().begin());
    current_ = state;
}

void EditHistory::reset(const CDataImage& image) {
    undo_.clear();
    redo_.clear();
    current_ = copyOf(image);
    saved_ = current_;
}

bool EditHistory::record(const CDataImage& image, std::string label) {
    if (!current_) {
        reset(image);
        return false;
    }
    if (std::equal(current_->begin(), current_->end(), image.bytes().begin())) return false;
    undo_.push_back({current_, std::move(label)});
    if (undo_.size() > depth_) undo_.pop_front();
    redo_.clear();
    current_ = copyOf(image);
    return true;
}

const std::string& EditHistory::undoLabel() const {
    return undo_.empty() ? kNoLabel : undo_.back().label;
}
const std::string& EditHistory::redoLabel() const {
    return redo_.empty() ? kNoLabel : redo_.back().label;
}

bool EditHistory::move(std::deque<Step>& from, std::deque<Step>& to, CDataImage& image) {
    if (from.empty()) return false;
    Step step = std::move(from.back());
    from.pop_back();
    to.push_back({current_, step.label});
    apply(step.state, image);
    return true;
}

bool EditHistory::undo(CDataImage& image) {
    return move(undo_, redo_, image);
}
bool EditHistory::redo(CDataImage& image) {
    return move(redo_, undo_, image);
}

void EditHistory::markSaved() {
    saved_ = current_;
}

bool EditHistory::atSavedState() const {
    return current_ && current_ == saved_;
}

} // namespace vrl
