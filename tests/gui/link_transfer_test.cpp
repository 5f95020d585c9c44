// Read Data from Radio and Write Data to Radio run from the main frame's commands
// against the simulated radio, with the transfer dialog worked as a person would.
#include "link_test_support.h"

#include "app/commands.h"
#include "channels/channel_services.h"
#include "file/file_commands.h"
#include "link/firmware_warning_dlg.h"
#include "link/password_dlg.h"
#include "link/radio_info_dlg.h"
#include "link/texts.h"
#include "link/transfer_dlg.h"
#include "model/model_table.h"
#include "platform/data_folder.h"
#include "widgets/filtered_edit.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

const IdentityBytes kRow0 = identityOf("M1400", 0x04);
const IdentityBytes kOtherModel = identityOf("M1500", 0x14);

sim::SimConfig radioConfig(const IdentityBytes& identity) {
    sim::SimConfig config;
    config.identity = identity;
    config.info = sim::infoBlockWithSerial("SN0012345678");
    return config;
}

bool sameBlock(const CDataImage& image, const sim::Memory& memory, int block) {
    const auto* a = image.bytes().data() + block * 256;
    return std::equal(a, a + 256, memory.begin() + block * 256);
}

// Presses the start button of the next transfer dialog; `label` receives what the
// dialog showed before the start.
void pressStart(QString* label = nullptr) {
    onDialog<CTransferDlg>([label](CTransferDlg* dlg) {
        if (label) *label = dlg->label()->text();
        // Before the start the bar stands still and empty (no busy animation).
        auto* bar = dlg->findChild<QProgressBar*>();
        QVERIFY(bar->maximum() > bar->minimum());
        QCOMPARE(bar->value(), bar->minimum());
        screenshot(dlg, QStringLiteral("link_transfer_idle"));
        QTest::mouseClick(dlg->startButton(), Qt::LeftButton);
    });
}

QString labelText(LinkBench& bench) {
    return QString::fromStdString(std::string(bench.ctx().data().model.label()));
}

// The identity of a model-table row on its first band.
IdentityBytes identityOfRow(int row) {
    const ModelRow& entry = modelTable()[static_cast<size_t>(row)];
    char code[6] = {};
    std::copy(entry.code.begin(), entry.code.end(), code);
    return identityOf(code, static_cast<uint8_t>(entry.market << 4 | entry.bandCode(0)));
}

int backupCount() {
    return static_cast<int>(QDir(platform::backupFolder()).entryList(QDir::Files).size());
}

} // namespace

class LinkTransferTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        // Backups go to the test's own data folder, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        QDir(platform::backupFolder()).removeRecursively();
    }
    void cleanup() { dropPendingDialogs(); }

    void readTakesTheRadiosDataAndModel() {
        const sim::Memory memory = radioMemory(kOtherModel, 0x21);
        LinkBench bench(radioConfig(kOtherModel), memory);
        QVERIFY(bench.started());
        const int backupsBefore = backupCount();
        ChannelStore& store = ChannelServices::of(bench.ctx()).store();
        QVERIFY(store.copyBuffer().copy(store, 0, 0, 1));

        QString shownAtOpen;
        pressStart(&shownAtOpen);
        bench.frame().runCommand(cmd::kReadFromRadio);

        QCOMPARE(shownAtOpen, textOf(texts::kProgressLabel) + " 0 / 0");
        QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kReadDone)});
        QVERIFY(bench.messages().asked.front().caption.isEmpty());
        QVERIFY(sameBlock(bench.image(), memory, 0x51));
        QVERIFY(sameBlock(bench.image(), memory, 0x62));
        QVERIFY(bench.image().identity().bytes[2] == '5');
        QVERIFY(!bench.image().isModified());
        QVERIFY(!store.copyBuffer().present());
        QVERIFY(bench.frame().windowTitle().contains(
            QString::fromStdString(std::string(bench.ctx().data().model.label())).split(':').front()));
        QVERIFY(!bench.radio->inProgramMode());
        QVERIFY(!bench.service->link().isOpen());
        QCOMPARE(backupCount(), backupsBefore + 1);
    }

    // After opening one radio's file and reading another radio, the title and the
    // save prompt still named the file, and a plain Save overwrote it.
    void regressionReadLeavesNoFileToOverwrite() {
        LinkBench bench(radioConfig(kOtherModel), radioMemory(kOtherModel, 0x21));
        QVERIFY(bench.started());
        const QString opened = bench.program.dir.path() + "/test8.dat";
        bench.ctx().setCurrentFilePath(opened);
        onDialog<CRadioInfoDlg>([](CRadioInfoDlg* dlg) { dlg->reject(); });
        bench.frame().runCommand(cmd::kRadioInformation); // the serial number becomes known
        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);
        QVERIFY(bench.ctx().isUntitled());
        QVERIFY(bench.frame().windowTitle().contains(": " + textOf(kTextUntitled) + "]"));

        bench.image().setU8(0x0010, 1);
        bench.messages().answer({QMessageBox::Yes});
        QVERIFY(!bench.frame().promptToSaveChanges()); // Save As offered, then cancelled
        QCOMPARE(bench.messages().texts().back(),
                 textOf(20) + "\"" + textOf(kTextUntitled) + "\"?");
        bench.frame().runCommand(cmd::kFileSave);
        QVERIFY(!QFile::exists(opened));
        const QString proposed = bench.program.dir.path() + "/" +
                                 FileCommands::proposedName(labelText(bench), "SN0012345678");
        QCOMPARE(bench.program.files.saveProposals, (QStringList{proposed, proposed}));
        QVERIFY(proposed.endsWith("_SN0012345678.dat"));
    }

    // The read said only "The communication port cannot be opened" after the device
    // behind the port had gone away.
    void regressionPortOpenFailureNamesTheDevice() {
        LinkBench bench(radioConfig(kOtherModel), radioMemory(kOtherModel, 0x21));
        QVERIFY(bench.started());
        bench.service->tieDevice(3, "/dev/gone0");
        bench.ctx().setComPort(3);
        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);
        QCOMPARE(bench.messages().texts(),
                 QStringList{textOf(texts::kPortOpenFailed) + "\n\n/dev/gone0"});
    }

    void backupFailureIsExplainedInTheLanguageOfTheProgram() {
        const sim::Memory memory = radioMemory(kOtherModel, 0x21);
        LinkBench bench(radioConfig(kOtherModel), memory);
        QVERIFY(bench.started());
        // A file where the backup folder should be: the folder cannot be made.
        QDir(platform::backupFolder()).removeRecursively();
        QDir().mkpath(platform::dataFolder());
        QFile blocker(platform::backupFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);
        QFile::remove(platform::backupFolder());

        const QStringList shown = bench.messages().texts();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], textOf(texts::kReadDone));
        QVERIFY2(shown[1].startsWith(textOf(56) + '\n'), qPrintable(shown[1]));
        QVERIFY(sameBlock(bench.image(), memory, 0x51)); // the read itself stands
    }

    void firmwareWarningSpeaksTheLanguageOfTheProgram_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("wording");
        // Row 23 is a 16-channel M-market model, row 5 a model of class 2.
        QTest::newRow("16-channel M data, firmware 2.1") << 23 << "v2.10" << texts::kFirmwareWarning16Ch;
        QTest::newRow("class data, firmware 2.2") << 5 << "v2.20" << texts::kFirmwareWarningClass;
    }

    void firmwareWarningSpeaksTheLanguageOfTheProgram() {
        QFETCH(int, row);
        QFETCH(QString, firmware);
        QFETCH(int, wording);
        const IdentityBytes identity = identityOfRow(row);
        sim::SimConfig config = radioConfig(identity);
        config.version = sim::firmwareFromText(firmware.toStdString());
        LinkBench bench(config, radioMemory(identity, 0x10));
        QVERIFY(bench.started());
        ModelIdentity id;
        id.bytes = identity;
        newDataFor(bench.ctx().data(), id);
        QCOMPARE(bench.ctx().data().model.row(), row);

        QStringList labels;
        QString continueText;
        bool missed = false;
        onDialog<CFirmwareWarningDlg>(
            [&](CFirmwareWarningDlg* dlg) {
                for (QLabel* label : dlg->findChildren<QLabel*>()) labels << label->text();
                continueText = dlg->continueButton()->text();
                dlg->continueButton()->click();
            },
            &missed);
        pressStart();
        bench.frame().runCommand(cmd::kWriteToRadio);
        QVERIFY(!missed);
        QVERIFY2(labels.contains(textOf(wording)), qPrintable(labels.join('|')));
        QCOMPARE(continueText, textOf(texts::kContinueButton));
        QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kWriteDone)});
    }

    void builtInVirtualRadioKeepsWhatWasWritten() {
        StartedApp program;
        QVERIFY(program.start());
        AppContext& ctx = program.app->context();
        LinkService::Options options; // the platform's own transports
        options.settingsFile = program.dir.path() + "/ports.ini";
        options.systemDevices = QStringList{};
        auto* service = new LinkService(ctx, options);
        QCOMPARE(service->deviceFor(20), QStringLiteral("virtual"));
        ctx.setComPort(20);
        QFile::remove(platform::virtualRadioFile());

        CDataImage& image = ctx.data().image;
        for (size_t i = 0; i < 256; ++i) image.setU8(0x6100 + i, static_cast<uint8_t>(i * 5));
        const std::vector<uint8_t> block(image.bytes().begin() + 0x6100, image.bytes().begin() + 0x6200);
        pressStart();
        program.app->mainFrame()->runCommand(cmd::kWriteToRadio);
        QCOMPARE(program.messages.texts(), QStringList{textOf(texts::kWriteDone)});

        image.fill(0x6100, 256, 0x00);
        image.takeSnapshot();
        program.messages.clear();
        pressStart();
        program.app->mainFrame()->runCommand(cmd::kReadFromRadio);
        QCOMPARE(program.messages.texts(), QStringList{textOf(texts::kReadDone)});
        QVERIFY(std::equal(block.begin(), block.end(), image.bytes().begin() + 0x6100));
        QVERIFY(QFile::exists(platform::virtualRadioFile()));
    }

    void verifyAfterWritingIsOnByDefaultAndCanBeTurnedOff() {
        for (const bool on : {true, false}) {
            LinkBench bench(radioConfig(kRow0), radioMemory(kRow0, 0x05));
            QVERIFY(bench.started());
            bench.image().takeSnapshot();
            QVERIFY(bench.ctx().verifyAfterWrite());
            bool shownChecked = false;
            QString verifyLabel;
            onDialog<CTransferDlg>([&](CTransferDlg* dlg) {
                QVERIFY(dlg->verifyCheck());
                shownChecked = dlg->verifyCheck()->isChecked();
                dlg->verifyCheck()->setChecked(on);
                // The label follows the verify phase.
                QObject::connect(dlg->progressBar(), &QProgressBar::valueChanged, dlg, [&, dlg] {
                    if (!dlg->label()->text().startsWith(textOf(texts::kProgressLabel) + " "))
                        verifyLabel = dlg->label()->text();
                });
                QTest::mouseClick(dlg->startButton(), Qt::LeftButton);
            });
            const int readsBefore = bench.radio->blocksRead();
            bench.frame().runCommand(cmd::kWriteToRadio);
            QVERIFY(shownChecked);
            QCOMPARE(bench.ctx().verifyAfterWrite(), on);
            QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kWriteDone)});
            QCOMPARE(bench.radio->blocksRead() > readsBefore, on);
            QCOMPARE(verifyLabel.isEmpty(), !on);
        }
    }

    void writeThenReadBackGivesTheSameData() {
        LinkBench bench(radioConfig(kRow0), radioMemory(kRow0, 0x05));
        QVERIFY(bench.started());
        CDataImage& image = bench.image();
        for (size_t i = 0; i < 256; ++i) image.setU8(0x62 * 256 + i, static_cast<uint8_t>(0xA0 ^ i));
        image.setU8(0x51 * 256 + 7, 0x77);
        image.takeSnapshot(); // as if saved: the read below asks nothing
        const std::vector<uint8_t> written(image.bytes().begin(), image.bytes().begin() + 0x8000);

        pressStart();
        bench.frame().runCommand(cmd::kWriteToRadio);
        QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kWriteDone)});
        QVERIFY(sameBlock(image, bench.radio->memory(), 0x62));
        QVERIFY(sameBlock(image, bench.radio->memory(), 0x51));

        // Spoil the data, then read the radio back.
        image.fill(0x6200, 256, 0x00);
        image.takeSnapshot();
        bench.messages().clear();
        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);
        QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kReadDone)});
        QVERIFY(std::equal(written.begin() + 0x5100, written.begin() + 0x5200,
                           image.bytes().begin() + 0x5100));
        QVERIFY(std::equal(written.begin() + 0x6200, written.begin() + 0x6300,
                           image.bytes().begin() + 0x6200));
    }

    // A write that stops after its blocks began says the radio may hold a partly
    // written memory and that writing again mends it.
    void writeStoppedPartWayTellsHowToMendIt() {
        sim::SimConfig config = radioConfig(kRow0);
        config.faults.silentBlock = 0x60;
        config.faults.silentTimes = 1000;
        LinkBench bench(config, radioMemory(kRow0, 0x05));
        QVERIFY(bench.started());
        bench.image().takeSnapshot();
        bench.messages().answer({QMessageBox::Cancel});
        pressStart();
        bench.frame().runCommand(cmd::kWriteToRadio);
        const QStringList shown = bench.messages().texts();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], textOf(texts::kCommFailed));
        QCOMPARE(shown[1], bench.ctx().text("link.partial_write"));
        QVERIFY(!shown[1].isEmpty());
        QVERIFY(!bench.radio->inProgramMode());
    }

    void failedReadPutsTheDataBack_data() {
        QTest::addColumn<int>("faultBlock");
        QTest::addColumn<bool>("cancelInDialog");
        QTest::newRow("block fails, Cancel at Retry") << 0x51 << false;
        QTest::newRow("Cancel before the start") << -1 << true;
    }
    void failedReadPutsTheDataBack() {
        QFETCH(int, faultBlock);
        QFETCH(bool, cancelInDialog);
        sim::SimConfig config = radioConfig(kOtherModel);
        config.faults.silentBlock = faultBlock;
        config.faults.silentTimes = 1000;
        LinkBench bench(config, radioMemory(kOtherModel, 0x33));
        QVERIFY(bench.started());
        CDataImage& image = bench.image();
        image.setU8(0x6205, 0x42); // unsaved change
        emit bench.ctx().dataChanged();
        const std::vector<uint8_t> before(image.bytes().begin(), image.bytes().end());
        const auto snapshot = image.snapshot();
        const QString title = bench.frame().windowTitle();
        // Keep the unsaved data (No at the save prompt), then Cancel at Retry.
        bench.messages().answer({QMessageBox::No, QMessageBox::Cancel});

        if (cancelInDialog)
            onDialog<CTransferDlg>([](CTransferDlg* dlg) { dlg->cancelButton()->click(); });
        else
            pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);

        QVERIFY(std::equal(before.begin(), before.end(), image.bytes().begin()));
        QVERIFY(image.snapshot() == snapshot);
        QVERIFY(image.isModified());
        QCOMPARE(bench.frame().windowTitle(), title);
        QVERIFY(!bench.radio->inProgramMode());
        QVERIFY(!bench.service->link().isOpen());
        if (!cancelInDialog) QVERIFY(bench.messages().texts().contains(textOf(texts::kCommFailed)));
        else QCOMPARE(bench.radio->commandCount(), 0);
    }

    void cancelAtTheSavePromptReadsNothing() {
        LinkBench bench(radioConfig(kOtherModel), radioMemory(kOtherModel, 0x10));
        QVERIFY(bench.started());
        bench.image().setU8(0x6205, 0x42);
        bench.messages().answer({QMessageBox::Cancel});
        bool missed = false;
        onDialog<CTransferDlg>([](CTransferDlg* dlg) { dlg->reject(); }, &missed);
        bench.frame().runCommand(cmd::kReadFromRadio);
        QVERIFY(missed); // the transfer dialog never opened
        QCOMPARE(bench.radio->commandCount(), 0);
        QCOMPARE(bench.image().u8(0x6205), uint8_t{0x42});
    }

    void passwordIsAskedAndAWrongOneIsRefused() {
        const sim::Memory memory = radioMemory(kRow0, 0x44);
        LinkBench bench(radioConfig(kRow0), memory);
        QVERIFY(bench.started());
        bench.radio->setDataPassword("123456");
        QStringList typed{"111111", "123456"};
        std::function<void(CPasswordDlg*)> enter = [&](CPasswordDlg* dlg) {
            QCOMPARE(dlg->windowTitle(), textOf(482));
            screenshot(dlg, QStringLiteral("link_password"));
            QTest::keyClicks(dlg->edit(), typed.takeFirst() + "x"); // letters are refused
            if (!typed.isEmpty()) onDialog<CPasswordDlg>(enter);
            QTest::keyClick(dlg->edit(), Qt::Key_Return);
        };
        onDialog<CPasswordDlg>(enter);
        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);
        QCOMPARE(bench.messages().texts(),
                 (QStringList{textOf(texts::kPasswordRejected), textOf(texts::kReadDone)}));
        QVERIFY(typed.isEmpty());
        QVERIFY(sameBlock(bench.image(), memory, 0x62));
    }

    void threeWrongPasswordsEndTheRead() {
        LinkBench bench(radioConfig(kRow0), radioMemory(kRow0, 0x44));
        QVERIFY(bench.started());
        bench.radio->setDataPassword("123456");
        const std::vector<uint8_t> before(bench.image().bytes().begin(), bench.image().bytes().end());
        int shown = 0;
        std::function<void(CPasswordDlg*)> enter = [&](CPasswordDlg* dlg) {
            ++shown;
            QTest::keyClicks(dlg->edit(), "999999");
            if (shown < 3) onDialog<CPasswordDlg>(enter);
            dlg->okButton()->click();
        };
        onDialog<CPasswordDlg>(enter);
        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);
        QCOMPARE(shown, 3);
        QCOMPARE(bench.messages().texts().count(textOf(texts::kPasswordRejected)), 3);
        QVERIFY(!bench.messages().texts().contains(textOf(texts::kReadDone)));
        QCOMPARE(bench.radio->blocksRead(), 0);
        QVERIFY(std::equal(before.begin(), before.end(), bench.image().bytes().begin()));
    }
};

QTEST_MAIN(LinkTransferTest)
#include "link_transfer_test.moc"
