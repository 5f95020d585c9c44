#include "model/model_info.h"

namespace vrl {

const ModelRow* CModelInfo::currentRow() const {
    int r = row();
    return r == kNoRow ? nullptr : &modelTable()[r];
}

int CModelInfo::channelCapacity() {
    refresh();
    return flags_.capacity == 0 ? 8 : flags_.capacity;
}

std::string_view CModelInfo::label() const {
    const ModelRow* r = currentRow();
    return r ? r->label : std::string_view();
}

int CModelInfo::radioTypeIndex() const {
    switch (image_.identity().family()) {
    case 'M': return 0;
    case 'P': return 1;
    default: return -1;
    }
}

int CModelInfo::radioTypeTextIndex() const {
    switch (radioTypeIndex()) {
    case 0: return kTextMobile;
    case 1: return kTextPortable;
    default: return -1;
    }
}

std::string_view CModelInfo::bandText() const {
    return models::bandText(row(), image_.identity().band());
}

int CModelInfo::positionInGroup() const {
    int r = row();
    if (r == kNoRow) return -1;
    return r - models::groupFirstRow(models::groupOf(r));
}

int CModelInfo::optionBoardTextIndex() const {
    switch (optionBoard()) {
    case OptionBoard::Trunking: return kTextOptionTrunking;
    case OptionBoard::Scr: return kTextOptionScr;
    case OptionBoard::None: break;
    }
    return kTextOptionNone;
}

void CModelInfo::refresh() {
    const ModelIdentity id = image_.identity();
    const int r = models::findRow(id);
    flags_.capacity = r == kNoRow ? 0 : models::capacityOfRow(r);
    if (id.family() == 'M') flags_.mobile = true;
    if (id.family() == 'P') flags_.mobile = false;
    flags_.trunking = id.optionBoard() == OptionBoard::Trunking;
    flags_.scr = id.optionBoard() == OptionBoard::Scr;
    image_.setU8(layout::kTrunkFlag, flags_.trunking ? 1 : 0);
}

ModelChoice CModelInfo::currentChoice() const {
    ModelChoice choice;
    int r = row();
    choice.row = r == kNoRow ? 0 : r;
    int pos = bandPosition();
    choice.bandPosition = pos < 0 ? 0 : pos;
    choice.board = optionBoard();
    uint8_t groups = image_.u8(0x0087);
    choice.trunkingGroups = choice.board == OptionBoard::Trunking && groups != 0xFF ? groups : 1;
    return choice;
}

} // namespace vrl
