// What the radio subcommands share for the radio history: the --history option
// (taken by every command), the serial-number query after a transfer and the
// recording of one event, which only ever warns.
#pragma once

#include "commands.h"

#include "history/history.h"
#include "model/radio_data.h"

#include <string>
#include <string_view>

namespace vrl::cli {

class LinkSession;
class CliUi;

// Removes "--history DB" / "--history=DB" from the arguments and makes DB the
// history recorded into. False (message printed) when DB is missing.
bool takeHistoryOption(Args& args);

// The event of a radio or board transfer: operation, result of the transfer (with a
// message for a failure), port, file and, for a complete transfer, the image.
history::Event transferEvent(std::string_view operation, int transferResult, const CliUi& ui,
                             const std::string& port, const std::string& file);
void setEventImage(history::Event& event, const RadioData& data);

// Asks the radio its serial number (after a complete transfer) into the event.
void addSerialNumber(LinkSession& session, history::Event& event);

// Opens the history before a transfer: a new default history imports the backup
// folder before this transfer adds its own backup. Errors wait for recordEvent().
void openHistoryEarly();

// Records the event; when that fails, warns on stderr and carries on.
void recordEvent(std::string_view command, history::Event& event);

} // namespace vrl::cli

namespace vrl::cli {

// The image of history event `idText` (digits) from the program's history into
// `data`. False with `error` set when there is no such event or it holds no image.
bool loadHistoryImage(const std::string& idText, RadioData& data, std::string& error);

} // namespace vrl::cli
