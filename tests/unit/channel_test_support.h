// Shared set-up of the channel tests: a radio image of a chosen model row, blank
// apart from its identity and the bytes the channel rules read.
#pragma once

#include "channels/channel_store.h"
#include "channels/keys.h"
#include "model/image_layout.h"
#include "model/model_table.h"
#include "model/radio_data.h"

#include <memory>
#include <string>

namespace vrl::testing {

// Every language text is "T<index>", so a test can tell which text was chosen.
inline std::string fakeText(int index) { return "T" + std::to_string(index); }

struct ChannelFixture {
    RadioData data;
    KeyAssignment keys{data, fakeText};
    ChannelStore store{data, fakeText, &keys};

    // Row of the model table, band position 0; `trunkingGroups` > 0 fits a trunking board.
    explicit ChannelFixture(int row, int trunkingGroups = 0, int groupNameLength = 0) {
        data.image.clear();
        const OptionBoard board = trunkingGroups > 0 ? OptionBoard::Trunking : OptionBoard::None;
        ModelIdentity id = models::identityFor(row, 0, board);
        data.image.setIdentity(id);
        data.model.refresh();
        data.image.setU8(0x0087, trunkingGroups > 0 ? static_cast<uint8_t>(trunkingGroups) : 0xFF);
        data.image.setU8(0x008D, static_cast<uint8_t>(groupNameLength));
    }
    CDataImage& image() { return data.image; }
};

inline constexpr int kRowMobile8 = 0;      // RM-140A[8CH]:K, VHF 148-174
inline constexpr int kRowMobile128 = 4;    // RM-160A[128CH]:K, VHF 148-174
inline constexpr int kRowMobile128M = 5;   // RM-160A[128CH]:M (third lockout kind)
inline constexpr int kRowMobileUhf128 = 12; // RM-460A[128CH]:K, UHF 450-490
inline constexpr int kRowPortable8 = 15;   // RP-110A[8CH]:K
inline constexpr int kRowPortable16 = 23;  // RP-150A[16CH]:M
inline constexpr int kRowPortable32 = 25;  // RP-130A[32CH]:K
inline constexpr int kRowPortable128E = 21; // RP-120A[128CH]:E (kind 2)
inline constexpr int kRowPortable128 = 19; // RP-120A[128CH]:K

} // namespace vrl::testing
