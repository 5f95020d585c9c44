// The optional features: radio-wide settings that belong to no channel (name
// lengths on the display, power-on text, alert tones, volumes, the time-out timer
// family, passwords, off-hook behaviour, squelch, key lock, key detection and the
// service modes the radio allows).
//
// Layout (image offsets; a "word" is little-endian, bit n of the word at 0x2D is
// bit n-8 of 0x2E for n >= 8, likewise for 0x44 and 0x84):
//   0x10 word  time-out timer [s]      0x12 word  TOT rekey time [s]
//   0x14 word  TOT reset time [s]      0x16 word  TOT pre-alert [s]
//   0x1E       squelch level           0x1F       battery save (0x32 on)
//   0x2D word  bit 3 clear to transpond (0 on), bit 5 speaker muting (0 on),
//              bit 9 key lock, bit 10 ACC hook/DTC, bit 11 LED control,
//              bit 12 key detection type
//   0x44 word  bit 3 data TX with ST/CST (0 on)
//   0x80       bit 0 display character, bit 2 off-hook horn alert (0 on),
//              bit 3 off-hook decode (0 on)
//   0x82       bits 0-4 panel test, panel tuning, firmware programming, clone,
//              self programming
//   0x84 word  bits 0-2 power-on, control and warning tone
//   0x8A       minimum volume          0x8B       tone volume (0xFF = "C")
//   0x8D       group-name length g (channel-name length 8 - g)
//   0x94-0x9B  power-on text           0xD4-0xD9  radio password (ASCII digits)
//   0xDA-0xDF  data password; 0xAE bit 6 set while it is empty
//   0xE9       TX inhibit tone         0xEA       mute during alert tone (0xFF on)
//   0xEB       pre-alert tone (0x00 on) 0xFE      bit 0 signalling
//   0x1EC      modify mode / key detection (0x33 or 0xFF)
//   0x2DB      external PTT            0x2F7      busy channel lockout tone (0x00 on)
#pragma once

#include "channels/text_source.h"
#include "model/data_image.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vrl {

class FeatureSettings {
  public:
    static constexpr size_t kTimeOutTimer = 0x0010;
    static constexpr size_t kTotRekeyTime = 0x0012;
    static constexpr size_t kTotResetTime = 0x0014;
    static constexpr size_t kTotPreAlert = 0x0016;
    static constexpr size_t kSquelchLevel = 0x001E;
    static constexpr size_t kBatterySave = 0x001F;
    static constexpr size_t kWord2D = 0x002D;
    static constexpr size_t kWord44 = 0x0044;
    static constexpr size_t kDisplayFlags = 0x0080;
    static constexpr size_t kModeFlags = 0x0082;
    static constexpr size_t kWord84 = 0x0084;
    static constexpr size_t kMinimumVolume = 0x008A;
    static constexpr size_t kToneVolume = 0x008B;
    static constexpr size_t kGroupNameLength = 0x008D;
    static constexpr size_t kPowerOnText = 0x0094;
    static constexpr size_t kIdentityFlags = 0x00AE; // bit 6: no data password
    static constexpr size_t kRadioPassword = 0x00D4;
    static constexpr size_t kDataPassword = 0x00DA;
    static constexpr size_t kPasswordLength = 6;
    static constexpr size_t kTxInhibitTone = 0x00E9;
    static constexpr size_t kMuteDuringAlertTone = 0x00EA;
    static constexpr size_t kPreAlertTone = 0x00EB;
    static constexpr size_t kSignalling = 0x00FE;
    static constexpr size_t kKeyDetection = 0x01EC;
    static constexpr size_t kExternalPtt = 0x02DB;
    static constexpr size_t kBusyChannelLockoutTone = 0x02F7;

    static constexpr int kNameSpaces = 8;         // display places of group + channel name
    static constexpr uint8_t kToneVolumeC = 0xFF; // tone volume "C"
    static constexpr int kSecondsPerTotStep = 15;

    // Number fields with an edit and a spin.
    enum class Number {
        ChannelNameLength,
        GroupNameLength,
        MinimumVolume,
        ToneVolume,
        TimeOutTimer,
        TotPreAlert,
        TotRekeyTime,
        TotResetTime,
        SquelchLevel,
    };
    // Check boxes.
    enum class Switch {
        PowerOnTone,
        ControlTone,
        WarningTone,
        BusyChannelLockoutTone,
        PreAlertTone,
        MuteDuringAlertTone,
        BatterySave,
        OffHookDecode,
        OffHookHornAlert,
        SpeakerMutingByOffHook,
        DataTxWithStCst,
        ClearToTranspond,
        ModifyMode,
        PanelTest,
        PanelTuning,
        FirmwareProgramming,
        Clone,
        SelfProgramming,
    };
    // Drop-down lists.
    enum class Choice {
        DisplayCharacter,
        TxInhibitTone,
        AccHookDtc,
        ExternalPtt,
        Signalling,
        KeyLock,
        KeyDetection,
        LedControl,
    };

    // `texts` gives the words shown for special values: 65 (name length 0), 69
    // (off) and 264 (tone volume "C").
    FeatureSettings(CDataImage& image, TextSource texts)
        : image_(image), texts_(std::move(texts)) {}

    // ---- number fields ----
    // The shown text; empty for a stored value outside the field's range.
    std::string text(Number field) const;
    // Stores typed text (defaults, clamps and special words as the field takes
    // them) and returns the text now shown.
    std::string setText(Number field, std::string_view typed);
    // The spin position: the value itself; the time-out timer in 15 s steps (0 when
    // off); tone volume -1 for "C".
    int stepIndex(Number field) const;
    // Stores a spin position, wrapped into the field's range; returns the text.
    std::string setStep(Number field, int index);
    // The spin range of a field on this model.
    int minStep(Number field) const;
    int maxStep(Number field) const;

    // ---- time-out timer ----
    // Steps of 15 s: 40 on a mobile, 20 on a portable; the off value is twice the
    // largest time (1200 s or 600 s).
    int totSteps() const;
    uint16_t totOffValue() const;
    bool isTotOff() const;

    // ---- texts ----
    std::string powerOnText() const;
    // Upper-cases and cuts to eight characters; an empty or all-blank text is stored
    // as 8 x 0xFF. A character the display cannot show leaves the stored text alone.
    std::string setPowerOnText(std::string_view typed);
    std::string radioPassword() const;
    std::string setRadioPassword(std::string_view typed);
    // Also keeps 0xAE bit 6 (set while no data password is stored) in step.
    std::string dataPassword() const;
    std::string setDataPassword(std::string_view typed);

    // ---- checks ----
    bool isOn(Switch field) const;
    void setOn(Switch field, bool on);

    // ---- drop-down lists ----
    // The selected item, -1 when the stored value is none of the items.
    int item(Choice field) const;
    // Stores an item; an index outside the list leaves the image alone.
    void setItem(Choice field, int item);
    static int itemCount(Choice field);

  private:
    std::string word(int textIndex) const { return texts_ ? texts_(textIndex) : std::string(); }
    int numberValue(Number field) const;
    void storeNumber(Number field, int value);
    int parseNameLength(std::string_view typed) const;
    int parseTot(std::string_view typed) const;
    std::string readDigits(size_t offset) const;
    void writeDigits(size_t offset, std::string_view typed);

    CDataImage& image_;
    TextSource texts_;
};

} // namespace vrl
