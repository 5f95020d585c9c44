// Shared set-up of the radio-link GUI tests: a started program whose port 20 is the
// virtual radio, run as a simulated radio on a pretend clock so that time-outs cost
// nothing, and a helper that works a modal dialog once it shows.
#pragma once

#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/main_frame.h"
#include "link/link_service.h"
#include "model/new_data.h"
#include "sim/radio_sim.h"
#include "sim/sim_transport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace vrl::gui::test {


// A transport that hands every call to another one (the service owns its
// transports; the test keeps the simulated line).
class ForwardingTransport : public Transport {
  public:
    explicit ForwardingTransport(Transport& to) : to_(to) {}
    bool open() override { return to_.open(); }
    bool close() override { return to_.close(); }
    bool isOpen() const override { return to_.isOpen(); }
    bool applySettings(const LineSettings& s) override { return to_.applySettings(s); }
    bool write(std::span<const uint8_t> bytes) override { return to_.write(bytes); }
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override {
        return to_.read(buffer, timeoutMs);
    }
    void discardInput() override { to_.discardInput(); }
    std::string name() const override { return to_.name(); }

  private:
    Transport& to_;
};

// A device the user may not open (not in the dialout group).
class LockedTransport : public ForwardingTransport {
  public:
    using ForwardingTransport::ForwardingTransport;
    bool open() override { return false; }
    bool isOpen() const override { return false; }
    bool permissionDenied() const override { return true; }
};

inline IdentityBytes identityOf(const char* code, uint8_t variant, uint8_t flags = 0xF1) {
    IdentityBytes id{};
    for (int i = 0; i < 5; ++i) id[static_cast<size_t>(i)] = static_cast<uint8_t>(code[i]);
    id[5] = variant;
    id[6] = 0xFF;
    id[7] = flags;
    return id;
}

// New data of a model with recognisable bytes in a few fixed blocks.
inline sim::Memory radioMemory(const IdentityBytes& identity, uint8_t seed) {
    RadioData data;
    ModelIdentity id;
    id.bytes = identity;
    newDataFor(data, id);
    auto img = data.image.bytes();
    for (size_t i = 0; i < 256; ++i) img[0x51 * 256 + i] = static_cast<uint8_t>(seed + i);
    for (size_t i = 0; i < 256; ++i) img[0x62 * 256 + i] = static_cast<uint8_t>(seed * 3 + i * 7);
    sim::Memory memory{};
    std::copy(img.begin(), img.begin() + static_cast<long>(memory.size()), memory.begin());
    return memory;
}

// The program, started hidden, with the radio behind port 20.
struct LinkBench {
    StartedApp program;
    PretendClock clock;
    std::unique_ptr<sim::RadioSimulator> radio;
    std::unique_ptr<sim::SimTransport> line;
    LinkService* service = nullptr;
    QStringList devicesMade;

    static constexpr int kRadioPort = 20;

    explicit LinkBench(const sim::SimConfig& config, const sim::Memory& memory,
                       QStringList systemDevices = {}) {
        radio = std::make_unique<sim::RadioSimulator>(config, memory);
        line = std::make_unique<sim::SimTransport>(*radio, clock);
        if (!program.start()) return;
        LinkService::Options options;
        options.clock = &clock;
        options.settingsFile = program.dir.path() + "/ports.ini";
        options.systemDevices = systemDevices;
        options.transports = [this](const QString& device) -> std::unique_ptr<Transport> {
            devicesMade << device;
            if (device == QLatin1String("virtual")) return std::make_unique<ForwardingTransport>(*line);
            if (device.startsWith(QLatin1String("/dev/good")))
                return std::make_unique<ForwardingTransport>(*line);
            if (device.startsWith(QLatin1String("/dev/locked"))) return std::make_unique<LockedTransport>(*line);
            return nullptr; // no such device
        };
        service = new LinkService(ctx(), options);
        ctx().setComPort(kRadioPort);
    }

    bool started() const { return service != nullptr; }
    AppContext& ctx() { return program.app->context(); }
    CMainFrame& frame() { return *program.app->mainFrame(); }
    CDataImage& image() { return ctx().data().image; }
    ScriptedMessages& messages() { return program.messages; }
};

// Works the next visible modal dialog of type T once it shows (polled on a timer).
// A dialog that never comes is reported by `missed`; a modal dialog left open for
// long is closed so that a failing test ends.
// Saves a picture of a window when VRL_SCREENSHOT_DIR is set.
inline void screenshot(QWidget* w, const QString& name) {
    const QByteArray dir = qgetenv("VRL_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QApplication::processEvents();
    w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The timers of dialogs still awaited; a test's cleanup drops them.
inline QObject& pendingDialogs() {
    static QObject owner;
    return owner;
}
inline void dropPendingDialogs() { qDeleteAll(pendingDialogs().children()); }

template <class T>
void onDialog(std::function<void(T*)> action, bool* missed = nullptr) {
    auto* timer = new QTimer(&pendingDialogs());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    if (missed) *missed = true;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, missed] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            if (missed) *missed = false;
            action(dialog);
            return;
        }
        if (clock->elapsed() > 10000) {
            timer->stop();
            timer->deleteLater();
            if (QWidget* stuck = QApplication::activeModalWidget()) stuck->close();
        }
    });
    timer->start();
}

} // namespace vrl::gui::test
