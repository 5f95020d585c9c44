// The radio commands of the main frame: Read Data from Radio, Write Data to Radio,
// Radio Information, Check Sum and Communication Port. Each registers itself with
// the frame's command registry; tests call them directly.
#pragma once

namespace vrl::gui {

class FrameHost;

// Asks to save unsaved data first, then reads. After a complete read the radio's
// data are the current data (not modified), the model follows the radio and a
// copy goes to the backup folder; otherwise the data are exactly as before.
void runReadFromRadio(FrameHost& host);
// Commits the edit in progress, then writes. The data stay as they are, except
// that writing to the oldest firmware may clear the passwords after asking.
void runWriteToRadio(FrameHost& host);
// Asks the radio who it is and shows the answer; the data are not touched.
void runRadioInformation(FrameHost& host);
void runCheckSum(FrameHost& host);
void runCommunicationPort(FrameHost& host);

} // namespace vrl::gui
