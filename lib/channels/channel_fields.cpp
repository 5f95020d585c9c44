// ChannelStore: display texts, text and choice stores of the 19 channel fields.
#include "channels/channel_codes.h"
#include "channels/channel_store.h"
#include "model/image_layout.h"
#include "model/tone_code.h"

#include <algorithm>

namespace vrl {

using namespace layout;

namespace {
constexpr size_t kHomeChannel = 0x0088;
constexpr size_t kHomeGroup = 0x0089;
constexpr size_t kPriorityGroup = 0x002B;
constexpr size_t kPriorityChannel = 0x002C;

bool bitOf(uint8_t v, int n) { return (v >> n) & 1; }
} // namespace

bool ChannelStore::kindHasOnOffLockout() const {
    const int k = radioKind();
    return k == 1 || k == 2 || k == 3 || k == 6;
}

bool ChannelStore::isChoiceField(ChannelField f) const {
    switch (f) {
    case ChannelField::OptionSignalling:
    case ChannelField::BusyLockout:
    case ChannelField::TxPower:
    case ChannelField::Width:
    case ChannelField::PttId:
    case ChannelField::BeatShift:
    case ChannelField::Compander:
    case ChannelField::Priority:
    case ChannelField::Home:
    case ChannelField::ScanAdd: return true;
    default: return false;
    }
}

std::vector<std::string> ChannelStore::choices(ChannelField f) const {
    auto list = [this](std::initializer_list<int> indices) {
        std::vector<std::string> out;
        for (int i : indices) out.push_back(text(i));
        return out;
    };
    switch (f) {
    case ChannelField::OptionSignalling: return list({65, 196, 197});
    case ChannelField::BusyLockout: {
        auto out = kindHasOnOffLockout() ? list({68, 67}) : list({68, 216, 217});
        if (thirdLockoutOffered()) out.push_back(text(249));
        return out;
    }
    case ChannelField::TxPower: return list({185, 186});
    case ChannelField::Width: return radioKind() == 2 ? list({190, 191}) : list({188, 189});
    case ChannelField::PttId: return list({69, 221, 222, 223});
    case ChannelField::BeatShift:
    case ChannelField::Compander: return list({68, 67});
    case ChannelField::Priority:
    case ChannelField::Home: return list({69, 70});
    case ChannelField::ScanAdd: return list({193, 194});
    default: return {};
    }
}

int ChannelStore::choiceIndex(ChannelField f, int g, int c) const {
    auto off = offsetOf(g, c);
    if (!off) return -1;
    const CDataImage& image = data_.image;
    const uint8_t flags = image.u8(*off + rec::kFlags);
    switch (f) {
    case ChannelField::OptionSignalling: {
        const uint8_t v = image.u8(*off + rec::kOptionSignalling);
        return v == 0xFF ? 0 : v == '0' ? 1 : v == '1' ? 2 : -1;
    }
    case ChannelField::BusyLockout: {
        const int v = image.u8(*off + rec::kFlags2) & 3;
        if (v == 3) return 0;
        if (v == 0) return thirdLockoutOffered() ? (kindHasOnOffLockout() ? 2 : 3) : -1;
        return kindHasOnOffLockout() ? 1 : v;
    }
    case ChannelField::TxPower: return bitOf(flags, 2) ? 0 : 1;
    case ChannelField::Width: return bitOf(flags, 0) ? 0 : 1;
    case ChannelField::PttId: {
        const int v = flags >> 6;
        return v == 3 ? 0 : v + 1;
    }
    case ChannelField::BeatShift:
    case ChannelField::Compander:
    case ChannelField::Priority:
    case ChannelField::Home: return isChecked(f, g, c) ? 1 : 0;
    case ChannelField::ScanAdd: return isChecked(f, g, c) ? 0 : 1;
    default: return -1;
    }
}

bool ChannelStore::isChecked(ChannelField f, int g, int c) const {
    auto off = offsetOf(g, c);
    if (!off) return false;
    const CDataImage& image = data_.image;
    const uint8_t flags = image.u8(*off + rec::kFlags);
    switch (f) {
    case ChannelField::BeatShift: return !bitOf(flags, 5);
    case ChannelField::Compander: return !bitOf(flags, 1);
    case ChannelField::Priority:
        return image.u8(kPriorityGroup) == g && image.u8(kPriorityChannel) == c;
    case ChannelField::Home: return image.u8(kHomeGroup) == g && image.u8(kHomeChannel) == c;
    case ChannelField::ScanAdd: {
        const int slot = *slotOf(g, c);
        return image.bit(kScanAddBits + slot / 8, slot % 8);
    }
    default: return false;
    }
}

std::optional<std::string> ChannelStore::getText(ChannelField f, int g, int c) const {
    auto off = offsetOf(g, c);
    if (!off) return std::nullopt;
    const CDataImage& image = data_.image;
    auto bytesAt = [&image](size_t at, size_t n) { return image.bytes().subspan(at, n); };
    const int slot = *slotOf(g, c);
    switch (f) {
    case ChannelField::Receive: return formatFrequency(bytesAt(*off + rec::kRxFreq, 4));
    case ChannelField::Transmit: return formatFrequency(bytesAt(*off + rec::kTxFreq, 4));
    case ChannelField::Decode: return FormatTone(image.u16(*off + rec::kDecode), text(chtext::kOff));
    case ChannelField::Encode: return FormatTone(image.u16(*off + rec::kEncode), text(chtext::kOff));
    case ChannelField::Name: return readName(bytesAt(*off + rec::kName, rec::kNameSize));
    case ChannelField::IdCode: return readIdCode(bytesAt(kIdCodes + slot * kIdCodeSize, kIdCodeSize));
    case ChannelField::BeginOfTx:
        return readDtmfCode(bytesAt(kBotCodes + slot * kDtmfCodeSize, kDtmfCodeSize));
    case ChannelField::EndOfTx:
        return readDtmfCode(bytesAt(kEotCodes + slot * kDtmfCodeSize, kDtmfCodeSize));
    case ChannelField::Scrambler: {
        const uint8_t v = image.u8(*off + rec::kScrambler);
        if (v == 0xFF) return text(chtext::kNo);
        if (v >= 1 && v <= 16) return std::to_string(v);
        return std::string();
    }
    default: break;
    }
    const int index = choiceIndex(f, g, c);
    const auto list = choices(f);
    if (index < 0 || index >= static_cast<int>(list.size())) return std::string();
    return list[index];
}

StoreResult ChannelStore::setFrequency(const std::string& typed, int g, int c, bool receive) {
    std::string text = typed;
    std::replace(text.begin(), text.end(), ',', '.');
    const bool empty = text.find_first_not_of(' ') == std::string::npos;
    if (receive && empty) {
        deleteChannel(g, c);
        return StoreResult::Ok;
    }
    if (!receive && !exists(g, c)) return StoreResult::NoChannel;
    if (!receive && empty) {
        auto off = *offsetOf(g, c);
        data_.image.fill(off + rec::kTxFreq, 4, 0xFF);
        data_.image.setU8(off + rec::kTxStep, 0xFF);
        data_.image.setU16(off + rec::kEncode, kToneOff);
        return StoreResult::Ok;
    }
    auto value = parseFrequencyText(text);
    if (!value) return StoreResult::Invalid;
    const CheckedFrequency checked = checkFrequency(*value, band());
    if (!exists(g, c)) {
        const StoreResult created = createChannel(g, c);
        if (created != StoreResult::Ok) return created;
    }
    const EncodedFrequency enc = encodeFrequency(
        checked.mhz, receive ? FreqSide::Receive : FreqSide::Transmit, band().vhf, fineStep());
    const size_t off = *offsetOf(g, c);
    const size_t at = off + (receive ? rec::kRxFreq : rec::kTxFreq);
    for (size_t i = 0; i < 4; ++i) data_.image.setU8(at + i, enc.bytes[i]);
    data_.image.setU8(off + (receive ? rec::kRxStep : rec::kTxStep), enc.stepCode);
    return checked.outOfBand ? StoreResult::OutOfBand : StoreResult::Ok;
}

StoreResult ChannelStore::setText(std::string text, int g, int c, ChannelField f) {
    if (f == ChannelField::Receive) return setFrequency(text, g, c, true);
    if (f == ChannelField::Transmit) return setFrequency(text, g, c, false);
    auto off = offsetOf(g, c);
    if (!off) return StoreResult::NoChannel;
    CDataImage& image = data_.image;
    const int slot = *slotOf(g, c);
    switch (f) {
    case ChannelField::Decode:
    case ChannelField::Encode: {
        for (char& ch : text)
            if (ch == ',') ch = '.';
        image.setU16(*off + (f == ChannelField::Decode ? rec::kDecode : rec::kEncode),
                     ParseTone(text, this->text(chtext::kOff)));
        return StoreResult::Ok;
    }
    case ChannelField::Name: {
        auto packed = packName(text, nameLength());
        if (!packed) return StoreResult::Invalid;
        for (size_t i = 0; i < packed->size(); ++i) image.setU8(*off + rec::kName + i, (*packed)[i]);
        return StoreResult::Ok;
    }
    case ChannelField::IdCode: {
        if (text.size() < 3) return StoreResult::IdCodeTooShort;
        if (static_cast<int>(text.size()) > idCodeLength()) return StoreResult::Invalid;
        auto packed = packIdCode(text);
        if (!packed) return StoreResult::Invalid;
        for (size_t i = 0; i < packed->size(); ++i) image.setU8(kIdCodes + slot * kIdCodeSize + i, (*packed)[i]);
        return StoreResult::Ok;
    }
    case ChannelField::BeginOfTx:
    case ChannelField::EndOfTx: {
        auto packed = packDtmfCode(text);
        if (!packed) return StoreResult::Invalid;
        const size_t base = (f == ChannelField::BeginOfTx ? kBotCodes : kEotCodes) + slot * kDtmfCodeSize;
        for (size_t i = 0; i < packed->size(); ++i) image.setU8(base + i, (*packed)[i]);
        return StoreResult::Ok;
    }
    case ChannelField::Scrambler: {
        uint8_t value = 0xFF;
        if (!text.empty() && text != this->text(chtext::kNo)) {
            if (text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char ch) {
                    return ch >= '0' && ch <= '9';
                }))
                return StoreResult::Invalid;
            const int n = std::stoi(text);
            if (n > 16) return StoreResult::Invalid;
            value = n == 0 ? 0xFF : static_cast<uint8_t>(n);
        }
        image.setU8(*off + rec::kScrambler, value);
        return StoreResult::Ok;
    }
    default: return StoreResult::Invalid;
    }
}

