#include "model/new_data.h"

#include "model/test_frequency_defaults.h"

#include <cmath>

namespace vrl {

using namespace layout;

ModelIdentity defaultIdentity() {
    ModelIdentity id;
    id.bytes = {'M', '1', '4', '0', '0', 0x04, 0xFF, 0xF1};
    return id;
}

ModelIdentity checkedIdentity(const ModelIdentity& remembered) {
    if (!models::isAcceptable(remembered)) return defaultIdentity();
    ModelIdentity id = remembered;
    const ModelRow& row = modelTable()[models::findRow(id)];
    if ((id.option() >> 4) == 0xD && !models::trunkingAllowed(row.label))
        id.bytes[6] = static_cast<uint8_t>(0xF0 | (id.option() & 0x0F));
    return id;
}

void writeDefaultKeys(CDataImage& image, bool mobile, int capacity, uint8_t market) {
    image.setBit(0x0090, 6, true);
    for (int i = 0; i < 16; ++i) image.setU8(0x0100 + i, static_cast<uint8_t>(0x20 + i));
    std::array<uint8_t, 11> slots{};
    if (mobile) {
        slots = {0x4F, 0x4F, 0x4F, 0x4F, 0x4F, 0x40, 0x4F, 0x38, 0x37, 0x51, 0x50};
        if (capacity == 8) slots[0] = 0x40;
    } else {
        slots = {0x48, 0x52, 0x46, 0x4F, 0x47, 0x40, 0x4F, 0x4F, 0x4F, 0x4F, 0x4F};
        if (market == 3) slots[1] = 0x4F;
        if (capacity == 32 || capacity == 128) slots[3] = 0x3A;
    }
    for (size_t i = 0; i < slots.size(); ++i) image.setU8(0x0110 + i, slots[i]);
    image.fillRange(0x011B, 0x0123, 0x4F);
    image.setU8(0x0124, mobile ? 0x4F : 0xA1);
    image.setU8(0x0125, 0x4F);
    image.fillRange(0x0130, 0x013F, 0x4F);
}

void writeDefaultTrunkingText(CDataImage& image) {
    std::string text(kTrunkDataSize, '0');
    text[2] = 'E';
    text[3] = '5';
    text[11] = '3';
    text[15] = '1';
    text[83] = '1';
    text[79] = 'F';
    for (size_t p = 100; p < 164; p += 4) text.replace(p, 4, "000F");
    text[164] = 'F';
    text[165] = 'F';
    for (size_t p = 168; p < kTrunkDataSize; ++p) text[p] = 'F';
    image.writeAscii(kTrunkData, text);
}

namespace {
void writeScanDefaults(CDataImage& image) {
    image.setU8(0x0020, 0xFF);
    image.setU16(0x0021, 500);
    image.setU16(0x0023, 2000);
    image.setU16(0x0025, 3);
    image.setU16(0x0027, 3);
    image.setU8(0x0029, '0');
    image.setU8(0x002A, '0');
    image.setU8(0x002B, 0xFF);
    image.setU8(0x002C, 0xFF);
}

void writeTwoToneDefaults(CDataImage& image) {
    static constexpr std::array<uint16_t, 10> kDecoder{3217, 3281, 3153, 9281, 9467,
                                                       9095, 6009, 6129, 5889, 10};
    for (size_t i = 0; i < kDecoder.size(); ++i) image.setU16(0x0030 + 2 * i, kDecoder[i]);
    image.setU16(0x0800, 3217);
    image.setU16(0x0802, 9281);
    image.writeAscii(0x0804, "CODE 1");
    image.setU8(0x080A, 0);
    image.setU8(0x080B, 0);
    image.setU16(0x080C, 0);
}
} // namespace

void prepareData(RadioData& data) {
    CDataImage& image = data.image;
    data.model.refresh();
    const ModelFlags flags = data.model.flags();
    const ModelIdentity id = image.identity();

    image.rebuildDirectory();
    image.setBit(kIdentityFlags, 0, true);
    for (int b = 1; b <= 3; ++b) image.setBit(kIdentityFlags, b, false);
    image.writeAscii(kVersionText, kDataVersion);
    image.setU8(0x008D, 0);
    image.setU8(0x008A, flags.mobile ? 8 : 0);
    image.setU16(0x008E, 4000);
    image.setBit(0x0080, 1, false);
    image.setBit(0x0080, 4, false);
    image.setU16(0x0010, 60);
    image.setU16(0x0012, 0);
    image.setU16(0x0014, 0);
    image.setU16(0x0016, 0);
    image.setU8(0x01EA, 0);
    image.setU8(0x001F, 50);
    image.fillRange(0x00E9, 0x00EB, 0xFF);
    image.setU8(0x001E, 5);
    for (int b = 0; b <= 3; ++b) image.setBit(0x0082, b, false);
    image.setBit(0x0082, 4, id.market() == 3 && !flags.trunking);
    image.setU8(0x0087, 1);
    image.setBit(0x002D, 0, true);
    image.setBit(0x002D, 1, false);
    image.setBit(0x002D, 2, false);
    writeDefaultKeys(image, flags.mobile, flags.capacity, id.market());
    writeScanDefaults(image);
    writeTwoToneDefaults(image);
    image.setU16(0x00F1, 100);
    image.setU16(0x00F3, 100);
    image.setU16(0x00F5, 10);
    image.setU16(0x00F7, 50);
    image.setU16(0x00F9, 50);
    image.setU16(0x00FB, 50);
    image.setBit(0x00FF, 2, false);
    image.setBit(0x00FF, 3, false);
    image.setU8(0x00ED, 0);
    image.setU8(0x00EE, 35);
    writeDefaultTrunkingText(image);
    loadDefaultTestFrequencies(image);
}

void newDataFor(RadioData& data, const ModelIdentity& chosen) {
    CDataImage& image = data.image;
    image.rememberIdentity();
    image.clear();
    const ModelIdentity id = checkedIdentity(chosen);
    for (size_t i = 0; i < 7; ++i) image.setU8(kIdentity + i, id.bytes[i]);
    data.model.refresh();
    image.setBit(kIdentityFlags, 6, true);
    prepareData(data);
    image.takeSnapshot();
}

void newData(RadioData& data) {
    // newDataFor remembers the identity in the image before it clears it.
    newDataFor(data, data.image.identity());
}

void recomputeTwoToneDerivedWords(CDataImage& image, int tone) {
    const float up = 1.02f, down = 0.98f;
    // An unset tone stays unset, and a large word cannot wrap around 16 bits.
    auto scaled = [](uint16_t w, float f) -> uint16_t {
        if (w == 0xFFFF) return 0xFFFF;
        const double v = w * 0.1 * f * 10 + 0.5;
        return v >= 0xFFFF ? uint16_t{0xFFFF} : static_cast<uint16_t>(v);
    };
    const size_t base = 0x30 + 6 * static_cast<size_t>(tone);
    const uint16_t w = image.u16(base);
    image.setU16(base + 2, scaled(w, up));
    image.setU16(base + 4, scaled(w, down));
}

void recomputeTwoToneDerivedWords(CDataImage& image) {
    for (int tone = 0; tone < 3; ++tone) recomputeTwoToneDerivedWords(image, tone);
}

// ---------------------------------------------------------------------------
// Model change

namespace {
std::string nameWithMarket(const ModelRow& row) {
    return std::string(row.name()) + std::string(models::marketLetters(row.market));
}

bool inSet(const std::string& name, std::initializer_list<const char*> set) {
    for (const char* s : set)
        if (name == s) return true;
    return false;
}

std::array<uint8_t, 11> defaultKeySlots(bool mobile, int capacity) {
    const bool small = capacity == 8 || capacity == 16;
    if (!mobile)
        return small ? std::array<uint8_t, 11>{0x48, 0x52, 0x46, 0x4F, 0x47, 0x40, 0x4F, 0x4F,
                                               0x4F, 0x4F, 0x4F}
                     : std::array<uint8_t, 11>{0x48, 0x52, 0x46, 0x3A, 0x47, 0x40, 0x4F, 0x4F,
                                               0x4F, 0x4F, 0x4F};
    return small ? std::array<uint8_t, 11>{0x40, 0x4F, 0x4F, 0x4F, 0x4F, 0x40, 0x4F, 0x38, 0x37,
                                           0x51, 0x50}
                 : std::array<uint8_t, 11>{0x4F, 0x4F, 0x4F, 0x4F, 0x4F, 0x40, 0x4F, 0x38, 0x37,
                                           0x51, 0x50};
}

void clearChannelPlan(CDataImage& image) {
    image.fillRange(kChannelIndex, kChannelIndexEnd - 1, 0xFF);
    image.fillRange(0x1000, 0x17FF, 0xFF);
    image.fillRange(0x2000, 0x37FF, 0xFF);
    image.fillRange(0x0060, 0x007F, 0xFF);
    image.fillRange(0x000E, 0x000F, 0xFF);
    image.setU16(0x0088, 0xFFFF);
    image.setU16(0x002B, 0xFFFF);
    image.fillRange(0x0000, 0x000B, 0xFF);
    writeDefaultTrunkingText(image);
}

void bringSettingsIntoRange(CDataImage& image, const ModelChoice& oldChoice,
                            const ModelChoice& newChoice) {
    const ModelRow& oldRow = modelTable()[oldChoice.row];
    const ModelRow& newRow = modelTable()[newChoice.row];
    const bool newMobile = newRow.family() == 'M';
    const int oldCap = models::capacityFromLabel(oldRow.label);
    const int newCap = models::capacityFromLabel(newRow.label);
    const bool trunking = newChoice.board == OptionBoard::Trunking;
    const uint8_t newBand = newRow.bandCode(newChoice.bandPosition);

    auto resetTestFrequencies = [&] {
        loadDefaultTestFrequencies(image, newRow.band(newChoice.bandPosition), newRow.market,
                                   models::isVhfBand(newBand));
    };
    if (oldRow.family() != newRow.family()) {
        resetTestFrequencies();
        uint16_t timer = image.u16(0x0010);
        if (newMobile && timer == 600) timer = 1200;
        if (!newMobile && timer == 1200) timer = 600;
        if (!newMobile && timer > 300) timer = 300;
        image.setU16(0x0010, timer);
        image.setU8(0x008B, 0xFF);
    }
    if (oldRow.band(oldChoice.bandPosition) != newRow.band(newChoice.bandPosition))
        resetTestFrequencies();
    if ((oldCap == 128) != (newCap == 128)) image.fillRange(0x0060, 0x007F, 0xFF);

    const auto defaults = defaultKeySlots(newMobile, newCap);
    for (size_t slot = 0; slot < defaults.size(); ++slot) {
        const uint8_t key = image.u8(0x0110 + slot);
        if ((key == 0x4D && newChoice.board != OptionBoard::Scr) ||
            (key == 0x4C && !trunking) || (key == 0x5D && newChoice.board == OptionBoard::Scr))
            image.setU8(0x0110 + slot, defaults[slot]);
    }
    if (trunking) image.setBit(0x0082, 4, false);
    // The market kind of the identity still in the image decides this one.
    const int imageRow = models::findRow(image.identity());
    if (imageRow == kNoRow || models::marketKind(modelTable()[imageRow].label) != kKindM)
        image.setBit(0x002D, 5, true);

    if (newCap == 8 || newCap == 16) {
        // 0xFF means "no trunking groups", not a count above 8: it becomes 1 like
        // on every other capacity, never 8.
        const uint8_t groups = image.u8(0x0087);
        if (groups != 0xFF && groups > 8 && newCap == 8 && oldCap != 8)
            image.setU8(0x0087, 8);
        else if (groups == 0xFF)
            image.setU8(0x0087, 1);
        image.setBit(0x0082, 0, false);
        static constexpr std::array<uint8_t, 13> kScan{0xFF, 0xF4, 0x01, 0xD0, 0x07, 0x03, 0x00,
                                                       0x03, 0x00, '0', '0', 0xFF, 0xFF};
        for (size_t i = 0; i < kScan.size(); ++i) image.setU8(0x0020 + i, kScan[i]);
        image.setBit(0x002D, 0, true);
        image.setBit(0x008D, 0, true);
        for (size_t slot = 0; slot < kRecordSlots; ++slot) {
            const size_t rec = kChannelRecords + slot * kChannelRecordSize;
            if (image.u8(rec) != 0xFF) image.fill(rec + 2, 8, 0xFF);
        }
        image.fillRange(0x00D4, 0x00D9, 0xFF);
    } else if (newCap == 32) {
        if (image.u8(0x0087) == 0xFF) image.setU8(0x0087, 1);
        image.setU8(0x002A, trunking ? '1' : '0');
        image.setBit(0x002E, 1, true);
    } else if (image.u8(0x0087) == 0xFF) {
        image.setU8(0x0087, 1);
    }
    if (newCap == 8 || newCap == 16 || newCap == 32) {
        if (!newMobile) {
            image.setBit(0x00FD, 6, true);
            image.setBit(0x00FE, 3, true);
            image.fillRange(0x5040, 0x513F, 0xFF);
        }
        image.setBit(0x0082, 4, false);
        image.fillRange(0x0094, 0x009B, 0xFF);
        image.setU8(0x008D, 0);
        image.fillRange(0x0700, 0x07FF, 0xFF);
        image.fillRange(0x0810, 0x089F, 0xFF);
        image.setBit(0x00FD, 5, true);
        image.setBit(0x00FF, 2, false);
        image.setBit(0x00FF, 3, false);
    }

    const std::string oldName = nameWithMarket(oldRow), newName = nameWithMarket(newRow);
    const bool portableSet = inSet(oldName, {"RP-150AM", "RP-450AM"}) &&
                             !inSet(newName, {"RP-150AM", "RP-450AM"});
    const bool mobileSet = inSet(oldName, {"RM-150AM", "RM-150AC", "RM-450AM", "RM-450AC"}) &&
                           !inSet(newName, {"RM-150AM", "RM-150AC", "RM-450AM", "RM-450AC"});
    if (portableSet || mobileSet) {
        image.setU8(0x01EC, 0xFF);
        image.setBit(0x002E, 4, true);
    }
}
} // namespace

ModelIdentity identityOfChoice(const ModelChoice& choice) {
    ModelIdentity id = models::identityFor(choice.row, choice.bandPosition, choice.board);
    if (models::capacityOfRow(choice.row) == 32)
        id.bytes[6] &= static_cast<uint8_t>(~0x04);
    else
        id.bytes[6] |= 0x04;
    return id;
}

int classifyModelChange(const ModelChoice& oldC, const ModelChoice& newC) {
    const ModelRow& oldRow = modelTable()[oldC.row];
    const ModelRow& newRow = modelTable()[newC.row];
    const bool trunkingToggled =
        (oldC.board == OptionBoard::Trunking) != (newC.board == OptionBoard::Trunking);
    int cls = 0;
    if (oldRow.label != newRow.label ||
        oldRow.band(oldC.bandPosition) != newRow.band(newC.bandPosition) || trunkingToggled)
        cls += 1;
    if (models::marketKind(oldRow.label) != models::marketKind(newRow.label)) cls += 2;
    if (cls == 0 && oldC.board != newC.board) cls = 4; // none <-> SCR board
    return cls;
}

ModelChangeResult applyModelChange(RadioData& data, const ModelChoice& requested,
                                   ModelChangeQuestions& questions, ChannelPlanEditor* editor) {
    CDataImage& image = data.image;
    const ModelChoice committed = data.model.committed();
    ModelChoice chosen = requested;
    ModelChangeResult result;
    result.changeClass = classifyModelChange(committed, chosen);
    if (result.changeClass >= 1 && result.changeClass <= 3 &&
        !questions.confirmChange(result.changeClass)) {
        result.outcome = ModelChangeOutcome::Refused;
        return result;
    }

    const ModelRow& newRow = modelTable()[chosen.row];
    const int newCap = models::capacityFromLabel(newRow.label);
    const int oldGroups = committed.board == OptionBoard::Trunking ? committed.trunkingGroups : 0;
    if (chosen.board == OptionBoard::Trunking) {
        if ((newCap == 8 || newCap == 16) && chosen.trunkingGroups < oldGroups) {
            if (!questions.confirmTrunkingGroupReduction(chosen.trunkingGroups, oldGroups)) {
                result.outcome = ModelChangeOutcome::Abandoned;
                return result;
            }
            if (editor)
                for (int g = chosen.trunkingGroups; g < oldGroups; ++g)
                    editor->deleteGroupChannels(g);
        } else if ((newCap == 32 || newCap == 128) && editor &&
                   chosen.trunkingGroups != oldGroups) {
            editor->adjustTrunkingGroups(oldGroups, chosen.trunkingGroups);
        }
    } else {
        chosen.trunkingGroups = 1;
    }

    if (result.changeClass == 1 || result.changeClass == 3) clearChannelPlan(image);
    if (result.changeClass == 2 || result.changeClass == 3)
        writeDefaultKeys(image, newRow.family() == 'M', newCap, newRow.market);
    bringSettingsIntoRange(image, committed, chosen);

    const ModelIdentity id = identityOfChoice(chosen);
    for (size_t i = 0; i < 7; ++i) image.setU8(kIdentity + i, id.bytes[i]);
    image.setU8(kIdentityFlags, static_cast<uint8_t>((image.u8(kIdentityFlags) & 0xF0) | 0x01));
    image.setBit(kIdentityFlags, 7, true);
    data.model.refresh();
    if (data.model.flags().trunking) {
        const uint8_t groups = image.u8(0x0087);
        if (groups == 0 || groups > 8) image.setU8(0x0087, 1);
    }

    data.model.setCommitted(chosen);
    if (chosen.board == OptionBoard::Trunking)
        image.setU8(0x0087, static_cast<uint8_t>(chosen.trunkingGroups));
    data.model.refresh();

    const ModelRow& oldRow = modelTable()[committed.row];
    result.resetFileName = oldRow.family() != newRow.family() ||
                           models::vhfUhfText(oldRow.bandCode(committed.bandPosition)) !=
                               models::vhfUhfText(newRow.bandCode(chosen.bandPosition)) ||
                           oldRow.label != newRow.label;
    return result;
}

} // namespace vrl
