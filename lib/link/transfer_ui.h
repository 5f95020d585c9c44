// Everything a radio exchange asks of the person at the screen. The desktop
// dialogs and the command line each implement it, so one exchange engine serves
// both. Questions name their message by language-text index (texts.h).
#pragma once

#include "link/radio_link.h"

#include <optional>
#include <string>

namespace vrl {

class TransferUi {
  public:
    virtual ~TransferUi() = default;

    // "%s %d / %d": blocks done of blocks in all.
    virtual void progress(int count, int total) = 0;
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
    // The data password; nullopt = Cancel. Digits, padded with 0xFF.
    virtual std::optional<PasswordBytes> askPassword() = 0;
    // Firmware warning dialog 186 or 189; true = CONTINUE.
    virtual bool firmwareWarning(int dialog) = 0;

    // The trunking board's five-digit access code; nullopt = Cancel.
    virtual std::optional<std::string> askAccessCode() { return std::nullopt; }
    // The board data hold no valid access code: the plain "Access Code Error" box.
    virtual void showAccessCodeError() {}
};

// A typed password (digits only, at most the first six used) as the radio takes it.
PasswordBytes passwordFromText(std::string_view digits);

} // namespace vrl
