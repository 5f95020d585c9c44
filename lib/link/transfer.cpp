#include "link/transfer.h"

#include "link/texts.h"
#include "model/new_data.h"
#include "util/bytes.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace vrl {

namespace {

constexpr int kMemoryBlocks = static_cast<int>(layout::kBlockCount); // 0x80
constexpr int kPasswordTries = 3;

void markRange(BlockPlan& plan, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, kMemoryBlocks - 1);
    for (int n = first; n <= last; ++n) plan.blocks[static_cast<size_t>(n)] = true;
}

void markDirectory(BlockPlan& plan, const std::array<uint16_t, 6>& dir) {
    for (size_t r = 0; r < 3; ++r) markRange(plan, dir[2 * r], dir[2 * r + 1]);
}

void count(BlockPlan& plan) {
    plan.total = static_cast<int>(std::count(plan.blocks.begin(), plan.blocks.end(), true));
}

// The end of every stopped exchange: repaint, leave programming mode, close.
int stopExchange(RadioLink& link, TransferUi& ui, int result) {
    ui.redraw();
    ui.setBusy(false);
    link.endProgramMode();
    link.setOpen(false);
    return result;
}

// Runs `step` until it succeeds; each failure asks Retry/Cancel with `text`.
template <typename Step>
bool withRetry(TransferUi& ui, int text, Step step) {
    while (!step())
        if (!ui.askRetry(text)) return false;
    return true;
}

// Programming mode and an accepted identity; false when the user cancelled.
bool enterAndIdentify(RadioLink& link, TransferUi& ui, IdentityMode mode, IdentityBytes& identity,
                      RadioIdentityInfo* info) {
    if (!withRetry(ui, texts::kCommFailed, [&] { return link.enterProgramMode() == kLinkOk; }))
        return false;
    while (true) {
        if (link.readIdentity(identity) != kLinkOk) {
            if (!ui.askRetry(texts::kCommFailed)) return false;
            continue;
        }
        auto accepted = acceptIdentity(identity, mode);
        if (!accepted) {
            if (!ui.askRetry(texts::kIdentityRejected)) return false;
            continue;
        }
        if (info) *info = *accepted;
        return true;
    }
}

enum class PasswordOutcome { Accepted, Stopped };

PasswordOutcome presentPassword(RadioLink& link, TransferUi& ui) {
    int rejections = 0;
    while (true) {
        auto password = ui.askPassword();
        if (!password) return PasswordOutcome::Stopped;
        const int r = link.sendDataPassword(*password);
        if (r == kLinkOk) return PasswordOutcome::Accepted;
        if (r == kLinkFailed) {
            if (!ui.askRetry(texts::kCommFailed)) return PasswordOutcome::Stopped;
            continue;
        }
        ui.showError(texts::kPasswordRejected);
        if (++rejections == kPasswordTries) return PasswordOutcome::Stopped;
    }
}

std::span<uint8_t> blockOf(CDataImage& image, int block) {
    return image.bytes().subspan(static_cast<size_t>(block) * layout::kBlockSize,
                                 layout::kBlockSize);
}

enum class LoopOutcome { Done, Failed, Stopped };

bool uniform(std::span<const uint8_t> block) {
    return std::all_of(block.begin(), block.end(), [&](uint8_t b) { return b == block[0]; });
}

// Reads block n again until two answers in a row agree, the one in `out` counting as
// the first; three reads at most.
bool confirmBlock(RadioLink& link, std::span<uint8_t> out, int n) {
    std::array<uint8_t, layout::kBlockSize> again{};
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (link.readBlock(again, n, isTBlock(n)) != kBlockOk) return false;
        if (std::equal(again.begin(), again.end(), out.begin())) return true;
        std::copy(again.begin(), again.end(), out.begin());
    }
    return false;
}

