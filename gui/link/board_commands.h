// The trunking board's commands of the main frame: Read Data from Trunking Board,
// Write Data to Trunking Board and Trunking Alignment Mode. Each does nothing
// unless the data's option board is the trunking board.
#pragma once

namespace vrl::gui {

class FrameHost;

// The board's data replace the image's trunking text; a cancelled or failed read
// leaves the text as it was. Open windows show the result.
void runReadFromTrunkingBoard(FrameHost& host);
// The image's trunking text goes to the board (the access code typed is stored in
// the data first when none is stored yet).
void runWriteToTrunkingBoard(FrameHost& host);
// The board keys the radio until the dialog is closed; the main frame is busy
// meanwhile, and every way out stops transmitting and releases the board.
void runTrunkingAlignment(FrameHost& host);

} // namespace vrl::gui
