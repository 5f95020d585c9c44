// Test doubles for the radio link: a pretend clock, a transport that follows a
// script of expected writes and canned replies, a recorder around any transport,
// and a TransferUi that answers from a list and logs what it was asked.
#pragma once

#include "link/clock.h"
#include "link/transfer_ui.h"
#include "link/transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vrl::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes textBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

using FakeClock = PretendClock;

// Every write must equal the next scripted step; its reply then becomes readable.
// A step may also carry a late reply, readable only `lateMs` after the write (a
// radio that answers after the program stopped waiting). A read that finds too few
// bytes takes its whole time-out on the clock.
class ScriptedTransport : public Transport {
  public:
    explicit ScriptedTransport(FakeClock& clock) : clock_(clock) {}

    ScriptedTransport& expect(Bytes sent, Bytes reply = {}) {
        script_.push_back({std::move(sent), std::move(reply)});
        return *this;
    }
    ScriptedTransport& expectText(std::string_view sent, Bytes reply = {}) {
        return expect(textBytes(sent), std::move(reply));
    }
    ScriptedTransport& expectLate(Bytes sent, Bytes reply, Bytes late, int lateMs) {
        script_.push_back({std::move(sent), std::move(reply), std::move(late), lateMs});
        return *this;
    }

    bool open() override {
        ++opens;
        if (failOpen) return false;
        open_ = true;
        return true;
    }
    bool close() override {
        ++closes;
        open_ = false;
        return true;
    }
    bool isOpen() const override { return open_; }
    bool applySettings(const LineSettings& s) override {
        settings.push_back(formatLineSettings(s));
        return true;
    }
    bool write(std::span<const uint8_t> bytes) override {
        Bytes sent(bytes.begin(), bytes.end());
        writes.push_back(sent);
        if (next_ >= script_.size()) {
            ADD_FAILURE() << "unexpected write #" << writes.size() << " of " << sent.size()
                          << " bytes after the script ended";
            return !failWrites;
        }
        const auto& step = script_[next_];
        if (step.sent != sent) {
            ADD_FAILURE() << "write #" << writes.size() << " differs from script step " << next_
                          << " (" << sent.size() << " bytes, expected " << step.sent.size() << ")";
        }
        ++next_;
        for (uint8_t b : step.reply)
            input_.push_back({b, clock_.now});
        for (uint8_t b : step.late)
            input_.push_back({b, clock_.now + step.lateMs});
        return !failWrites;
    }
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override {
        readTimeouts.push_back(timeoutMs);
        const int64_t deadline = clock_.now + timeoutMs;
        size_t got = 0;
        while (got < buffer.size() && !input_.empty() && input_.front().at <= deadline) {
            clock_.now = std::max(clock_.now, input_.front().at);
            buffer[got++] = input_.front().byte;
            input_.pop_front();
        }
        if (got < buffer.size()) clock_.now = std::max(clock_.now, deadline);
        return got;
    }
    void discardInput() override {
        while (!input_.empty() && input_.front().at <= clock_.now) {
            ++discarded;
            input_.pop_front();
        }
    }
    std::string name() const override { return "scripted"; }

    // Puts bytes in the receive queue without a write (they arrive unasked).
    void inject(Bytes bytes) {
        for (uint8_t b : bytes)
            input_.push_back({b, clock_.now});
    }
    bool finished() const { return next_ == script_.size(); }

    std::vector<Bytes> writes;
    std::vector<int> readTimeouts;
    std::vector<std::string> settings;
    int opens = 0;
    int closes = 0;
    size_t discarded = 0;
    bool failOpen = false;
    bool failWrites = false;

  private:
    struct Step {
        Bytes sent;
        Bytes reply;
        Bytes late = {};
        int lateMs = 0;
    };
    struct Arriving {
        uint8_t byte;
        int64_t at;
    };
    FakeClock& clock_;
    std::vector<Step> script_;
    size_t next_ = 0;
    std::deque<Arriving> input_;
    bool open_ = false;
};

// Passes everything through and keeps every write.
class RecordingTransport : public Transport {
  public:
    explicit RecordingTransport(Transport& inner) : inner_(inner) {}
    bool open() override { ++opens; return inner_.open(); }
    bool close() override { ++closes; return inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    bool applySettings(const LineSettings& s) override { return inner_.applySettings(s); }
    bool write(std::span<const uint8_t> bytes) override {
        writes.emplace_back(bytes.begin(), bytes.end());
        return inner_.write(bytes);
    }
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override {
        return inner_.read(buffer, timeoutMs);
    }
    void discardInput() override { inner_.discardInput(); }
    std::string name() const override { return inner_.name(); }

    // Block commands in the order sent: (command letter, block number).
    std::vector<std::pair<char, int>> blockCommands() const {
        std::vector<std::pair<char, int>> out;
        for (size_t i = 0; i < writes.size(); ++i) {
            const Bytes& w = writes[i];
            if (w.size() == 3 && (w[0] == 'R' || w[0] == 'T'))
                out.emplace_back(static_cast<char>(w[0]), (w[1] << 8) | w[2]);
            else if ((w.size() == 260 && (w[0] == 'W' || w[0] == 'Y')) || (w.size() == 4 && w[0] == 'Z'))
                out.emplace_back(static_cast<char>(w[0]), (w[1] << 8) | w[2]);
        }
        return out;
    }
    // The block commands without the repeats of a block asked for again in a row (a
    // read asks twice for a block that came back as one value).
    std::vector<std::pair<char, int>> blockCommandsOnce() const {
        auto out = blockCommands();
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }
    // The write commands ("W", "Y", "Z") only, without the reads of a verify.
    std::vector<std::pair<char, int>> writeCommands() const {
        auto out = blockCommands();
        std::erase_if(out, [](const auto& c) { return c.first == 'R' || c.first == 'T'; });
        return out;
    }
    bool sent(const Bytes& bytes) const {
        for (const auto& w : writes)
            if (w == bytes) return true;
        return false;
    }

    std::vector<Bytes> writes;
    int opens = 0;
    int closes = 0;

  private:
    Transport& inner_;
};

class ScriptedUi : public TransferUi {
  public:
    void progress(int count, int total) override { progressLog.emplace_back(count, total); }
    void setBusy(bool on) override { busyLog.push_back(on); }
    bool askRetry(int text) override {
        asked.push_back(text);
        if (retries > 0) {
            --retries;
            return true;
        }
        return false;
    }
    bool askOk(int text) override {
        asked.push_back(text);
        return okAnswer;
    }
    void showError(int text) override { asked.push_back(text); }
    std::optional<PasswordBytes> askPassword() override {
        ++passwordPrompts;
        if (passwords.empty()) return std::nullopt;
        auto pw = passwordFromText(passwords.front());
        passwords.pop_front();
        return pw;
    }
    bool firmwareWarning(int dialog) override {
        warnings.push_back(dialog);
        return continueAfterWarning;
    }
    bool stopRequested() override { return stopAfterProgressCalls >= 0 && int(progressLog.size()) >= stopAfterProgressCalls; }

    int retries = 0;
    bool okAnswer = true;
    bool continueAfterWarning = true;
    int stopAfterProgressCalls = -1;
    std::deque<std::string> passwords;
    std::vector<int> asked;
    std::vector<int> warnings;
    std::vector<std::pair<int, int>> progressLog;
    std::vector<bool> busyLog;
    int passwordPrompts = 0;
};

} // namespace vrl::testing