// One block into `out`. A fill reply carries no checksum, so a block that came back
// as one value is asked for again until two answers in a row agree. The first answer
// need not wait for the line to fall quiet: the ones that confirm it do. With
// `always`, every block is confirmed so.
bool readBlockChecked(RadioLink& link, std::span<uint8_t> out, int n, bool always = false) {
    if (link.readBlock(out, n, isTBlock(n), RadioLink::FillReply::Unwaited) != kBlockOk)
        return false;
    return (!always && !uniform(out)) || confirmBlock(link, out, n);
}

// Nothing in a block reply names the block: a block number changed in the request
// brings another block's bytes with a valid checksum. When that block is read too and
// its bytes are its own, the image holds them exactly twice: both blocks are read
// again until two answers agree. Bytes many blocks share (the same code on every
// channel) are left alone, or a read of such data would take a third longer; one
// value throughout is confirmed already.
bool confirmRepeatedBlocks(RadioLink& link, CDataImage& image, const BlockPlan& plan) {
    std::vector<int> read;
    for (int n = 0; n < kMemoryBlocks; ++n)
        if (plan.moves(n) && !uniform(blockOf(image, n))) read.push_back(n);
    std::vector<int> twice;
    for (int a : read) {
        const auto bytes = blockOf(image, a);
        const auto same = std::count_if(read.begin(), read.end(), [&](int b) {
            const auto other = blockOf(image, b);
            return std::equal(bytes.begin(), bytes.end(), other.begin());
        });
        if (same == 2) twice.push_back(a);
    }
    return std::all_of(twice.begin(), twice.end(),
                       [&](int n) { return confirmBlock(link, blockOf(image, n), n); });
}

// Reads block 0, then every planned block; progress after every block number.
LoopOutcome readBlocks(RadioLink& link, RadioData& data, TransferUi& ui, int& total,
                       const IdentityBytes& identity) {
    CDataImage& image = data.image;
    // Blocks the radio does not send are free memory: they must not keep bytes of
    // whatever data was in hand before.
    image.fill(0, layout::kRadioMemorySize, 0xFF);
    if (!readBlockChecked(link, blockOf(image, 0), 0)) return LoopOutcome::Failed;
    // Block 0's directory decides what follows, so it is confirmed before it is used
    // unless it carries the identity the radio gave: another block's bytes (a block
    // number changed in the request) would not.
    const auto stored = image.bytes().subspan(layout::kIdentity, identity.size());
    if (!std::equal(identity.begin(), identity.end(), stored.begin()) &&
        !confirmBlock(link, blockOf(image, 0), 0))
        return LoopOutcome::Failed;
    const auto dir = image.directory();
    const bool blank = dir[0] == 0xFFFF;
    if (blank) {
        image.fillRange(0x0300, 0x06FF, 0xFF);
        image.fillRange(0x1000, 0x4FFF, 0xFF);
    }
    const BlockPlan plan = readPlan(dir);
    total = plan.total;
    int done = 1;
    ui.progress(0, total);
    ui.setBusy(true);
    for (int n = 1; n < 256; ++n) {
        if (plan.moves(n)) {
            if (!readBlockChecked(link, blockOf(image, n), n)) return LoopOutcome::Failed;
            ++done;
        }
        ui.progress(done, total);
        ui.pumpOne();
        if (ui.stopRequested()) return LoopOutcome::Stopped;
    }
    // Block 0 read again with other bytes would have asked for other blocks.
    return confirmRepeatedBlocks(link, image, plan) && image.directory() == dir
               ? LoopOutcome::Done
               : LoopOutcome::Failed;
}

std::span<const uint8_t> blockOf(const CDataImage& image, int block) {
    return image.bytes().subspan(static_cast<size_t>(block) * layout::kBlockSize,
                                 layout::kBlockSize);
}

