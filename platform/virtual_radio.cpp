#include "platform/virtual_radio.h"

#include "model/new_data.h"

#include <QDir>
#include <QFileInfo>

namespace vrl::platform {

VirtualRadio::VirtualRadio(QString memoryFile) : file_(std::move(memoryFile)) {
    sim::SimRadio setup;
    if (sim::loadSimRadio(file_.toStdString(), setup).result != kFileOk)
        setup = sim::newSimRadio(defaultIdentity());
    setup.config.info = sim::infoBlockWithSerial("VIRTUAL00001");
    radio_ = std::make_unique<sim::RadioSimulator>(setup.config, setup.memory);
    board_ = std::make_unique<sim::TrunkingBoardSim>(setup.board);
    radio_->attachBoard(board_.get());
    line_ = std::make_unique<sim::SimTransport>(*radio_, SystemClock::instance(), "virtual");
    // What a write leaves in the radio or its board is kept, as a real radio keeps it.
    line_->setOnMemoryWritten([this](const sim::Memory&) { save(); });
    line_->setOnBoardWritten([this](const board::Data&) { save(); });
}

void VirtualRadio::save() {
    QDir().mkpath(QFileInfo(file_).absolutePath());
    const auto status = sim::saveSimMemory(file_.toStdString(), radio_->memory(), &board_->data());
    saveError_ = status.result == kFileOk ? QString() : QString::fromStdString(status.detail);
}

} // namespace vrl::platform
