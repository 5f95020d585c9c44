// The desktop program's side of the radio history: each transfer is recorded after
// it ran, with the radio's serial number for a complete read or write. A history
// that cannot be used costs a warning on the status bar, never the transfer.
#pragma once

#include "history/history.h"
#include "model/radio_data.h"

#include <QString>

#include <string_view>

class QWidget;

namespace vrl::gui {

class AppContext;

// The history location of the desktop setting (empty: VRL73M_HISTORY or the
// default file); applied to the program's history on first use.
QString historySetting();
void setHistorySetting(const QString& location);

// Records one transfer. `data`: the image moved (null when none); `askSerial`: a
// complete read or write, after which the radio is asked its serial number.
// Returns the event recorded (id 0 when it was not).
history::Event recordTransfer(AppContext& ctx, QWidget* mainWindow, std::string_view operation, int result,
                              const RadioData* data, const QString& file, bool askSerial,
                              const std::string& message = {});

// Records an event made elsewhere (a fleet unit); a store that fails costs a warning
// on the status bar. False when it was not recorded.
bool recordEvent(AppContext& ctx, QWidget* mainWindow, history::Event& event);

// After a read: when the radio has history, the status bar says when and from
// which file it was last written.
void announceLastWrite(AppContext& ctx, QWidget* mainWindow, const history::Event& read);

} // namespace vrl::gui