// Reads back every planned block and lists those that differ from the image.
LoopOutcome verifyBlocks(RadioLink& link, const CDataImage& image, const BlockPlan& plan,
                         TransferUi& ui, std::vector<int>& mismatches) {
    mismatches.clear();
    int done = 0;
    ui.progress(0, plan.total);
    std::array<uint8_t, layout::kBlockSize> back{};
    for (int n = 0; n < 256; ++n) {
        if (plan.moves(n)) {
            if (link.readBlock(back, n, isTBlock(n)) != kBlockOk) return LoopOutcome::Failed;
            const auto sent = blockOf(image, n);
            if (!std::equal(back.begin(), back.end(), sent.begin())) mismatches.push_back(n);
            ++done;
        }
        ui.progress(done, plan.total);
        ui.pumpOne();
        if (ui.stopRequested()) return LoopOutcome::Stopped;
    }
    return LoopOutcome::Done;
}

LoopOutcome writeBlocks(RadioLink& link, const CDataImage& image, const BlockPlan& plan,
                        TransferUi& ui) {
    int done = 0;
    ui.progress(0, plan.total);
    for (int n = 0; n < 256; ++n) {
        if (plan.moves(n)) {
            auto block = image.bytes().subspan(static_cast<size_t>(n) * layout::kBlockSize,
                                               layout::kBlockSize);
            if (link.writeBlock(block, n, isTBlock(n)) != kLinkOk) return LoopOutcome::Failed;
            ++done;
        }
        ui.progress(done, plan.total);
        ui.pumpOne();
        if (ui.stopRequested()) return LoopOutcome::Stopped;
    }
    return LoopOutcome::Done;
}

// Runs a block loop until it is done; a failure asks Retry/Cancel and runs it again.
// False when stopped.
template <typename Loop>
bool runLoop(TransferUi& ui, Loop loop) {
    while (true) {
        const LoopOutcome outcome = loop();
        if (outcome == LoopOutcome::Done) return true;
        if (outcome == LoopOutcome::Stopped || !ui.askRetry(texts::kCommFailed)) return false;
    }
}

// Memory that carries a data password answers reads only after it: the password
// the write has just stored is presented before the read-back. False when stopped;
// a refusal leaves `accepted` false (the stored password differs from the data's).
bool unlockForReadBack(RadioLink& link, const CDataImage& image, TransferUi& ui, bool& accepted) {
    accepted = true;
    if (image.bit(layout::kIdentityFlags, 6)) return true;
    PasswordBytes password{};
    std::copy_n(image.bytes().begin() + layout::kDataPassword, password.size(), password.begin());
    while (true) {
        const int r = link.sendDataPassword(password);
        if (r == kLinkOk) return true;
        if (r == kLinkRejected) {
            accepted = false;
            return true;
        }
        if (!ui.askRetry(texts::kCommFailed)) return false;
    }
}

// Before a verified write: the blocks the write leaves alone (`kept`) are read into
// `expected`, so that the read-back can tell when a block number changed on the
// line made the radio store a block where nothing was to be written. False when
// stopped.
bool snapshotKept(RadioLink& link, const BlockPlan& kept, CDataImage& expected, TransferUi& ui) {
    return runLoop(ui, [&] {
        for (int n = 0; n < kMemoryBlocks; ++n) {
            if (!kept.moves(n)) continue;
            // Confirmed, since a block that differs afterwards is written back from it.
            if (!readBlockChecked(link, blockOf(expected, n), n, true)) return LoopOutcome::Failed;
            ui.pumpOne();
            if (ui.stopRequested()) return LoopOutcome::Stopped;
        }
        return LoopOutcome::Done;
    });
}

