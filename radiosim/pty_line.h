// The simulator's end of a pseudo-terminal. The program opens the other end as an
// ordinary serial device; the line settings it sets there can be read here, so the
// simulated radio hears only a program that talks at its own rate.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vrl::radiosim {

class PtyLine {
  public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Creates the pseudo-terminal; false with error() set on failure.
    bool create();
    const std::string& devicePath() const { return path_; }
    const std::string& error() const { return error_; }

    // Waits up to timeoutMs for bytes from the program and returns them (empty on
    // time-out).
    std::vector<uint8_t> receive(int timeoutMs);
    // The baud rate the program's end is set to; 0 when unknown.
    int lineBaud() const;
    bool send(std::span<const uint8_t> bytes);
    // Hangs up: the program's end sees the line drop.
    void hangUp();

  private:
    int master_ = -1;
    int slave_ = -1; // held open so the device outlives the program's open and close
    std::string path_;
    std::string error_;
};

} // namespace vrl::radiosim
