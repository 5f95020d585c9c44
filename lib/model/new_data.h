// How a data image comes into being without a radio or a file (New and the data
// prepared at start), the defaults a fresh image carries for a model, and the
// model change run when the user picks another model, band or option board.
#pragma once

#include "model/radio_data.h"

namespace vrl {

// Row 0 "RM-140A[8CH]:K", 148-174 MHz, no option board, identity byte 7 0xF1.
ModelIdentity defaultIdentity();

// The remembered identity checked against the model table: the default identity
// when it names no row or a band its row does not carry; a trunking board dropped
// for markets that do not allow one.
ModelIdentity checkedIdentity(const ModelIdentity& remembered);

// Writes the new-data defaults for the identity already in the image (the image is
// expected to be cleared to 0xFF). Refreshes the model flags it needs.
void prepareData(RadioData& data);

// The data side of the New command: remembers the identity in the image, clears
// it, writes the checked identity, refreshes the flags, prepares the defaults and
// takes the snapshot (not modified).
void newData(RadioData& data);

// New data for an explicit identity (bytes 0-6 used), as New gives after the
// identity was chosen. Used by start-up, the command-line tool and the simulator.
void newDataFor(RadioData& data, const ModelIdentity& id);

// Recomputes the +2 % / -2 % words of the three 2-tone decoder tones (0x30.. 0x42)
// from the base words, as after reading a radio.
void recomputeTwoToneDerivedWords(CDataImage& image);
// The same for one decoder tone (0 = A, 1 = B, 2 = C).
void recomputeTwoToneDerivedWords(CDataImage& image, int tone);

} // namespace vrl

namespace vrl {

// The new-data key assignments (0x0090 bit 6 and 0x0100-0x013F) for a radio type,
// channel capacity and market.
void writeDefaultKeys(CDataImage& image, bool mobile, int capacity, uint8_t market);

// The 396 default characters of the trunking-board data at 0x8001.
void writeDefaultTrunkingText(CDataImage& image);

// ---- Model change (Model Information OK) ----

// The identity (bytes 0-6) a Model Information choice stands for: option-board bit 2
// cleared on 32-channel models and set on all others.
ModelIdentity identityOfChoice(const ModelChoice& choice);

// 0 no change of consequence, 1 channel plan, 2 market, 3 both, 4 only the option
// board between none and the SCR board.
int classifyModelChange(const ModelChoice& committed, const ModelChoice& chosen);

// Questions the model change asks; a GUI answers them with message boxes, tests
// and the command line answer them directly.
class ModelChangeQuestions {
  public:
    virtual ~ModelChangeQuestions() = default;
    // Class 1, 2 or 3: may the channel plan / key assignments be reset? True = OK.
    virtual bool confirmChange(int changeClass) = 0;
    // Fewer trunking groups on an 8- or 16-channel radio: the channels of groups
    // newCount+1 ... oldCount (1-based) are deleted. True = OK.
    virtual bool confirmTrunkingGroupReduction(int newCount, int oldCount) = 0;
};

// Channel-level work the model change delegates to the channel store.
class ChannelPlanEditor {
  public:
    virtual ~ChannelPlanEditor() = default;
    // Deletes channels 0-15 of a 0-based group.
    virtual void deleteGroupChannels(int group) = 0;
    // 32- and 128-channel radios: trunking groups added or removed without asking.
    virtual void adjustTrunkingGroups(int oldCount, int newCount) = 0;
};

enum class ModelChangeOutcome {
    Applied,   // the data now follow the new choice (and are modified)
    Refused,   // the change question was cancelled: the dialog stays open
    Abandoned, // the trunking-group question was cancelled: nothing changed
};

struct ModelChangeResult {
    ModelChangeOutcome outcome = ModelChangeOutcome::Applied;
    int changeClass = 0;
    // The radio type, VHF/UHF or label changed: the file name goes back to "Vrl73m.dat".
    bool resetFileName = false;
};

// Applies the change from the committed choice to the chosen one. `editor` may be
// null when no channel store is at hand (then no channels are deleted or adjusted).
ModelChangeResult applyModelChange(RadioData& data, const ModelChoice& chosen,
                                   ModelChangeQuestions& questions,
                                   ChannelPlanEditor* editor = nullptr);

} // namespace vrl
