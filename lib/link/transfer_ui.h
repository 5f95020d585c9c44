// Everything a radio exchange asks of the person at the screen. The desktop
// dialogs and the command line each implement it, so one exchange engine serves
// both. Questions name their message by language-text index (texts.h).
#pragma once

#include "link/radio_link.h"
#include "link/texts.h"

#include <optional>
#include <string>
#include <vector>

namespace vrl {

// What the blocks that move are for: the transfer itself, or reading back what was
// written to check it.
enum class TransferPhase { Transfer, Verify };

class TransferUi {
  public:
    virtual ~TransferUi() = default;

    // "%s %d / %d": blocks done of blocks in all.
    virtual void progress(int count, int total) = 0;
    // Progress from now on counts this phase (a write's verify phase reads back).
    virtual void setPhase(TransferPhase) {}
    // Lets one pending window message through (called once per block number).
    virtual void pumpOne() {}
    // The block loop has started: closing the dialog is refused from now on.
    virtual void setBusy(bool) {}
    // Repaint the dialog and the main window.
    virtual void redraw() {}
    // A stop request that arrived while blocks move (the command line's Ctrl+C);
    // treated like Cancel at the next block.
    virtual bool stopRequested() { return false; }

    // Retry/Cancel question (texts 26, 27); true = Retry.
    virtual bool askRetry(int text) = 0;
    // OK/Cancel question (texts 28, 33, 47); true = OK.
    virtual bool askOk(int text) = 0;
    // An error with only OK (texts 25, 31, 34).
    virtual void showError(int text) = 0;
    // Something went wrong that does not undo the exchange (text 73): shown like an
    // error unless the front end has a gentler form.
    virtual void showWarning(int text) { showError(text); }
    // A write read back differently twice: the radio's memory differs from the file
    // in these blocks (verifyFailedText()). Shown like an error.
    virtual void showVerifyFailed(const std::vector<int>& blocks) {
        (void)blocks;
        showError(texts::kCommFailed);
    }
    // The data password; nullopt = Cancel. Digits, padded with 0xFF.
    virtual std::optional<PasswordBytes> askPassword() = 0;
    // Firmware warning dialog 186 or 189; true = CONTINUE.
    virtual bool firmwareWarning(int dialog) = 0;

    // The trunking board's five-digit access code; nullopt = Cancel.
    virtual std::optional<std::string> askAccessCode() { return std::nullopt; }
    // The board data hold no valid access code: the plain "Access Code Error" box.
    virtual void showAccessCodeError() {}
};

// "the radio's memory differs from the file in blocks 0x12, 0x20; write again"
std::string verifyFailedText(const std::vector<int>& blocks);

// A typed password (digits only, at most the first six used) as the radio takes it.
PasswordBytes passwordFromText(std::string_view digits);

} // namespace vrl