bool ChannelStore::widthNeedsConfirmation(int g, int c, int selection) const {
    if (selection != 0 || !exists(g, c) || capacity() == 32) return false;
    return isChecked(ChannelField::Compander, g, c);
}

StoreResult ChannelStore::setChoice(ChannelField f, int g, int c, int s) {
    if (!exists(g, c)) return StoreResult::NoChannel;
    if (s < 0 || s >= static_cast<int>(choices(f).size())) return StoreResult::Invalid;
    const size_t off = *offsetOf(g, c);
    CDataImage& image = data_.image;
    switch (f) {
    case ChannelField::OptionSignalling:
        image.setU8(off + rec::kOptionSignalling, s == 2 ? '1' : s == 1 ? '0' : 0xFF);
        return StoreResult::Ok;
    case ChannelField::BusyLockout: {
        int bits = 3;
        if (kindHasOnOffLockout()) bits = s == 1 ? 1 : (thirdLockoutOffered() && s == 2 ? 0 : 3);
        else bits = s == 1 || s == 2 ? s : s == 3 ? 0 : 3;
        const uint8_t v = image.u8(off + rec::kFlags2);
        image.setU8(off + rec::kFlags2, static_cast<uint8_t>((v & ~3) | bits));
        return StoreResult::Ok;
    }
    case ChannelField::TxPower: image.setBit(off + rec::kFlags, 2, s == 0); return StoreResult::Ok;
    case ChannelField::Width:
        // The caller has asked before switching a channel with the compander on to
        // the first item; the compander goes off with it.
        if (widthNeedsConfirmation(g, c, s)) image.setBit(off + rec::kFlags, 1, true);
        image.setBit(off + rec::kFlags, 0, s == 0);
        return StoreResult::Ok;
    case ChannelField::PttId: {
        const int v = s == 0 ? 3 : s - 1;
        const uint8_t flags = image.u8(off + rec::kFlags);
        image.setU8(off + rec::kFlags, static_cast<uint8_t>((flags & 0x3F) | (v << 6)));
        if (v != 3) image.setBit(off + rec::kFlags2, 2, true);
        return StoreResult::Ok;
    }
    case ChannelField::ScanAdd: return setCheck(f, g, c, s == 0);
    case ChannelField::BeatShift:
    case ChannelField::Compander:
    case ChannelField::Priority:
    case ChannelField::Home: return setCheck(f, g, c, s == 1);
    default: return StoreResult::Invalid;
    }
}

StoreResult ChannelStore::setCheck(ChannelField f, int g, int c, bool k) {
    auto off = offsetOf(g, c);
    if (!off) return StoreResult::NoChannel;
    CDataImage& image = data_.image;
    switch (f) {
    case ChannelField::BeatShift: image.setBit(*off + rec::kFlags, 5, !k); break;
    case ChannelField::Compander: image.setBit(*off + rec::kFlags, 1, !k); break;
    case ChannelField::Priority:
        image.setU8(kPriorityGroup, k ? static_cast<uint8_t>(g) : 0xFF);
        image.setU8(kPriorityChannel, k ? static_cast<uint8_t>(c) : 0xFF);
        break;
    case ChannelField::Home:
        image.setU8(kHomeGroup, k ? static_cast<uint8_t>(g) : 0xFF);
        image.setU8(kHomeChannel, k ? static_cast<uint8_t>(c) : 0xFF);
        break;
    case ChannelField::ScanAdd: {
        const int slot = *slotOf(g, c);
        image.setBit(kScanAddBits + slot / 8, slot % 8, k);
        break;
    }
    default: return StoreResult::Invalid;
    }
    return StoreResult::Ok;
}

} // namespace vrl
