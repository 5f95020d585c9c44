// The New and Model Information commands of the main frame.
#pragma once

namespace vrl::gui {

class FrameHost;

// New: asks, runs the modified-data prompt, then makes fresh data for the model in
// hand (not modified) named "vrl73m.dat" in the current folder.
void runNewCommand(FrameHost& host);

// Model Information: the dialog; after a change the function windows are closed, the
// title rebuilt and the default window opened. The data stay modified.
void runModelInformation(FrameHost& host);

} // namespace vrl::gui