// The verify phase of a write: read every block of `plan` back and compare it with
// `image`; blocks that differ are written once more and everything is read back
// again. False when stopped, or when the radio still differs (reported to the user).
bool verifyWrite(RadioLink& link, const CDataImage& image, const BlockPlan& plan, TransferUi& ui,
                 WriteReport& report) {
    for (int round = 0; round < 2; ++round) {
        ui.setPhase(TransferPhase::Verify);
        bool unlocked = true;
        if (!unlockForReadBack(link, image, ui, unlocked)) return false;
        if (!unlocked) {
            report.mismatches = {0}; // the password lives in block 0
        } else if (!runLoop(ui, [&] {
                       return verifyBlocks(link, image, plan, ui, report.mismatches);
                   })) {
            return false;
        }
        ui.progress(plan.total, plan.total);
        if (report.mismatches.empty()) {
            report.verified = true;
            ui.setPhase(TransferPhase::Transfer);
            return true;
        }
        if (round == 1) break;
        ui.setPhase(TransferPhase::Transfer);
        BlockPlan again;
        for (int n : report.mismatches) again.blocks[static_cast<size_t>(n)] = true;
        count(again);
        report.rewritten = report.mismatches;
        if (!runLoop(ui, [&] { return writeBlocks(link, image, again, ui); })) return false;
    }
    ui.showVerifyFailed(report.mismatches);
    return false;
}

// Ends programming mode and closes after a complete exchange: 0, or 2 when the
// radio did not confirm the end or the port did not close.
int finishExchange(RadioLink& link) {
    if (link.endProgramMode() != kLinkOk) {
        link.setOpen(false);
        return kTransferStoppedQuiet;
    }
    return link.setOpen(false) ? kTransferOk : kTransferStoppedQuiet;
}

// A directory that no longer names every block the channel storage uses (saved by
// another tool, or edited by hand) would leave channels out of the write while the
// radio is told it got everything: such a directory is rebuilt from the channel
// index before the write is planned. A directory that covers more is kept.
void coverUsedBlocks(CDataImage& image) {
    auto probe = std::make_unique<CDataImage>(image);
    probe->rebuildDirectory();
    const BlockPlan needed = readPlan(probe->directory());
    const BlockPlan stored = readPlan(image.directory());
    for (int n = 0; n < kMemoryBlocks; ++n) {
        if (needed.moves(n) && !stored.moves(n)) {
            image.rebuildDirectory();
            return;
        }
    }
}

} // namespace

BlockPlan readPlan(const std::array<uint16_t, 6>& directory) {
    BlockPlan plan;
    markRange(plan, 0, 2);
    markRange(plan, 7, 15);
    markRange(plan, 0x50, 0x53);
    markRange(plan, 0x58, 0x7F);
    if (directory[0] != 0xFFFF) markDirectory(plan, directory);
    count(plan);
    return plan;
}

BlockPlan writePlan(const std::array<uint16_t, 6>& directory) {
    BlockPlan plan;
    markRange(plan, 0, 2);
    markRange(plan, 7, 15);
    markRange(plan, 0x50, 0x53);
    markRange(plan, 0x58, 0x58);
    markRange(plan, 0x60, 0x7F);
    markDirectory(plan, directory);
    count(plan);
    return plan;
}

BlockPlan freeStorage(const std::array<uint16_t, 6>& directory) {
    BlockPlan named;
    if (directory[0] != 0xFFFF) markDirectory(named, directory);
    BlockPlan plan;
    markRange(plan, 3, 6);
    markRange(plan, 0x10, 0x4F);
    for (int n = 0; n < kMemoryBlocks; ++n)
        if (named.moves(n)) plan.blocks[static_cast<size_t>(n)] = false;
    count(plan);
    return plan;
}

void adoptRadioIdentity(RadioData& data, const IdentityBytes& identity) {
    ModelIdentity id;
    id.bytes = identity;
    data.image.setIdentity(id);
    data.model.refresh();
}

