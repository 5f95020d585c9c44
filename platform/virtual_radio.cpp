#include "platform/virtual_radio.h"

#include "model/new_data.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace vrl::platform {

VirtualRadio::VirtualRadio(QString memoryFile) : file_(std::move(memoryFile)) {
    sim::SimRadio setup = sim::newSimRadio(defaultIdentity());
    if (QFileInfo::exists(file_) || QFileInfo(file_).isSymLink()) {
        // A radio's memory is never replaced behind the user's back: a truncated,
        // empty or foreign file stays as it is and the radio refuses to open.
        const auto status = sim::loadSimRadio(file_.toStdString(), setup);
        if (status.result != kFileOk) {
            damaged_ = QStringLiteral("the virtual radio's memory file %1 cannot be used (%2); "
                                      "move it away to start with a new virtual radio")
                           .arg(file_, QString::fromStdString(status.detail));
            setup = sim::newSimRadio(defaultIdentity());
        }
    }
    setup.config.info = sim::infoBlockWithSerial("VIRTUAL00001");
    radio_ = std::make_unique<sim::RadioSimulator>(setup.config, setup.memory);
    board_ = std::make_unique<sim::TrunkingBoardSim>(setup.board);
    radio_->attachBoard(board_.get());
    // In test mode the radio tells what a technician would see at it (on the log).
    radio_->setReporter([](const std::string& line) { qInfo("virtual radio: %s", line.c_str()); });
    line_ = std::make_unique<sim::SimTransport>(*radio_, SystemClock::instance(), "virtual");
    // What a write leaves in the radio or its board is kept, as a real radio keeps it;
    // a memory that could not be kept is a failed write.
    line_->setOnMemoryWritten([this](const sim::Memory&) { return save(); });
    line_->setOnBoardWritten([this](const board::Data&) { save(); });
}

bool VirtualRadio::save() {
    QDir().mkpath(QFileInfo(file_).absolutePath());
    const auto status = sim::saveSimMemory(file_.toStdString(), radio_->memory(), &board_->data());
    saveError_ = status.result == kFileOk
                     ? QString()
                     : QStringLiteral("the virtual radio's memory was not saved: %1")
                           .arg(QString::fromStdString(status.detail));
    return status.result == kFileOk;
}

} // namespace vrl::platform
