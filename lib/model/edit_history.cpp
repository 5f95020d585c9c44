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

EditHistory::Document EditHistory::documentOf(const CDataImage& image, std::string path) const {
    const auto& snapshot = image.snapshot();
    if (document_.snapshot && *document_.snapshot == snapshot) return {std::move(path), document_.snapshot};
    return {std::move(path), std::make_shared<CDataImage::Bytes>(snapshot)};
}

bool EditHistory::sameDocument(const Document& a, const Document& b) const {
    // The file decides: a snapshot changes alone only by a Save, which is no step.
    return a.path == b.path;
}

void EditHistory::reset(const CDataImage& image, std::string path) {
    undo_.clear();
    redo_.clear();
    current_ = copyOf(image);
    saved_ = current_;
    document_ = {};
    document_ = documentOf(image, std::move(path));
}

bool EditHistory::record(const CDataImage& image, std::string label) {
    return record(image, std::move(label), document_.path);
}

bool EditHistory::record(const CDataImage& image, std::string label, std::string path) {
    if (!current_) {
        reset(image, std::move(path));
        return false;
    }
    Document now = documentOf(image, std::move(path));
    // A history started before the data had a file takes the first one it is told.
    if (document_.path.empty()) document_.path = now.path;
    if (std::equal(current_->begin(), current_->end(), image.bytes().begin())) {
        document_ = std::move(now); // saved, or named: no step of its own
        return false;
    }
    std::optional<Document> before;
    if (!sameDocument(now, document_)) before = document_;
    undo_.push_back({current_, std::move(label), std::move(before)});
    if (undo_.size() > depth_) undo_.pop_front();
    redo_.clear();
    current_ = copyOf(image);
    document_ = std::move(now);
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
    std::optional<Document> back;
    if (step.document) {
        back = document_;
        document_ = *step.document;
        image.setSnapshot(*document_.snapshot);
    }
    to.push_back({current_, step.label, std::move(back)});
    apply(step.state, image);
    return true;
}

bool EditHistory::undo(CDataImage& image) {
    return move(undo_, redo_, image);
}
bool EditHistory::redo(CDataImage& image) {
    return move(redo_, undo_, image);
}

void EditHistory::relabel(const std::function<std::string(const std::string&)>& rewrite) {
    for (auto* steps : {&undo_, &redo_})
        for (Step& step : *steps) step.label = rewrite(step.label);
}

void EditHistory::markSaved() {
    saved_ = current_;
}

bool EditHistory::atSavedState() const {
    return current_ && current_ == saved_;
}

} // namespace vrl
