// CModelInfo answers every model question about the identity in the data image
// and keeps the current-model flags that the editors consult.
#pragma once

#include "model/data_image.h"
#include "model/model_table.h"

#include <string_view>

namespace vrl {

// Language texts of the radio types and option-board choices.
inline constexpr int kTextMobile = 161;
inline constexpr int kTextPortable = 162;
inline constexpr int kTextOptionNone = 65;
inline constexpr int kTextOptionScr = 168;
inline constexpr int kTextOptionTrunking = 169;

struct ModelFlags {
    int capacity = 0; // 8, 16, 32 or 128; 0 when the identity names no row
    bool mobile = false;
    bool trunking = false;
    bool scr = false;
};

// One choice of the Model Information dialog: a table row, a position in its band
// list, the option board and (with a trunking board) the number of trunking groups.
struct ModelChoice {
    int row = 0;
    int bandPosition = 0;
    OptionBoard board = OptionBoard::None;
    int trunkingGroups = 1;
    bool operator==(const ModelChoice&) const = default;
};

// Switches given on the command line at start.
struct StartOptions {
    bool fineStep = false;   // 1.25 kHz step for VHF frequencies
    bool scrOffered = false; // the SCR board is offered as an option board
};

class CModelInfo {
  public:
    explicit CModelInfo(CDataImage& image) : image_(image) {}

    int row() const { return models::findRow(image_.identity()); }
    const ModelRow* currentRow() const;
    int channelCapacity(); // refreshes the flags first
    std::string_view label() const;
    int radioTypeIndex() const; // 0 mobile, 1 portable, -1 otherwise
    int radioTypeTextIndex() const; // 161, 162 or -1
    std::string_view vhfUhfText() const { return models::vhfUhfText(image_.identity().band()); }
    std::string_view bandText() const;
    int bandPosition() const { return models::bandPosition(row(), image_.identity().band()); }
    int bandLowMHz() const { return models::bandLowMHz(bandText()); }
    int bandHighMHz() const { return models::bandHighMHz(bandText()); }
    int positionInGroup() const;
    OptionBoard optionBoard() const { return image_.identity().optionBoard(); }
    int optionBoardTextIndex() const;
    int featureClass() const { return models::featureClass(row()); }
    bool isVhf() const { return models::isVhfBand(image_.identity().band()); }

    // Recomputes the flags from the identity and stores the trunking flag at 0x8000.
    void refresh();
    const ModelFlags& flags() const { return flags_; }
    void clearCapacityFlags() { flags_.capacity = 0; }

    // The choice the identity in the image stands for (row 0 when it names none).
    ModelChoice currentChoice() const;

    // The dialog's committed selections.
    const ModelChoice& committed() const { return committed_; }
    void setCommitted(const ModelChoice& choice) { committed_ = choice; }

    StartOptions options;

  private:
    CDataImage& image_;
    ModelFlags flags_;
    ModelChoice committed_;
};

} // namespace vrl