int readDataFromRadio(RadioLink& link, RadioData& data, TransferUi& ui) {
    link.setBlockLength(kRadioBlockLength);
    ui.progress(0, 0);
    if (!link.reopen()) {
        ui.showError(texts::kPortOpenFailed);
        return kTransferStopped;
    }
    IdentityBytes identity{};
    if (!enterAndIdentify(link, ui, IdentityMode::Read, identity, nullptr))
        return stopExchange(link, ui, kTransferStopped);

    FirmwareVersion version{};
    if (!withRetry(ui, texts::kCommFailed,
                   [&] { return link.readFirmwareVersion(version) == kLinkOk; }))
        return stopExchange(link, ui, kTransferStopped);

    const bool radioHasPassword = (identity[7] & 0x40) == 0;
    if (!isOldestFirmware(version) && radioHasPassword &&
        presentPassword(link, ui) == PasswordOutcome::Stopped)
        return stopExchange(link, ui, kTransferStopped);

    int total = 0;
    while (true) {
        const LoopOutcome outcome = readBlocks(link, data, ui, total, identity);
        if (outcome == LoopOutcome::Done) break;
        if (outcome == LoopOutcome::Stopped || !ui.askRetry(texts::kCommFailed))
            return stopExchange(link, ui, kTransferStopped);
    }
    ui.progress(total, total);
    recomputeTwoToneDerivedWords(data.image);
    // Every block has arrived: leaving programming mode is not part of the data, so a
    // radio that does not confirm the end costs a warning, not the read.
    const bool ended = link.endProgramMode() == kLinkOk;
    const bool closed = link.setOpen(false);
    ui.setBusy(false);
    if (!ended) ui.showWarning(texts::kEndNotConfirmed);
    if (!closed) return kTransferStoppedQuiet;
    adoptRadioIdentity(data, identity);
    return kTransferOk;
}

int writeDataToRadio(RadioLink& link, RadioData& data, TransferUi& ui,
                     const WriteOptions& options, WriteReport* report) {
    link.setBlockLength(kRadioBlockLength);
    CDataImage& image = data.image;
    coverUsedBlocks(image);
    BlockPlan plan = writePlan(image.directory());
    ui.progress(0, plan.total);
    if (!image.bit(layout::kIdentityFlags, 6) && !ui.askOk(texts::kDataHasPassword))
        return kTransferStopped;
    if (!link.reopen()) {
        ui.showError(texts::kPortOpenFailed);
        return kTransferStopped;
    }
    IdentityBytes identity{};
    if (!enterAndIdentify(link, ui, IdentityMode::Write, identity, nullptr))
        return stopExchange(link, ui, kTransferStopped);
    if (radioDiffersFromData(identity, image) && !ui.askOk(texts::kRadioDataDiffer))
        return stopExchange(link, ui, kTransferStopped);

    FirmwareVersion version{};
    if (!withRetry(ui, texts::kCommFailed,
                   [&] { return link.readFirmwareVersion(version) == kLinkOk; }))
        return stopExchange(link, ui, kTransferStopped);
    if (const int warning = firmwareWarningFor(data.model.row(), version);
        warning != 0 && !ui.firmwareWarning(warning))
        return stopExchange(link, ui, kTransferStopped);

    if (isOldestFirmware(version)) {
        const bool dataPassword = !image.bit(layout::kIdentityFlags, 6);
        const bool radioPassword =
            !bytes::allEqual(image.bytes(), layout::kRadioPassword, layout::kPasswordSize, 0xFF);
        if (dataPassword || radioPassword) {
            if (!ui.askOk(texts::kOldFirmwarePasswords))
                return stopExchange(link, ui, kTransferStoppedQuiet);
            image.fill(layout::kRadioPassword, 2 * layout::kPasswordSize, 0xFF);
            image.setBit(layout::kIdentityFlags, 6, true);
        }
    }

    ui.setBusy(true);
    auto expected = std::make_unique<CDataImage>(image);
    // A radio with a data password answers no reads before the write (its password
    // is not the program's to know): then only the blocks written are checked.
    // Otherwise the blocks the write leaves alone are checked too, except free
    // storage: a block stored there by mistake is never looked at, and reading all
    // of it before and after would add about a tenth to the write of a full radio.
    const bool radioLocked = (identity[7] & 0x40) == 0;
    BlockPlan kept;
    if (options.verify && !radioLocked) {
        const BlockPlan free = freeStorage(image.directory());
        for (int n = 0; n < kMemoryBlocks; ++n)
            kept.blocks[static_cast<size_t>(n)] = !plan.moves(n) && !free.moves(n);
        count(kept);
    }
    if (kept.total > 0 && !snapshotKept(link, kept, *expected, ui))
        return stopExchange(link, ui, kTransferStopped);
    if (!runLoop(ui, [&] { return writeBlocks(link, image, plan, ui); }))
        return stopExchange(link, ui, kTransferStopped);
    ui.progress(plan.total, plan.total);
    if (options.verify) {
        WriteReport local;
        WriteReport& out = report ? *report : local;
        // What the radio must hold afterwards: the data in the blocks written, the
        // radio's own bytes in the others.
        BlockPlan checked = plan;
        for (int n = 0; n < kMemoryBlocks; ++n)
            if (kept.moves(n)) checked.blocks[static_cast<size_t>(n)] = true;
        count(checked);
        if (!verifyWrite(link, *expected, checked, ui, out))
            return stopExchange(link, ui, kTransferStopped);
    }
    const int result = finishExchange(link);
    ui.setBusy(false);
    if (result != kTransferOk) ui.showWarning(texts::kEndNotConfirmed);
    return result;
}

