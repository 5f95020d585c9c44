// The trunking board's commands from the main frame against a simulated board:
// read and write in the transfer dialogs' board mode with the access-code dialog,
// and alignment mode with its confirmation and dialog.
#include "link_test_support.h"

#include "app/commands.h"
#include "link/password_dlg.h"
#include "link/texts.h"
#include "link/transfer_dlg.h"
#include "link/trunk_align_dlg.h"
#include "sim/board_sim.h"
#include "widgets/filtered_edit.h"

#include <QPushButton>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

constexpr const char* kCode = "31415";

// The program with trunking data, and a board behind the simulated radio.
struct BoardBench {
    std::unique_ptr<LinkBench> bench;
    std::unique_ptr<sim::TrunkingBoardSim> board;
    explicit BoardBench(bool trunkingData = true) {
        const ModelIdentity id =
            identityOfChoice(ModelChoice{4, 0, trunkingData ? OptionBoard::Trunking : OptionBoard::None, 1});
        sim::SimConfig config;
        config.identity = id.bytes;
        bench = std::make_unique<LinkBench>(config, radioMemory(id.bytes, 3));
        sim::BoardConfig boardConfig;
        boardConfig.data = sim::defaultBoardData();
        boardConfig.accessCode = kCode;
        for (size_t i = 100; i < 164; ++i) boardConfig.data[i] = static_cast<uint8_t>('0' + i % 10);
        board = std::make_unique<sim::TrunkingBoardSim>(boardConfig);
        bench->radio->attachBoard(board.get());
        newDataFor(bench->ctx().data(), id);
        bench->ctx().data().model.refresh();
    }
    std::string boardText(size_t offset, size_t length) {
        return bench->image().readAscii(layout::kTrunkData + offset, length);
    }
};

void pressStart() {
    onDialog<CTransferDlg>([](CTransferDlg* dlg) { QTest::mouseClick(dlg->startButton(), Qt::LeftButton); });
}

void enterAccessCode(const QString& code) {
    onDialog<CPasswordDlg>([code](CPasswordDlg* dlg) {
        dlg->edit()->setText(code);
        QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    });
}

} // namespace

class LinkBoardTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { dropPendingDialogs(); }

    void readReplacesTheTrunkingText() {
        BoardBench b;
        QVERIFY(b.bench->started());
        pressStart();
        enterAccessCode(kCode);
        b.bench->frame().runCommand(cmd::kReadFromTrunkingBoard);
        QCOMPARE(b.bench->messages().texts(), QStringList{textOf(texts::kTrunkReadDone)});
        QCOMPARE(b.boardText(100, 4), std::string("0123"));
        QVERIFY(!b.board->open());
        QVERIFY(!b.bench->service->link().isOpen());
    }

    void rejectedCodeLeavesTheDataAsTheyWere() {
        BoardBench b;
        QVERIFY(b.bench->started());
        const std::string before = b.boardText(0, 396);
        pressStart();
        enterAccessCode("99999");
        b.bench->frame().runCommand(cmd::kReadFromTrunkingBoard);
        QCOMPARE(b.bench->messages().texts(), QStringList{textOf(texts::kPasswordRejected)});
        QCOMPARE(b.boardText(0, 396), before);
        QVERIFY(!b.board->open());
    }

    void writeStoresTheTypedCodeAndSendsTheText() {
        BoardBench b;
        QVERIFY(b.bench->started());
        b.bench->image().writeAscii(layout::kTrunkData + 100, "4444");
        pressStart();
        enterAccessCode(kCode);
        b.bench->frame().runCommand(cmd::kWriteToTrunkingBoard);
        // The success says plainly that the board was not read back.
        QCOMPARE(b.bench->messages().texts(),
                 QStringList{textOf(texts::kTrunkWriteDone) + "\n\n" +
                             b.bench->ctx().text("link.board_unverified")});
        QCOMPARE(std::string(b.board->data().begin() + 100, b.board->data().begin() + 104), std::string("4444"));
        QCOMPARE(b.boardText(71, 9), std::string("301040105"));
        QVERIFY(b.bench->image().isModified());
    }

    void alignmentKeysUntilCloseAndReleasesTheBoard() {
        BoardBench b;
        QVERIFY(b.bench->started());
        bool keyedWhileShown = false, busyWhileShown = false;
        enterAccessCode(kCode);
        onDialog<CTrunkAlignDlg>([&](CTrunkAlignDlg* dlg) {
            keyedWhileShown = b.board->keyed();
            busyWhileShown = b.bench->frame().isBusy();
            QTest::mouseClick(dlg->closeButton(), Qt::LeftButton);
        });
        b.bench->frame().runCommand(cmd::kTrunkingAlignment);
        QVERIFY(keyedWhileShown);
        QVERIFY(busyWhileShown);
        QCOMPARE(b.bench->messages().texts(), QStringList{textOf(texts::kAlignConfirm)});
        QCOMPARE(b.bench->messages().asked.front().caption, textOf(texts::kCaptionCaution));
        QVERIFY(!b.board->keyed());
        QVERIFY(!b.board->open());
        QVERIFY(!b.bench->frame().isBusy());
        QVERIFY(!b.bench->service->link().isOpen());
    }

    void alignmentCancelledAtTheQuestionNeverKeys() {
        BoardBench b;
        QVERIFY(b.bench->started());
        b.bench->messages().answer({QMessageBox::Cancel});
        enterAccessCode(kCode);
        b.bench->frame().runCommand(cmd::kTrunkingAlignment);
        QCOMPARE(b.board->timesKeyed(), 0);
        QVERIFY(!b.board->open());
        QCOMPARE(b.board->releases(), 1);
    }

    void withoutTheTrunkingBoardTheCommandsDoNothing() {
        BoardBench b(false);
        QVERIFY(b.bench->started());
        bool missed = false;
        onDialog<CTransferDlg>([](CTransferDlg* dlg) { dlg->reject(); }, &missed);
        b.bench->frame().runCommand(cmd::kReadFromTrunkingBoard);
        b.bench->frame().runCommand(cmd::kTrunkingAlignment);
        QVERIFY(b.bench->messages().asked.empty());
        QCOMPARE(b.board->releases(), 0);
    }
};

QTEST_MAIN(LinkBoardTest)
#include "link_board_test.moc"
