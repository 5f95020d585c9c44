// The edit history behind Edit > Undo and Edit > Redo: whole images before and
// after each committed edit, with the label of the edit ("Time Out Timer",
// "Paste", ...). It is separate from the image's own undo copy, which restores a
// failed open and the memory map's Esc.
//
// The history holds the state after the last recorded step; `record` is called
// after every committed edit and makes one step when the image differs from it
// (a commit that stored nothing makes none). New, Open and a radio read `reset` it.
//
// Each state also belongs to a document: the file the data go to and the snapshot
// that "modified" compares with. A step that changed the file (a model change that
// names the default file) takes both back with the data; a record that finds the
// data unchanged only notes the document (a Save, a Save As).
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vrl {

class EditHistory {
  public:
    static constexpr size_t kDefaultDepth = 200; // steps kept; the oldest go first

    explicit EditHistory(size_t depth = kDefaultDepth);

    // Forgets every step; `image` is the state to start from, in file `path`.
    void reset(const CDataImage& image, std::string path = {});
    // One step from the last recorded state to `image`, when they differ; the redo
    // steps are dropped. True when a step was made. `path` is the file the data
    // belong to now (the last one given when omitted).
    bool record(const CDataImage& image, std::string label);
    bool record(const CDataImage& image, std::string label, std::string path);
    // The file of the current state (after an undo or redo, the one it restored).
    const std::string& path() const { return document_.path; }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The label of the step Undo / Redo would take back or redo; empty when none.
    const std::string& undoLabel() const;
    const std::string& redoLabel() const;
    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }

    // Writes the state before / after the step into `image`: its working bytes and,
    // when the step changed the document, the snapshot that went with the state
    // (see path() for its file). False when there is nothing to do.
    bool undo(CDataImage& image);
    bool redo(CDataImage& image);

    // Rewrites every step's label (the language changed).
    void relabel(const std::function<std::string(const std::string&)>& rewrite);

    // Marks the current state as the saved one (Save, Save As); `atSavedState`
    // tells whether undo/redo came back to it.
    void markSaved();
    bool atSavedState() const;

  private:
    using State = std::shared_ptr<const CDataImage::Bytes>;
    struct Document {
        std::string path;
        State snapshot;
    };
    struct Step {
        State state; // the state on the other side of the step
        std::string label;
        std::optional<Document> document; // set when the step changed it
    };
    // The document of `image` in `path`, sharing the known snapshot when unchanged.
    Document documentOf(const CDataImage& image, std::string path) const;
    bool sameDocument(const Document& a, const Document& b) const;
    static State copyOf(const CDataImage& image);
    void apply(const State& state, CDataImage& image);
    // Takes the last step of `from` and files its way back on `to`.
    bool move(std::deque<Step>& from, std::deque<Step>& to, CDataImage& image);

    size_t depth_;
    State current_;
    Document document_;
    State saved_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};

} // namespace vrl
