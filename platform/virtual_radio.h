// The built-in virtual radio: a simulated radio run in-process behind the port
// name "virtual", so every radio command can be tried without hardware. Its memory
// lives in a data file in the user's data folder between runs. It always carries a
// trunking board (access code "00000"), whose data live in the same file.
#pragma once

#include "sim/sim_setup.h"
#include "sim/sim_transport.h"

#include <QString>

#include <memory>

namespace vrl::platform {

class VirtualRadio : public Transport {
  public:
    // Memory from `memoryFile`; New data of the default model when there is none yet.
    // A file that is there but is no data file is left alone: the radio then cannot
    // be opened, and failureReason() says why.
    explicit VirtualRadio(QString memoryFile);

    bool open() override { return damaged_.isEmpty() && line_->open(); }
    bool close() override { return line_->close(); }
    bool isOpen() const override { return line_->isOpen(); }
    bool applySettings(const LineSettings& s) override { return line_->applySettings(s); }
    bool write(std::span<const uint8_t> bytes) override { return line_->write(bytes); }
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override {
        return line_->read(buffer, timeoutMs);
    }
    void discardInput() override { line_->discardInput(); }
    std::string name() const override { return "virtual"; }
    // A damaged memory file, or why the memory could not be saved the last time.
    std::string failureReason() const override {
        return (damaged_.isEmpty() ? saveError_ : damaged_).toStdString();
    }

    sim::RadioSimulator& radio() { return *radio_; }
    sim::TrunkingBoardSim& board() { return *board_; }
    const QString& memoryFile() const { return file_; }
    // The reason the memory could not be saved the last time, empty when it was.
    const QString& saveError() const { return saveError_; }

  private:
    QString file_;
    QString saveError_;
    QString damaged_;
    bool save();

    std::unique_ptr<sim::RadioSimulator> radio_;
    std::unique_ptr<sim::TrunkingBoardSim> board_;
    std::unique_ptr<sim::SimTransport> line_;
};

} // namespace vrl::platform
