#include "link/link_service.h"

#include "app/app_context.h"
#include "platform/transports.h"

#include <QSettings>

#include <algorithm>
#include <cctype>

namespace vrl::gui {

namespace {

std::unique_ptr<QSettings> openSettings(const QString& file) {
    if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("NORVALE"), QStringLiteral("vrl73m"));
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("NORVALE"), QStringLiteral("vrl73m"));
#endif
}

} // namespace

LinkService::LinkService(AppContext& ctx) : LinkService(ctx, Options{}) {}

LinkService::LinkService(AppContext& ctx, Options options)
    : QObject(&ctx), ctx_(ctx), options_(std::move(options)),
      systemDevices_(options_.systemDevices ? *options_.systemDevices
                                            : platform::PortDirectory::listSystemDevices()),
      ports_(systemDevices_) {
    if (!options_.transports)
        options_.transports = [](const QString& device) { return platform::makeTransport(device); };
    {
        auto settings = openSettings(options_.settingsFile);
        const auto stored = platform::PortDirectory::fromSettings(*settings);
        ports_ = platform::PortDirectory(systemDevices_, stored.ties());
    }
    // The virtual radio is always on offer: on the highest number no device takes.
    if (ports_.numberOf(QString::fromLatin1(platform::kVirtualPortName)) == 0) {
        for (int n = platform::PortDirectory::kPortCount; n >= 1; --n) {
            if (ports_.deviceFor(n).isEmpty()) {
                ports_.tie(n, QString::fromLatin1(platform::kVirtualPortName));
                break;
            }
        }
    }

    Clock& clock = options_.clock ? *options_.clock : SystemClock::instance();
    link_ = std::make_unique<RadioLink>(clock);
    link_->setTransportSource([this](int n) { return transportFor(n); });
    link_->setPortNumber(ctx_.comPort());
    connect(&ctx_, &AppContext::comPortChanged, this, [this](int port) { link_->setPortNumber(port); });
}

LinkService::~LinkService() {
    if (link_) link_->setOpen(false);
}

LinkService& LinkService::of(AppContext& ctx) {
    if (auto* existing = ctx.findChild<LinkService*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new LinkService(ctx);
}

Transport* LinkService::transportFor(int n) {
    const QString device = ports_.deviceFor(n);
    if (device.isEmpty()) return nullptr;
    auto& slot = transports_[device];
    if (!slot) slot = options_.transports(device);
    return slot.get();
}

void LinkService::tieDevice(int n, const QString& device) {
    const QString clean = device.trimmed();
    if (ports_.deviceFor(n) == clean) return;
    // The device behind an open port changes: the port closes first.
    if (link_->isOpen() && link_->portNumber() == n) link_->setOpen(false);
    ports_.tie(n, clean);
    saveTies();
}

void LinkService::saveTies() {
    auto settings = openSettings(options_.settingsFile);
    ports_.saveTo(*settings);
    settings->sync();
}

QStringList LinkService::knownDevices() const {
    QStringList devices = systemDevices_;
    devices.sort();
    // USB adapters also by their stable names, which survive re-plugging.
    if (!options_.systemDevices) devices << platform::PortDirectory::listDevicesById();
    devices << QString::fromLatin1(platform::kVirtualPortName);
    return devices;
}

bool LinkService::permissionDenied(int n) {
    const Transport* port = transportFor(n);
    return port && port->permissionDenied();
}

bool LinkService::probe(int n, QString* reason) {
    const int own = link_->portNumber();
    link_->setOpen(false);
    link_->setPortNumber(n);
    const bool opened = link_->setOpen(true);
    const bool usable = opened && link_->isRs232();
    link_->setOpen(false);
    link_->setPortNumber(own);
    if (!usable && reason) {
        // What the system said when the device would not open; a device that opens but
        // is no serial line has no system error to tell.
        const Transport* line = transportFor(n);
        *reason = opened || !line ? QString() : QString::fromStdString(line->failureReason());
    }
    return usable;
}

QString LinkService::openFailure() {
    const int n = link_->portNumber();
    const QString device = deviceFor(n);
    const Transport* line = device.isEmpty() ? nullptr : transportFor(n);
    const QString reason = line ? QString::fromStdString(line->failureReason()) : QString();
    return reason.isEmpty() ? device : device + '\n' + reason;
}

void LinkService::rememberSerial(const IdentityBytes& identity, const InfoBlock& block) {
    QString serial;
    // Letters, digits and '-' only: the number goes into file names.
    for (size_t i = 16; i < 28; ++i) {
        const uint8_t b = block[i];
        if (b == 0) break;
        if (b < 0x80 && (std::isalnum(b) || b == '-')) serial += QChar::fromLatin1(char(b));
    }
    serialIdentity_ = identity;
    serial_ = serial;
}

QString LinkService::serialFor(const IdentityBytes& identity) const {
    // The option-board and flag bytes may be adjusted when the identity is adopted;
    // the model bytes name the radio.
    const bool same = std::equal(identity.begin(), identity.begin() + 6, serialIdentity_.begin());
    return same ? serial_ : QString();
}

} // namespace vrl::gui
