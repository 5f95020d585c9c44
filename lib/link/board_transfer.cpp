#include "link/board_transfer.h"

#include "link/texts.h"
#include "link/transfer.h"

#include <algorithm>
#include <optional>
#include <string>

namespace vrl {

namespace board {

namespace {

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

} // namespace

void cleanReadData(std::span<uint8_t, kDataSize> data) {
    static constexpr std::string_view kLostCopy = "0000000F";
    if (std::equal(kLostCopy.begin(), kLostCopy.end(), data.begin() + 88,
                   [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; }))
        std::copy_n(data.begin() + 40, 8, data.begin() + 88);
    for (size_t i = 168; i <= 391; ++i)
        if (!isDigit(data[i])) data[i] = 'F';
    for (size_t field : {12, 20, 52, 56, 60, 64, 80}) {
        auto f = data.subspan(field, 4);
        if (f[0] == '0' && f[1] == '0' && f[2] == 'F' && f[3] == 'F') {
            f[2] = '0';
            f[3] = '1';
        }
    }
}

bool storeAccessCode(std::span<uint8_t, kDataSize> data, std::string_view code) {
    std::fill_n(data.begin() + 68, 3, '0');
    for (size_t i = 72; i <= 78; i += 2) data[i] = '0';
    if (data[79] == 'F' && code.size() == kAccessCodeLength)
        for (size_t i = 0; i < kAccessCodeLength; ++i) data[71 + 2 * i] = static_cast<uint8_t>(code[i]);
    const auto area = data.subspan(68, 12);
    if (std::all_of(area.begin(), area.end(), isDigit)) return true;
    std::fill(area.begin(), area.end(), 'F');
    return false;
}

bool awaitByte(RadioLink& link, uint8_t expected) {
    for (int i = 0; i <= kMaxStrayBytes; ++i) {
        uint8_t b = 0;
        if (!link.readBytes({&b, 1})) return false;
        if (b == expected) return true;
    }
    return false;
}

void drainLine(RadioLink& link) {
    const int remembered = link.readTimeout();
    link.setReadTimeout(kQuietMs);
    const int64_t start = link.clock().nowMs();
    uint8_t b = 0;
    while (link.readBytes({&b, 1}) && link.clock().nowMs() - start < kQuietLimitMs) {
    }
    link.setReadTimeout(remembered);
}

} // namespace board

namespace {

using namespace board;

bool readExact(RadioLink& link, std::span<const uint8_t> expected) {
    std::array<uint8_t, 8> got{};
    auto part = std::span(got).first(expected.size());
    return link.readBytes(part) && std::equal(part.begin(), part.end(), expected.begin());
}

bool openBoard(RadioLink& link) {
    link.setReadTimeout(kReplyTimeoutMs);
    return link.writeText(kOpenLine) && awaitByte(link, kAck);
}

enum class CodeReply { Accepted, Rejected, Failed };

CodeReply sendAccessCode(RadioLink& link, std::string_view code) {
    link.busyWait(kAccessCodePauseMs);
    std::string line(code);
    line.push_back(static_cast<char>(kHostLineEnd[0]));
    line.push_back(static_cast<char>(kHostLineEnd[1]));
    link.setReadTimeout(kAccessCodeTimeoutMs);
    if (!link.writeText(line)) return CodeReply::Failed;
    std::array<uint8_t, 3> reply{};
    uint8_t first = 0;
    // Silence is a failed line; any answer other than "2" LF CR is a rejection.
    if (!link.readBytes({&first, 1})) return CodeReply::Failed;
    reply[0] = first;
    if (!link.readBytes(std::span(reply).subspan(1))) return CodeReply::Rejected;
    return reply == kCodeAccepted ? CodeReply::Accepted : CodeReply::Rejected;
}

enum class Entry { Ready, Stopped, Rejected };

// The board opened ("QM503TB,") and the access code accepted. `code` receives the
// code typed.
Entry enterBoard(RadioLink& link, TransferUi& ui, std::string& code) {
    while (!openBoard(link))
        if (!ui.askRetry(texts::kCommFailed)) return Entry::Stopped;
    while (true) {
        auto typed = ui.askAccessCode();
        if (!typed) return Entry::Stopped;
        switch (sendAccessCode(link, *typed)) {
        case CodeReply::Accepted: code = *typed; return Entry::Ready;
        case CodeReply::Rejected: ui.showError(texts::kPasswordRejected); return Entry::Rejected;
        case CodeReply::Failed:
            if (!ui.askRetry(texts::kCommFailed)) return Entry::Stopped;
            drainLine(link);
            break;
        }
    }
}

// "e" and the port closed, on every way out once the port is open. True when the
// board confirmed the release.
bool releaseBoard(RadioLink& link) {
    link.setReadTimeout(kReplyTimeoutMs);
    const bool released = link.writeByte(kRelease) && awaitByte(link, kAck);
    return released;
}

int stopBoard(RadioLink& link, TransferUi& ui, int result) {
    ui.redraw();
    ui.setBusy(false);
    releaseBoard(link);
    link.setOpen(false);
    return result;
}

enum class Loop { Done, Failed, Stopped };

Loop readRecords(RadioLink& link, TransferUi& ui, Data& data) {
    link.setReadTimeout(kReplyTimeoutMs);
    if (!link.writeText(kStartRead)) return Loop::Failed;
    for (int r = 0; r < kRecordCount; ++r) {
        auto record = std::span(data).subspan(static_cast<size_t>(r) * kRecordLength, kRecordLength);
        if (!link.readBytes(record) || !readExact(link, kBoardLineEnd)) return Loop::Failed;
        if (r == kRecordCount - 1 && !readExact(link, kBoardLineEnd)) return Loop::Failed;
        ui.progress(r + 1, kRecordCount);
        ui.pumpOne();
        if (ui.stopRequested()) return Loop::Stopped;
    }
    return Loop::Done;
}

Loop writeRecords(RadioLink& link, TransferUi& ui, const Data& data) {
    link.setReadTimeout(kReplyTimeoutMs);
    if (!link.writeText(kStartWrite)) return Loop::Failed;
    for (int r = 0; r < kRecordCount; ++r) {
        ui.progress(r + 1, kRecordCount);
        ui.pumpOne();
        if (ui.stopRequested()) return Loop::Stopped;
        std::array<uint8_t, kRecordLength + 2> line{};
        std::copy_n(data.begin() + r * static_cast<long>(kRecordLength), kRecordLength, line.begin());
        line[kRecordLength] = kHostLineEnd[0];
        line[kRecordLength + 1] = kHostLineEnd[1];
        if (!link.writeBytes(line) || !readExact(link, kBoardLineEnd)) return Loop::Failed;
        if (r == kRecordCount - 1 && !readExact(link, kBoardLineEnd)) return Loop::Failed;
    }
    return Loop::Done;
}

std::span<uint8_t, kDataSize> boardData(CDataImage& image) {
    return image.bytes().subspan<layout::kTrunkData, kDataSize>();
}

// Port reopened, board opened and the access code accepted; false when the
// exchange ended there (messages shown, the board released, the port closed).
bool startExchange(RadioLink& link, TransferUi& ui, std::string& code) {
    link.setBlockLength(kTrunkBlockLength);
    ui.progress(0, kRecordCount);
    if (!link.reopen()) {
        ui.showError(texts::kPortOpenFailed);
        return false;
    }
    if (enterBoard(link, ui, code) == Entry::Ready) return true;
    stopBoard(link, ui, kTransferStopped);
    return false;
}

// Runs the record loop until it completes; every failure asks Retry/Cancel and a
// retry starts again at record 0 on a quiet line. False when stopped.
template <typename Records>
bool recordsWithRetry(RadioLink& link, TransferUi& ui, Records records) {
    ui.setBusy(true);
    while (true) {
        const Loop loop = records();
        if (loop == Loop::Done) return true;
        if (loop == Loop::Stopped || !ui.askRetry(texts::kCommFailed)) return false;
        // What the board still sends of the failed pass is no part of the next one.
        drainLine(link);
    }
}

} // namespace

int readTrunkingBoard(RadioLink& link, CDataImage& image, TransferUi& ui) {
    std::string code;
    if (!startExchange(link, ui, code)) return kTransferStopped;
    Data data{};
    if (!recordsWithRetry(link, ui, [&] { return readRecords(link, ui, data); }))
        return stopBoard(link, ui, kTransferStopped);
    cleanReadData(data);
    std::copy(data.begin(), data.end(), boardData(image).begin());
    if (!releaseBoard(link)) link.setOpen(false);
    const bool closed = link.setOpen(false);
    ui.setBusy(false);
    return closed ? kTransferOk : kTransferStoppedQuiet;
}

int writeTrunkingBoard(RadioLink& link, CDataImage& image, TransferUi& ui) {
    std::string code;
    if (!startExchange(link, ui, code)) return kTransferStopped;
    const auto stored = boardData(image);
    if (!storeAccessCode(stored, code)) {
        ui.showAccessCodeError();
        return stopBoard(link, ui, kTransferStoppedQuiet);
    }
    std::fill_n(stored.begin() + 96, 4, '0');
    Data data{};
    std::copy(stored.begin(), stored.end(), data.begin());
    if (!recordsWithRetry(link, ui, [&] { return writeRecords(link, ui, data); }))
        return stopBoard(link, ui, kTransferStopped);
    const bool released = releaseBoard(link);
    const bool closed = link.setOpen(false);
    ui.setBusy(false);
    return released && closed ? kTransferOk : kTransferStoppedQuiet;
}

} // namespace vrl
