#include "model/edit_history.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {

constexpr size_t kByte = 0x0200;

uint8_t valueOf(const CDataImage& image) {
    return image.u8(kByte);
}

// A fresh image with the history reset on it (byte = 0).
struct History {
    CDataImage image;
    EditHistory history;
    explicit History(size_t depth = EditHistory::kDefaultDepth) : history(depth) {
        image.setU8(kByte, 0);
        history.reset(image);
    }
    bool edit(uint8_t value, const std::string& label) {
        image.setU8(kByte, value);
        return history.record(image, label);
    }
};

} // namespace

TEST(EditHistory, UndoAndRedoWalkTheStepsWithTheirLabels) {
    History h;
    ASSERT_TRUE(h.edit(1, "One"));
    ASSERT_TRUE(h.edit(2, "Two"));
    EXPECT_EQ(h.history.undoLabel(), "Two");
    EXPECT_FALSE(h.history.canRedo());

    struct Step {
        bool undo;
        uint8_t value;
        std::string undoLabel, redoLabel;
    };
    const std::vector<Step> steps{
        {true, 1, "One", "Two"},
        {true, 0, "", "One"},
        {false, 1, "One", "Two"},
        {false, 2, "Two", ""},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(s.undo ? h.history.undo(h.image) : h.history.redo(h.image));
        EXPECT_EQ(valueOf(h.image), s.value);
        EXPECT_EQ(h.history.undoLabel(), s.undoLabel);
        EXPECT_EQ(h.history.redoLabel(), s.redoLabel);
    }
    EXPECT_FALSE(h.history.redo(h.image));
}

TEST(EditHistory, EditAfterUndoDropsTheRedoBranch) {
    History h;
    h.edit(1, "One");
    h.edit(2, "Two");
    h.history.undo(h.image);
    ASSERT_TRUE(h.edit(5, "Five"));
    EXPECT_FALSE(h.history.canRedo());
    ASSERT_TRUE(h.history.undo(h.image));
    EXPECT_EQ(valueOf(h.image), 1);
    EXPECT_EQ(h.history.redoLabel(), "Five");
}

TEST(EditHistory, CommitThatStoredNothingMakesNoStep) {
    History h;
    EXPECT_FALSE(h.edit(0, "Same"));
    EXPECT_FALSE(h.history.canUndo());
    h.edit(3, "Three");
    h.history.undo(h.image);
    EXPECT_FALSE(h.edit(0, "Same again")); // the redo step survives a no-op commit
    EXPECT_TRUE(h.history.canRedo());
}

TEST(EditHistory, KeepsAtLeastAHundredStepsAndDropsTheOldest) {
    History h(120);
    for (int i = 1; i <= 150; ++i)
        h.edit(static_cast<uint8_t>(i), "Step " + std::to_string(i));
    EXPECT_EQ(h.history.undoCount(), 120u);
    while (h.history.undo(h.image)) {
    }
    EXPECT_EQ(valueOf(h.image), 30); // the state after step 30
    EXPECT_EQ(h.history.redoCount(), 120u);
    EXPECT_GE(EditHistory::kDefaultDepth, 100u);
}

TEST(EditHistory, SavedStateMarkFollowsUndoAndRedo) {
    History h;
    h.image.takeSnapshot();
    EXPECT_TRUE(h.history.atSavedState());
    h.edit(1, "One");
    EXPECT_FALSE(h.history.atSavedState());
    h.history.markSaved();
    h.image.takeSnapshot();
    h.edit(2, "Two");
    EXPECT_FALSE(h.history.atSavedState());
    EXPECT_TRUE(h.image.isModified());
    h.history.undo(h.image);
    EXPECT_TRUE(h.history.atSavedState());
    EXPECT_FALSE(h.image.isModified()); // the title loses its "*"
    h.history.undo(h.image);
    EXPECT_FALSE(h.history.atSavedState());
    EXPECT_TRUE(h.image.isModified());
}

TEST(EditHistory, ResetForgetsEverything) {
    History h;
    h.edit(1, "One");
    h.history.undo(h.image);
    h.image.setU8(kByte, 9);
    h.history.reset(h.image);
    EXPECT_FALSE(h.history.canUndo());
    EXPECT_FALSE(h.history.canRedo());
    EXPECT_TRUE(h.history.atSavedState());
}

TEST(EditHistory, AStepThatChangedTheFileBringsItBack) {
    History h;
    h.image.takeSnapshot(); // as opened: byte 0
    h.history.reset(h.image, "TEST.dat");
    h.image.setU8(kByte, 7);
    h.image.takeSnapshot(); // the program's own snapshot of new data
    ASSERT_TRUE(h.history.record(h.image, "Model", "Vrl73m.dat"));
    ASSERT_TRUE(h.edit(8, "Edit")); // a plain edit keeps the file
    const struct {
        bool undo;
        const char* path;
        uint8_t value, snapshot;
    } steps[] = {{true, "Vrl73m.dat", 7, 7}, {true, "TEST.dat", 0, 0}, {false, "Vrl73m.dat", 7, 7}};
    for (const auto& s : steps) {
        ASSERT_TRUE(s.undo ? h.history.undo(h.image) : h.history.redo(h.image));
        EXPECT_EQ(h.history.path(), s.path);
        EXPECT_EQ(valueOf(h.image), s.value);
        EXPECT_EQ(h.image.snapshot()[kByte], s.snapshot);
    }
    // A save notes the new file without a step.
    EXPECT_FALSE(h.history.record(h.image, "", "Saved.dat"));
    EXPECT_EQ(h.history.path(), "Saved.dat");
}
