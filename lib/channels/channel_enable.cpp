// ChannelStore: which channel controls the editors enable, and the group storage.
#include "channels/channel_codes.h"
#include "channels/channel_store.h"
#include "channels/keys.h"
#include "model/image_layout.h"

namespace vrl {

using namespace layout;

bool ChannelStore::isEnabled(ChannelField f, int g, int c) const {
    if (f == ChannelField::Receive) return exists(g, c) || canCreate();
    if (!rxSet(g, c)) return false;
    const bool trunkGroup = isTrunkingGroup(g);
    const size_t off = *offsetOf(g, c);
    const CDataImage& image = data_.image;
    const int kind = radioKind();
    const int ptt = image.u8(off + rec::kFlags) >> 6;
    // 128-channel portables with 0x00FD bit 6 clear offer BOT and EOT whatever PTT ID is.
    const bool pttFree = isPortable() && capacity() == 128 && !image.bit(0x00FD, 6);
    switch (f) {
    case ChannelField::Transmit:
    case ChannelField::Decode:
    case ChannelField::TxPower:
    case ChannelField::BeatShift: return true;
    case ChannelField::Encode: return txSet(g, c);
    case ChannelField::Name: return !smallModel();
    case ChannelField::OptionSignalling:
    case ChannelField::BusyLockout:
    case ChannelField::PttId: return !trunkGroup;
    case ChannelField::IdCode:
        return image.u8(off + rec::kOptionSignalling) == '0' && ((image.u8(0x00FF) >> 2) & 3) != 3;
    case ChannelField::BeginOfTx: return !trunkGroup && (pttFree || ptt == 0 || ptt == 2);
    case ChannelField::EndOfTx: return !trunkGroup && (pttFree || ptt == 1 || ptt == 2);
    case ChannelField::Width: return kind != 3 && kind != 6;
    case ChannelField::Compander:
        return kind != 2 && (capacity() == 32 || kind == 3 || kind == 6 ||
                             (image.u8(off + rec::kFlags) & 1) == 0);
    case ChannelField::ScanAdd: return !smallModel() && !trunkGroup;
    case ChannelField::Priority: return !trunkGroup && image.u8(0x0020) == 0x30;
    case ChannelField::Home:
        return !trunkGroup && keys_ && keys_->homeChannelAssigned() &&
               !(isPortable() && smallModel());
    case ChannelField::Scrambler: return scramblerShown();
    default: return false;
    }
}

std::string ChannelStore::getGroupName(int g) const {
    auto slot = groupSlotOf(g);
    if (!slot) return {};
    std::string name = readName(data_.image.bytes().subspan(kGroupRecords + *slot * kGroupRecordSize + 2, 8));
    if (static_cast<int>(name.size()) > groupNameLength()) name.resize(groupNameLength());
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

bool ChannelStore::groupNameEditable(int g) const {
    return groupNameLength() > 0 && groupExists(g);
}

bool ChannelStore::setGroupName(const std::string& text, int g) {
    if (!groupNameEditable(g)) return false;
    auto packed = packName(text, groupNameLength());
    if (!packed) return false;
    const size_t at = kGroupRecords + *groupSlotOf(g) * kGroupRecordSize + 2;
    for (size_t i = 0; i < packed->size(); ++i) data_.image.setU8(at + i, (*packed)[i]);
    return true;
}

bool ChannelStore::getGroupScan(int g) const {
    auto slot = groupSlotOf(g);
    if (!slot) return !isTrunkingGroup(g);
    return data_.image.bit(kGroupScanBits + *slot / 8, *slot % 8);
}

bool ChannelStore::groupScanEnabled() const { return data_.image.bit(0x002A, 0); }

bool ChannelStore::groupScanEditable(int g) const {
    return groupExists(g) && groupScanEnabled() && !isTrunkingGroup(g);
}

bool ChannelStore::setGroupScan(int g, bool on) {
    if (!groupScanEditable(g)) return false;
    const int slot = *groupSlotOf(g);
    data_.image.setBit(kGroupScanBits + slot / 8, slot % 8, on);
    return true;
}

} // namespace vrl
