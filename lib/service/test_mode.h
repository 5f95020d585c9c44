// Test Mode: the radio held in its test state ("TUNING ") and driven by hand on
// one of its 16 test channels, with one of 12 test signallings, at one of two
// bandwidths, keyed or not. The opening checks that the radio matches the data in
// hand (identity, firmware, the 16 test channels) before anything is driven.
//
// One engine for the desktop dialog and the command line: every command failure
// asks Retry/Cancel (text 26) through the TransferUi; Cancel ends the session, and
// every way out leaves the radio unkeyed, sends "E" and closes the port.
#pragma once

#include "link/radio_hold.h"
#include "link/texts.h"
#include "link/transfer_ui.h"
#include "model/radio_data.h"
#include "service/service_link.h"
#include "service/test_frequency.h"

#include <array>
#include <optional>
#include <string_view>

namespace vrl {

namespace servicetext {
inline constexpr int kTestChannelsDiffer = texts::kTestChannelsDiffer; // caption 79
inline constexpr int kRadioNotMatching = texts::kRadioNotMatching;     // caption 79
inline constexpr int kTestModeTitle = 491;
inline constexpr int kVolume = 517;
} // namespace servicetext

inline constexpr int kTestSignallingCount = 12;

struct TestSignalling {
    std::string_view transmit;
    std::string_view receive;
};
// Signalling n (1-12) is entry n - 1.
extern const std::array<TestSignalling, kTestSignallingCount> kTestSignallings;

// What lasts for the run of the program: the test channel the last search settled
// on, and the volume last set in Tuning Mode.
struct ServiceMemory {
    std::optional<int> testChannel;
    std::optional<int> volume;
};
ServiceMemory& serviceMemory();

enum TestModeResult : int {
    kTestModeOk = 0,
    kTestModePortFailed = 1, // text 25 shown
    kTestModeCancelled = 2,  // Cancel at a retry box
    kTestModeRefused = 3,    // the radio does not match the data (text 29, 30 or 27 shown)
    kTestModeNoChannel = 4,  // the radio accepted none of its test channels (text 29 shown)
};

class TestModeSession {
  public:
    TestModeSession(RadioLink& link, RadioData& data, TransferUi& ui);
    ~TestModeSession();
    TestModeSession(const TestModeSession&) = delete;
    TestModeSession& operator=(const TestModeSession&) = delete;

    // The opening exchange; on anything but kTestModeOk the session has ended.
    int open();
    // Unkeys when keyed, sends "E", closes the port. After a failed command the
    // unkey and "E" are sent without asking. Safe to call again.
    void end();

    // Open and not ended (a cancelled retry box ends the session).
    bool active() const { return active_; }
    bool failed() const { return failed_; }
    // The radio acknowledged the last unkey and "E" of end(); false means it may
    // still be keyed or in its test state.
    bool endConfirmed() const { return endConfirmed_; }

    bool mobile() const { return mobile_; }
    int channel() const { return channel_; }
    int signalling() const { return signalling_; }
    int bandwidth() const { return bandwidth_; }
    bool keyed() const { return keyed_; }
    const TuningData& tuningData() const { return tuningData_; }
    TuningData& tuningData() { return tuningData_; }
    uint8_t mobileByte() const { return mobileByte_; }
    uint8_t market() const;
    RadioData& data() { return data_; }
    TestFrequencyTable& frequencies() { return table_; }

    // Test channel by typed number: clamped to 1-16, then forward (wrapping) to the
    // first entry with a receive frequency.
    bool typeChannel(int typed);
    // One step up or down (wrapping 16 <-> 1) over entries with a receive frequency.
    bool stepChannel(int delta);
    // Selects channel n (0x10); a refusal leaves the last accepted channel.
    bool selectChannel(int n);

    bool typeSignalling(int typed); // clamped to 1-12
    bool stepSignalling(int delta); // wrapping 12 <-> 1
    bool selectSignalling(int n);

    bool selectBandwidth(int index);
    bool setKeyed(bool keyed);

    // Re-reads the 90-byte tuning data and, on a mobile, the volume byte.
    bool refreshTuningData();
    // After Tuning Mode closed (whatever the result): the radio is unkeyed.
    void tuningClosed(bool linkFailed);

    // Runs a command until it succeeds; each failure asks Retry/Cancel (text 26).
    // Cancel ends the session's use of the radio: false, and failed() holds.
    // A stop request (a signal on the command line) fails the command unsent.
    template <typename Command> bool retried(Command command) {
        if (!active_) return false;
        if (ui_.stopRequested()) {
            failed_ = true;
            active_ = false;
            return false;
        }
        while (!command()) {
            if (!ui_.askRetry(26)) {
                failed_ = true;
                active_ = false;
                return false;
            }
        }
        return true;
    }

    ServiceLink& commands() { return commands_; }
    TransferUi& ui() { return ui_; }
    void setKeyedFlag(bool keyed) { keyed_ = keyed; }

  private:
    int stop(int result);
    int identify();
    bool compareChannels(bool& same);
    int searchChannel();
    int nextNonBlank(int from, int delta) const;

    RadioLink& link_;
    RadioData& data_;
    TransferUi& ui_;
    ServiceLink commands_;
    TestFrequencyTable table_;
    bool active_ = false;
    bool failed_ = false;
    bool portOpen_ = false;
    bool inTestState_ = false;
    bool mobile_ = false;
    int channel_ = 1;
    int signalling_ = 0;
    int bandwidth_ = 0;
    bool keyed_ = false;
    TuningData tuningData_{};
    uint8_t mobileByte_ = 0;
    bool endConfirmed_ = true;
    // Last: a quit or logout ends the session from outside (unkey, "E", port closed).
    RadioHold hold_{[this] { end(); }};
};

} // namespace vrl
