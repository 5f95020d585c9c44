#include "history_common.h"

#include "link_common.h"

#include "link/serial_query.h"
#include "link/transfer.h"
#include "platform/history_store.h"

#include <filesystem>
#include <iostream>

namespace vrl::cli {

bool takeHistoryOption(Args& args) {
    static constexpr std::string_view kName = "--history";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") break;
        std::string value;
        if (a == kName) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                std::cerr << "vrl73m-cli: --history needs a database (a file or a postgresql:// URI)\n";
                return false;
            }
            value = args[i + 1];
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        } else if (a.compare(0, kName.size() + 1, std::string(kName) + "=") == 0) {
            value = a.substr(kName.size() + 1);
            args.erase(args.begin() + static_cast<long>(i));
        } else {
            continue;
        }
        platform::setHistoryLocation(QString::fromStdString(value));
        --i;
    }
    return true;
}

history::Event transferEvent(std::string_view operation, int transferResult, const CliUi& ui,
                             const std::string& port, const std::string& file) {
    history::Event e;
    e.operation = operation;
    if (transferResult == kTransferOk) {
        e.result = history::kOk;
    } else if (interruptRequested() || ui.failureExit() == kExitRefused) {
        e.result = history::kCancelled;
        e.message = interruptRequested() ? "interrupted" : "stopped: a question was answered no";
    } else {
        e.result = history::kFailed;
        e.message = "communication with the radio failed";
    }
    e.port = port;
    std::error_code ec;
    e.file = file.empty() ? file : std::filesystem::absolute(file, ec).string();
    if (ec) e.file = file;
    return e;
}

void setEventImage(history::Event& event, const RadioData& data) {
    event.model = std::string(data.model.label());
    event.identity = data.image.identity().hex();
    event.image.assign(data.image.bytes().begin(), data.image.bytes().end());
}

void addSerialNumber(LinkSession& session, history::Event& event) {
    const SerialAnswer answer = querySerialNumber(session.link());
    event.serial = answer.serial;
    if (answer.outcome == SerialAnswer::NoAnswer)
        std::cerr << "vrl73m-cli: warning: the radio did not tell its serial number\n";
}

void openHistoryEarly() {
    std::string ignored;
    platform::programHistory(ignored);
}

void recordEvent(std::string_view command, history::Event& event) {
    std::string error;
    if (!platform::recordHistoryEvent(event, error))
        std::cerr << "vrl73m-cli " << command << ": warning: the event was not recorded in the history ("
                  << history::redactLocation(platform::historyLocation().toStdString()) << "): " << error
                  << '\n';
}

} // namespace vrl::cli

namespace vrl::cli {

bool loadHistoryImage(const std::string& idText, RadioData& data, std::string& error) {
    const auto id = parseNumber(idText);
    if (idText.empty() || idText.find_first_not_of("0123456789") != std::string::npos || !id || *id <= 0) {
        error = "'" + idText + "' is not an event number";
        return false;
    }
    history::HistoryStore* store = platform::programHistory(error);
    if (!store) {
        error = "history " + history::redactLocation(platform::historyLocation().toStdString()) + ": " + error;
        return false;
    }
    const auto event = store->event(*id, error);
    if (!event) {
        if (error.empty()) error = "the history has no event " + idText;
        return false;
    }
    if (event->image.size() != data.image.bytes().size()) {
        error = "history event " + idText + " holds no data image";
        return false;
    }
    std::copy(event->image.begin(), event->image.end(), data.image.bytes().begin());
    data.model.refresh();
    return true;
}

} // namespace vrl::cli
