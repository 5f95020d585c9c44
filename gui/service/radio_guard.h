// The desktop program never leaves a radio keyed or in its test state: on quit, at
// the end of the desktop session (logout) and on SIGINT, SIGTERM, SIGHUP or SIGQUIT,
// every Test Mode and trunking alignment that runs is ended (unkey, leave the test
// state, stop and release the board, close the port) and its window closed.
#pragma once

class QObject;

namespace vrl::gui {

// Connects quit, session end and the signals to endRadioWork().
void guardRadios(QObject* owner);
// Ends every radio hold now and closes Tuning Mode, Test Mode and the alignment
// window.
void endRadioWork();

} // namespace vrl::gui
