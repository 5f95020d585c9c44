// The program's one radio link and what stands behind its port numbers 1-20: a
// serial device of the system, a device path the user typed, or the built-in
// virtual radio. Every radio command reaches the link through this service, which
// lives as long as the application context.
#pragma once

#include "link/radio_link.h"
#include "platform/port_directory.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace vrl::gui {

class AppContext;

class LinkService : public QObject {
    Q_OBJECT
  public:
    using TransportFactory = std::function<std::unique_ptr<Transport>(const QString& device)>;

    struct Options {
        Clock* clock = nullptr;        // the system clock when null
        TransportFactory transports;   // the platform's transports when empty
        QString settingsFile;          // the user's own settings store when empty
        std::optional<QStringList> systemDevices; // listed from the system when unset
    };

    // Made a child of the context, so that of() finds it.
    explicit LinkService(AppContext& ctx);
    LinkService(AppContext& ctx, Options options);
    ~LinkService() override;

    // The service of a context, made with the default options on first use.
    static LinkService& of(AppContext& ctx);

    RadioLink& link() { return *link_; }
    AppContext& context() { return ctx_; }

    // The device port n stands for; empty when none.
    QString deviceFor(int n) const { return ports_.deviceFor(n); }
    // Ties a device (a path, or "virtual") to port n and remembers it.
    void tieDevice(int n, const QString& device);
    // Devices a user may pick for a port: the system's serial devices and "virtual".
    QStringList knownDevices() const;

    // Whether port n opens and is a plain serial line; the link is left closed and on
    // its own port number. When it does not, `reason` (if given) receives why.
    bool probe(int n, QString* reason = nullptr);

    // The device of the link's port and, when the system gave one, why it did not
    // open last time ("/dev/ttyUSB0\nPermission denied"), for the open-failure message.
    QString openFailure();

    // The serial number of the radio last asked for its information (bytes 16-27 of
    // its information block), for the radio of `identity`; empty when not known.
    void rememberSerial(const IdentityBytes& identity, const InfoBlock& block);
    QString serialFor(const IdentityBytes& identity) const;
    // The last open of port n failed for lack of access rights.
    bool permissionDenied(int n);

  private:
    Transport* transportFor(int n);
    void saveTies();

    AppContext& ctx_;
    Options options_;
    QStringList systemDevices_;
    platform::PortDirectory ports_;
    std::map<QString, std::unique_ptr<Transport>> transports_;
    std::unique_ptr<RadioLink> link_;
    IdentityBytes serialIdentity_{};
    QString serial_;
};

} // namespace vrl::gui
