// The edit history behind Edit > Undo and Edit > Redo: whole images before and
// after each committed edit, with the label of the edit ("Time Out Timer",
// "Paste", ...). It is separate from the image's own undo copy, which restores a
// failed open and the memory map's Esc.
//
// The history holds the state after the last recorded step; `record` is called
// after every committed edit and makes one step when the image differs from it
// (a commit that stored nothing makes none). New, Open and a radio read `reset` it.
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

namespace vrl {

class EditHistory {
  public:
    static constexpr size_t kDefaultDepth = 200; // steps kept; the oldest go first

    explicit EditHistory(size_t depth = kDefaultDepth);

    // Forgets every step; `image` is the state to start from.
    void reset(const CDataImage& image);
    // One step from the last recorded state to `image`, when they differ; the redo
    // steps are dropped. True when a step was made.
    bool record(const CDataImage& image, std::string label);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The label of the step Undo / Redo would take back or redo; empty when none.
    const std::string& undoLabel() const;
    const std::string& redoLabel() const;
    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }

    // Writes the state before / after the step into `image` (its working bytes;
    // the snapshot of the last save stays). False when there is nothing to do.
    bool undo(CDataImage& image);
    bool redo(CDataImage& image);

    // Marks the current state as the saved one (Save, Save As); `atSavedState`
    // tells whether undo/redo came back to it.
    void markSaved();
    bool atSavedState() const;

  private:
    using State = std::shared_ptr<const CDataImage::Bytes>;
    struct Step {
        State state; // the state on the other side of the step
        std::string label;
    };
    static State copyOf(const CDataImage& image);
    void apply(const State& state, CDataImage& image);
    // Takes the last step of `from` and files its way back on `to`.
    bool move(std::deque<Step>& from, std::deque<Step>& to, CDataImage& image);

    size_t depth_;
    State current_;
    State saved_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};

} // namespace vrl
