#include "platform/virtual_radio.h"

#include "model/new_data.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace vrl::platform {

VirtualRadio::VirtualRadio(QString memoryFile) : file_(std::move(memoryFile)) {
    sim::SimRadio setup;
    if (sim::loadSimRadio(file_.toStdString(), setup).result != kFileOk)
        setup = sim::newSimRadio(defaultIdentity());
    setup.config.info = sim::infoBlockWithSerial("VIRTUAL00001");
    radio_ = std::make_unique<sim::RadioSimulator>(setup.config, setup.memory);
    // In test mode the radio tells what a technician would see at it (on the log).
    radio_->setReporter([](const std::string& line) { qInfo("virtual radio: %s", line.c_str()); });
    line_ = std::make_unique<sim::SimTransport>(*radio_, SystemClock::instance(), "virtual");
    // What a write leaves in the radio is kept, as a real radio keeps it.
    line_->setOnMemoryWritten([this](const sim::Memory& memory) {
        QDir().mkpath(QFileInfo(file_).absolutePath());
        const auto status = sim::saveSimMemory(file_.toStdString(), memory);
        saveError_ = status.result == kFileOk ? QString() : QString::fromStdString(status.detail);
    });
}

} // namespace vrl::platform