int queryRadioInformation(RadioLink& link, TransferUi& ui, RadioInformation& out) {
    if (!link.reopen()) {
        ui.showError(texts::kPortOpenFailed);
        return kTransferStopped;
    }
    RadioInformation result;
    if (!enterAndIdentify(link, ui, IdentityMode::Read, result.identity, &result.info))
        return stopExchange(link, ui, kTransferStopped);
    while (true) {
        const int r = link.readRadioInformation(result.block);
        if (r == kLinkOk) break;
        if (r == kLinkNotSupported) {
            ui.showError(texts::kInfoNotSupported);
            return stopExchange(link, ui, kTransferStopped);
        }
        if (!ui.askRetry(texts::kCommFailed)) return stopExchange(link, ui, kTransferStopped);
    }
    if (finishExchange(link) != kTransferOk) return kTransferStopped;
    out = result;
    return kTransferOk;
}

std::string infoBlockText(const InfoBlock& block) {
    std::string text;
    for (uint8_t b : block) {
        if (b == 0) break;
        if (b == 0xFF)
            text.push_back(' ');
        else
            text.push_back(b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '?');
    }
    return text;
}

int queryCheckSum(RadioLink& link, TransferUi& ui, std::array<uint8_t, 2>& sum) {
    if (!link.reopen()) {
        ui.showError(texts::kPortOpenFailed);
        return kTransferStopped;
    }
    std::array<uint8_t, 2> reply{};
    if (!withRetry(ui, texts::kCommFailed, [&] { return link.readCheckSum(reply) == kLinkOk; }))
        return stopExchange(link, ui, kTransferStopped);
    link.setOpen(false);
    sum = reply;
    return kTransferOk;
}

std::string formatCheckSum(const std::array<uint8_t, 2>& sum) {
    return bytes::hex(sum);
}

std::string verifyFailedText(const std::vector<int>& blocks) {
    std::string list;
    for (int n : blocks) {
        char number[8];
        std::snprintf(number, sizeof number, "0x%02X", n);
        list += (list.empty() ? "" : ", ") + std::string(number);
    }
    return "the radio's memory differs from the file in block" +
           std::string(blocks.size() == 1 ? " " : "s ") + list + "; write again";
}

PasswordBytes passwordFromText(std::string_view digits) {
    PasswordBytes password;
    password.fill(0xFF);
    size_t n = 0;
    for (char c : digits) {
        if (n == password.size()) break;
        if (c >= '0' && c <= '9') password[n++] = static_cast<uint8_t>(c);
    }
    return password;
}

} // namespace vrl
