#include "history/history_recording.h"

#include "app/app_context.h"
#include "link/link_service.h"
#include "link/serial_query.h"
#include "link/transfer.h"
#include "platform/history_store.h"

#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>

namespace vrl::gui {

namespace {

const QString kSettingKey = QStringLiteral("History/Location");

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("NORVALE"),
                                       QStringLiteral("vrl73m"));
}

void applySetting() {
    static bool applied = false;
    if (applied) return;
    applied = true;
    if (const QString location = historySetting(); !location.isEmpty()) platform::setHistoryLocation(location);
}

// A keyed text, or its English words when the supplement is missing.
QString keyedText(AppContext& ctx, const char* key, const char* english) {
    const QString text = ctx.text(key);
    return text.isEmpty() || text == QLatin1String(key) ? QString::fromUtf8(english) : text;
}

void showStatus(QWidget* mainWindow, const QString& text) {
    if (auto* frame = qobject_cast<QMainWindow*>(mainWindow)) frame->statusBar()->showMessage(text, 20000);
}

} // namespace

QString historySetting() { return settings()->value(kSettingKey).toString(); }

void setHistorySetting(const QString& location) {
    settings()->setValue(kSettingKey, location);
    platform::setHistoryLocation(location);
}

history::Event recordTransfer(AppContext& ctx, QWidget* mainWindow, std::string_view operation, int result,
                              const RadioData* data, const QString& file, bool askSerial,
                              const std::string& message) {
    applySetting();
    history::Event e;
    e.operation = operation;
    e.result = result == kTransferOk ? history::kOk : history::kFailed;
    e.message = result != kTransferOk && message.empty() ? "stopped before the end" : message;
    LinkService& link = LinkService::of(ctx);
    e.port = link.deviceFor(ctx.comPort()).toStdString();
    e.file = file.toStdString();
    if (data) {
        e.model = std::string(data->model.label());
        e.identity = data->image.identity().hex();
        e.image.assign(data->image.bytes().begin(), data->image.bytes().end());
    }
    if (askSerial && result == kTransferOk) e.serial = querySerialNumber(link.link()).serial;
    if (!recordEvent(ctx, mainWindow, e)) e.id = 0;
    return e;
}

bool recordEvent(AppContext& ctx, QWidget* mainWindow, history::Event& event) {
    applySetting();
    std::string error;
    if (platform::recordHistoryEvent(event, error)) return true;
    showStatus(mainWindow, keyedText(ctx, "history.not_recorded",
                                     "Warning: the transfer was not recorded in the radio history: ") +
                               QString::fromStdString(error));
    return false;
}

void announceLastWrite(AppContext& ctx, QWidget* mainWindow, const history::Event& read) {
    if (read.serial.empty()) return;
    std::string error;
    history::HistoryStore* store = platform::programHistory(error);
    if (!store) return;
    const auto writes = store->list({read.serial, std::string(history::kWrite), ""}, error);
    if (!writes) return;
    for (const history::Event& w : *writes) {
        if (w.result != history::kOk) continue;
        showStatus(mainWindow, keyedText(ctx, "history.last_written", "Radio %1 was last written on %2 (UTC) from %3")
                                   .arg(QString::fromStdString(read.serial), QString::fromStdString(w.time),
                                        QString::fromStdString(w.file.empty() ? "-" : w.file)));
        return;
    }
}

} // namespace vrl::gui
